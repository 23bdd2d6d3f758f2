#include "data/dm.h"
#include "data/dm2.h"

#include "data/catalogo.h"
#include "data/conexao.h"
#include "data/suitememoria.h"
#include "rules/normalizacao.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "settings/settings.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <cstdio>
#include <optional>
#include <random>
#include <thread>
#include <utility>
#include "platform/text.h"

using namespace plataforma::literais;

namespace dados {

Cadeia::Cadeia(const std::string& nome, const std::string& nomeCds, fb::Conexao* conexao,
               const std::string& tabela, ModoAtualizacao modo, const std::string& sql,
               const std::vector<DefCampo>* campos, bool comDataSource, Provedor* deFora)
    : sqlds{"SQLDS_" + nome, conexao, sql, {}},
      dsp("DSP_" + nome, &sqlds, tabela, modo),
      cds(nomeCds, deFora ? deFora : &dsp) {
    if (campos) cds.defineCampos(*campos);
    if (comDataSource) ds = std::make_unique<DataSource>("DS_" + nomeCds, &cds);
}

std::string mensagemGravacaoRecusada(const std::string& mensagemBanco) {
    return "Não foi possível gravar a alteração no banco de dados.\r\n"_w + mensagemBanco;
}

DM::DM(SuiteMemoria* memoria)
    : componen("Componen", "Componentes", &sqlcon1, "COMPONEN", ModoAtualizacao::SomenteChave,
               sqlComponentes(), &camposComponen(), true, memoria ? &memoria->componen : nullptr),
      compNome("CompNome", "CompNome", &sqlcon1, "COMPONEN", ModoAtualizacao::SomenteChave,
               "", &camposCompNome(), true, memoria ? &memoria->compNome : nullptr),
      tutorial("Tutorial", "Tutorial", &SQLConnection1, "TUTORIAL", ModoAtualizacao::SomenteChave,
               "select ASSUNTO, PAGINA, TEXTO from TUTORIAL", &camposTutorial()),
      sqlDataSet1("SQLDataSet1", "CDS_SQLDataSet1", &sqlcon1, "", ModoAtualizacao::TodasColunas, "",
                  nullptr, true, memoria ? &memoria->ultimas : nullptr),
      usuarios("Usuarios", "Usuarios", &sqlcon1, "USUARIOS", ModoAtualizacao::SomenteChave, sqlUsuarios(),
               &camposUsuarios(), true, memoria ? &memoria->usuarios : nullptr),
      estacoes("Estacoes", "Estacoes", &sqlcon1, "ESTACOES", ModoAtualizacao::SomenteChave, sqlEstacoes(),
               &camposEstacoes(), false, memoria ? &memoria->estacoes : nullptr),
      memoria_(memoria) {
    // The chain names of the ad-hoc query differ from the usual prefixes.
    sqlDataSet1.sqlds.nome = "SQLDataSet1";
    SQLQuery1.conexao = &sqlcon1;
    SQLQueryTutorial.conexao = &SQLConnection1;
    SQLConnection1.defineBanco(plataforma::caminhoSuite("TUTORIAL.BD"));

    ComponentesCODIGO = Componentes.campo("CODIGO");
    ComponentesCOMPONENTE = Componentes.campo("COMPONENTE");
    ComponentesGRUPO = Componentes.campo("GRUPO");
    ComponentesUNID = Componentes.campo("UNID");
    ComponentesCUSTOUNITR = Componentes.campo("CUSTOUNITR");
    ComponentesMULTIPLICADOR = Componentes.campo("MULTIPLICADOR");
    ComponentesDIVISORUNID = Componentes.campo("DIVISORUNID");
    ComponentesPRECOR = Componentes.campo("PRECOR");
    ComponentesFATORCORRECAO = Componentes.campo("FATORCORRECAO");
    ComponentesFATORDILUICAO = Componentes.campo("FATORDILUICAO");
    ComponentesESTOQUECRITICO = Componentes.campo("ESTOQUECRITICO");
    ComponentesESTOQUEMAXIMO = Componentes.campo("ESTOQUEMAXIMO");
    ComponentesCUSTOFIXO = Componentes.campo("CUSTOFIXO");

    Componentes.BeforeInsert = [this](ClientDataSet& d) { ComponentesBeforeInsert(d); };
    Componentes.AfterInsert = [this](ClientDataSet& d) { ComponentesAfterInsert(d); };
    Componentes.BeforeEdit = [this](ClientDataSet& d) { ComponentesBeforeEdit(d); };
    Componentes.BeforePost = [this](ClientDataSet& d) { ComponentesBeforePost(d); };
    Componentes.AfterPost = [this](ClientDataSet& d) { ComponentesAfterPost(d); };
    Componentes.AfterCancel = [this](ClientDataSet& d) { ComponentesAfterCancel(d); };
    Componentes.AfterDelete = [this](ClientDataSet& d) { ComponentesAfterDelete(d); };
    Componentes.BeforeClose = [this](ClientDataSet& d) { ComponentesBeforeClose(d); };
    Componentes.OnPostError = [this](ClientDataSet& d, const std::exception& e, AcaoErroPost& a) {
        ComponentesPostError(d, e, a);
    };
    Tutorial.AfterPost = [this](ClientDataSet& d) { TutorialAfterPost(d); };
    Tutorial.AfterDelete = [this](ClientDataSet& d) { TutorialAfterDelete(d); };
}

DM::~DM() {
    // The window takes itself off as it goes, so it goes first: one still here
    // would call into this module after its end.
    if (form_) plataforma::anotaNoLog("Módulo de dados DM encerrado antes da janela que o usa."_w);
}

void DM::DataModuleCreate() {
    if (!memoria_) abreConexaoPrincipal(sqlcon1);
}

void DM::adiantaLeituras() {
    if (memoria_) return;
    try {
        Componentes.open();
        sqlcon1.preparaLeitura(kSqlCores);
    } catch (const std::exception&) {
    }
}

void DM::reabre(ClientDataSet& ds, const std::string& sql, std::vector<Valor> parametros) {
    if (!memoria_) return ds.defineComando(sql, std::move(parametros));
    ds.close();
    ds.open();
}

std::optional<DM::Usuario> DM::usuario(const std::string& chave) {
    Usuarios.open();
    std::optional<Usuario> achado;
    if (Usuarios.locate("USUARIO", chave))
        achado = Usuario{Usuarios.fieldByName("SENHA").comoTexto(), Usuarios.fieldByName("ACESSO").comoTexto()};
    Usuarios.close();
    return achado;
}

std::optional<DM::Estacao> DM::estacaoDoUsuario(const std::string& usuario, const QDateTime& agora) {
    reabre(Estacoes, sqlEstacoes());
    const Campo& doRegistro = Estacoes.fieldByName("USUARIO");
    for (Estacoes.first(); !Estacoes.eof(); Estacoes.next()) {
        if (doRegistro.nulo() || !plataforma::iguaisSemCaixaAscii(doRegistro.comoTexto(), usuario)) continue;
        const Estacao achada{Estacoes.fieldByName("ESTACAO").comoTexto(), Estacoes.fieldByName("DATBASNAM").comoTexto()};
        Estacoes.edit();
        Estacoes.fieldByName("EMUSO").defineTexto("S");
        Estacoes.fieldByName("ATCAIXA").defineTexto("Ultima atividade: " + plataforma::formataData(agora.date()) +
                                                    " " + plataforma::formataHora(agora.time()));
        Estacoes.post();
        Estacoes.close();
        return achada;
    }
    Estacoes.close();
    return std::nullopt;
}

void DM::abreTutorialSeNecessario() {
    if (!SQLConnection1.aberta()) SQLConnection1.abre();
}

void DM::fechaTutorial() {
    Tutorial.close();
    SQLQueryTutorial.close();
    SQLConnection1.fecha();
}

namespace {

// A code that is a whole number (blanks around it allowed), as a number.
std::optional<long long> codigoNumerico(const std::string& texto) {
    std::size_t a = 0, b = texto.size();
    while (a < b && texto[a] == ' ') ++a;
    while (b > a && texto[b - 1] == ' ') --b;
    if (a == b || b - a > 17) return std::nullopt;
    long long v = 0;
    for (std::size_t i = a; i < b; ++i) {
        const char c = texto[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// A description or code of nothing but blanks is as blank as an empty one.
bool emBranco(const std::string& texto) { return plataforma::apara(texto).empty(); }

std::string formataCodigo(long long numero) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%06lld", numero);
    return buffer;
}

}  // namespace

std::size_t DM::pesquisaPorDescricao(const std::string& inicio) {
    CompNome.close();
    if (const auto pesquisa = pesquisaDescricao(inicio)) {
        if (memoria_) memoria_->pesquisa(inicio);
        reabre(CompNome, pesquisa->sql, pesquisa->parametros);
    }
    if (CompNome.isEmpty()) {
        CompNome.close();
        return 0;
    }
    return static_cast<std::size_t>(CompNome.recordCount());
}

void DM::vaiParaEscolhida() {
    // A capsule no longer among the rows leaves the current one in place.
    if (CompNome.active() && !CompNome.isEmpty()) Componentes.locate("CODIGO", CompNome.fieldByName("CODIGO").valor());
}

DM::Fornecedor DM::abreUltimasCompras(const std::string& descricao) {
    // A statement that fails leaves the previous rows closed and nothing else.
    CDS_SQLDataSet1.close();
    if (memoria_) memoria_->ultimasCompras(descricao);
    reabre(CDS_SQLDataSet1, kSqlUltimasCompras, {plataforma::maiusculasAscii(descricao)});
    CDS_SQLDataSet1.last();
    CDS_SQLDataSet1.first();  // the newest purchase
    auto valor = [this](const char* campo) {
        const Campo* c = CDS_SQLDataSet1.campo(campo);
        return c ? c->comoTexto() : std::string();
    };
    return {valor("Fornecedor"), valor("TEL")};
}

std::vector<std::string> DM::cores() {
    if (memoria_) return memoria_->cores();
    SQLQuery1.close();
    SQLQuery1.sql = kSqlCores;
    SQLQuery1.parametros.clear();
    SQLQuery1.open();
    std::vector<std::string> cores;
    cores.reserve(SQLQuery1.resultado.linhas.size());
    for (const auto& linha : SQLQuery1.resultado.linhas) {
        const auto* cor = std::get_if<std::string>(&linha.at(0));
        cores.push_back(cor ? *cor : std::string());
    }
    SQLQuery1.close();
    return cores;
}

regras::EntradasPreco DM::entradasPrecoVenda() const {
    return {ComponentesCUSTOUNITR->comoReal(),
            ComponentesMULTIPLICADOR->comoReal(),
            ComponentesDIVISORUNID->comoReal(),
            ComponentesFATORCORRECAO->comoReal(),
            ComponentesFATORDILUICAO->comoReal(),
            regras::configuracaoLigada(UsarFCPrecoVenda.str()),
            regras::configuracaoLigada(UsarFatDiluicaoPreco.str())};
}

void DM::definePrecoVenda(double preco) { ComponentesPRECOR->defineValor(regras::precoNaColuna(preco)); }

std::string DM::ProximoCodigo() {
    // The greatest code that is a whole number, plus one. The maximum of the text
    // column would compare codes as text (99 above 000123) and could hand out a
    // code already in use, so every code is read and compared as a number.
    long long maior = 0;
    const auto considera = [&maior](const std::string& codigo) {
        if (const auto v = codigoNumerico(codigo); v && *v > maior) maior = *v;
    };
    if (memoria_) {
        for (const auto& codigo : memoria_->codigos()) considera(codigo);
        return formataCodigo(maior + 1);
    }
    SQLQuery1.close();
    SQLQuery1.sql = "select CODIGO from COMPONEN";
    SQLQuery1.parametros.clear();
    SQLQuery1.open();
    for (const auto& linha : SQLQuery1.resultado.linhas)
        if (const auto* texto = std::get_if<std::string>(&linha[0])) considera(*texto);
    SQLQuery1.close();
    return formataCodigo(maior + 1);
}

std::string DM::codigoAlemDe(const std::string& recusado) {
    // Past the refused code as well: a code held by another workstation's
    // unfinished transaction is not yet among the codes read.
    const std::string proximo = ProximoCodigo();
    const auto r = codigoNumerico(recusado);
    if (!r) return proximo;
    return formataCodigo(std::max(*codigoNumerico(proximo), *r + 1));
}

void DM::ComponentesBeforeInsert(ClientDataSet&) {
    if (!silencioso_ && form_) form_->registroEmEdicao(true);
}

void DM::ComponentesAfterInsert(ClientDataSet& ds) {
    if (silencioso_) return;
    ds.fieldByName("CODIGO").defineValor(ProximoCodigo());
    ds.fieldByName("GRUPO").defineValor(std::string("CAP"));
    ds.fieldByName("UNID").defineValor(std::string("un"));
    ds.fieldByName("UNID_VENDA").defineValor(std::string("un"));
    ds.fieldByName("DIVISORUNID").defineValor(Decimal{1, 0});
    ds.fieldByName("USAR_FORMPRECO").defineValor(std::string("S"));
    ds.fieldByName("FATORCORRECAO").defineValor(Decimal{1, 0});
    ds.fieldByName("FATORDILUICAO").defineValor(Decimal{1, 0});
    ds.fieldByName("DENSIDADE").defineValor(Decimal{1, 0});
    ds.fieldByName("GRUPOF").defineValor(std::string("N"));
    ds.fieldByName("USOCONTINUO").defineValor(std::string("N"));
    ds.fieldByName("USAEXCIPIENTE").defineValor(std::string("N"));
    ds.fieldByName("CONTROLADA").defineValor(std::string("Não"_w));
    if (form_) form_->registroIncluido();
}

void DM::ComponentesBeforeEdit(ClientDataSet&) {
    if (!silencioso_ && form_) form_->registroEmEdicao(false);
}

void DM::ComponentesBeforePost(ClientDataSet& ds) {
    if (silencioso_) return;
    if (form_) {
        if (!form_->gravaEditoresAntesDeGravar()) throw plataforma::Abortado();
        const std::string normalizada = regras::NormalizaDescricao(form_->textoDescricao());
        ds.fieldByName("COMPONENTE").defineValor(normalizada);
        form_->defineTextoDescricao(normalizada);
        if (emBranco(form_->textoDescricao()) || emBranco(form_->textoCodigo())) {
            plataforma::mostraMensagem("Descrição e/ou Código em branco. Cadastro será Cancelado."_w);
            ds.cancel();
            throw plataforma::Abortado();
        }
        return;
    }
    // Without a window the record's own values decide.
    const Campo& descricao = ds.fieldByName("COMPONENTE");
    if (!descricao.nulo()) ds.fieldByName("COMPONENTE").defineValor(regras::NormalizaDescricao(descricao.comoTexto()));
    if (emBranco(ds.fieldByName("COMPONENTE").comoTexto()) || emBranco(ds.fieldByName("CODIGO").comoTexto())) {
        plataforma::mostraMensagem("Descrição e/ou Código em branco. Cadastro será Cancelado."_w);
        ds.cancel();
        throw plataforma::Abortado();
    }
}

bool DM::aplicaComponentes(bool avisa) {
    // Each change goes in or not on its own, so a change the database cannot
    // take never holds back the others; each refusal is told. A new capsule
    // whose code another workstation took meanwhile (stored, or still being
    // stored) gets a later code and is applied again. Workstations inserting at
    // the same moment keep choosing the same code; a short random pause, longer
    // each round, lets one of them through at a time.
    constexpr int rodadas = 60;
    std::minstd_rand sorteio(std::random_device{}());
    const int posicao = Componentes.recNo();
    std::map<int, std::pair<std::string, std::string>> trocas;  // row: code shown, code given
    for (int rodada = 1;; ++rodada) {
        ResultadoAplicacao r;
        try {
            r = Componentes.applyUpdates(-1);
        } catch (const fb::ErroBanco& e) {
            // The server is out of reach: the changes stay in the log and go
            // with the next apply.
            if (avisa)
                plataforma::mostraMensagem(mensagemGravacaoRecusada(e.what()), plataforma::TipoMensagem::Erro);
            return false;
        }
        std::vector<const Recusa*> codigosTomados, pendentes;
        for (const Recusa& recusa : r.recusas) {
            if (recusa.violacaoChave && recusa.tipo == TipoAlteracao::Inclusao && recusa.linha >= 0 &&
                Componentes.state() == Estado::Navegando && rodada < rodadas && conflitoDeCodigo(recusa)) {
                codigosTomados.push_back(&recusa);
            } else if (recusa.inexistente && recusa.tipo == TipoAlteracao::Alteracao && recusa.linha >= 0) {
                // Nothing to store it in any more: the change goes, and the
                // re-read takes the row away.
                plataforma::mostraMensagem(mensagemGravacaoRecusada("A cápsula foi excluída em outra estação."_w),
                                           plataforma::TipoMensagem::Erro);
                Componentes.descartaAlteracao(recusa.linha);
            } else {
                pendentes.push_back(&recusa);
                trocas.erase(recusa.linha);
            }
        }
        if (codigosTomados.empty()) {
            // Told once, after the last round.
            if (avisa)
                for (const Recusa* recusa : pendentes)
                    plataforma::mostraMensagem(mensagemGravacaoRecusada(recusa->mensagem),
                                               plataforma::TipoMensagem::Erro);
            if (rodada > 1 && posicao > 0) Componentes.moveTo(posicao);
            for (const auto& [linha, codigos] : trocas)
                codigosTrocados_.push_back("O código "_w + codigos.first +
                                           " já estava em uso; a cápsula foi gravada com o código "_w +
                                           codigos.second + ".");
            return pendentes.empty();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(
            std::uniform_int_distribution<int>(0, 2 * std::min(rodada, 25))(sorteio)));
        silencioso_ = true;
        try {
            for (const Recusa* recusa : codigosTomados) {
                const auto* antigo = std::get_if<std::string>(
                    &recusa->valores.at(static_cast<std::size_t>(ComponentesCODIGO->indice())));
                const std::string novo = antigo ? codigoAlemDe(*antigo) : ProximoCodigo();
                trocas.try_emplace(recusa->linha, antigo ? *antigo : std::string(), novo).first->second.second = novo;
                Componentes.moveTo(recusa->linha + 1);
                Componentes.edit();
                ComponentesCODIGO->defineValor(novo);
                Componentes.post();
            }
        } catch (...) {
            silencioso_ = false;
            throw;
        }
        silencioso_ = false;
    }
}

bool DM::conflitoDeCodigo(const Recusa& recusa) {
    // The constraint or index the server names is the key on CODIGO alone;
    // without a name, the refused code is found stored. Any other unique
    // column (a pharmacy may keep its descriptions unique) is told as it is.
    try {
        if (!recusa.restricao.empty()) {
            const auto colunas = sqlcon1.consulta(kSqlColunasDaRestricao, {recusa.restricao, recusa.restricao}).linhas;
            return colunas.size() == 1 && colunas[0][0] == Valor(std::string("CODIGO"));
        }
        const Valor& codigo = recusa.valores.at(static_cast<std::size_t>(ComponentesCODIGO->indice()));
        if (memoria_) return !nulo(codigo) && memoria_->codigoGravado(codigo);
        return !nulo(codigo) && !sqlcon1.consulta(kSqlCodigoGravado, {codigo}).linhas.empty();
    } catch (const fb::ErroBanco&) {
        return false;  // no second try: the refusal is told
    }
}

void DM::ComponentesAfterPost(ClientDataSet& ds) {
    if (silencioso_) return;
    if (form_ && !form_->painelComponentesVisivel()) return;
    if (form_) form_->registroFechado();
    if (!ds.active()) return;
    aplicaComponentes();
    try {
        ds.refresh();
    } catch (const std::exception&) {
        // A refresh that fails after a post is ignored; the row stays as cached.
    }
    avisaCodigosTrocados();
}

void DM::avisaCodigosTrocados() {
    // Told once each, when the window already shows the code the row was stored with.
    for (const std::string& aviso : std::exchange(codigosTrocados_, {})) plataforma::mostraMensagem(aviso);
}

void DM::ComponentesAfterCancel(ClientDataSet&) {
    if (!silencioso_ && form_) form_->registroFechado();
}

void DM::ComponentesAfterDelete(ClientDataSet& ds) {
    if (silencioso_) return;
    const bool aplicado = aplicaComponentes();
    try {
        ds.refresh();
    } catch (const std::exception&) {
        // The apply's message already told why (the server out of reach): one
        // failure, one message.
        if (aplicado) throw;
    }
    avisaCodigosTrocados();
}

void DM::ComponentesBeforeClose(ClientDataSet& ds) {
    if (silencioso_) return;
    // Closing asks one question at most: why a change was not stored was told
    // when it was posted.
    bool gravado = true;
    try {
        gravado = aplicaComponentes(false);
    } catch (const std::exception&) {
        gravado = false;
    }
    try {
        ds.refresh();
    } catch (const std::exception&) {
        // Closing never fails for a refresh.
    }
    avisaCodigosTrocados();
    if (!gravado && ds.changeCount() > 0 &&
        !plataforma::perguntaSimNao("Fechar mesmo assim? A alteração não gravada será perdida."_w))
        throw plataforma::Abortado();
}

void DM::ComponentesPostError(ClientDataSet&, const std::exception& e, AcaoErroPost& acao) {
    if (!dynamic_cast<const plataforma::Abortado*>(&e)) plataforma::mostraMensagem(e.what());
    acao = AcaoErroPost::Falhar;
}

void DM::aplicaTutorial() {
    const ResultadoAplicacao r = Tutorial.applyUpdates(1);
    recusaTutorial_ = r.recusas.empty() ? std::string() : r.recusas.front().mensagem;
    Tutorial.refresh();
}

void DM::TutorialAfterPost(ClientDataSet&) { aplicaTutorial(); }
void DM::TutorialAfterDelete(ClientDataSet&) { aplicaTutorial(); }

}  // namespace dados
