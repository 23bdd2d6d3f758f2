// The client dataset: rows cached packed, the current record, the change log
// and its apply; and the data source the controls watch it through.
#include "data/campo.h"

#include "data/formato.h"
#include "platform/program.h"
#include "platform/text.h"

#include <algorithm>
#include <unordered_map>

using namespace plataforma::literais;
using plataforma::Erro;

namespace dados {

namespace {
const Valor kNulo{};
}  // namespace

enum class Situacao : unsigned char { Incluida, Alterada, Apagada };

struct ClientDataSet::Pendencia {
    Situacao situacao;
    long ordem;               // place of the change in the log
    LinhaCompacta originais;  // as read from the database; none for a new row
};

// Packs the rows of a reading as they come, in the order of the fields. With a
// fixed field list the columns are matched by name; values are brought to the
// fields' widths and scales.
class ClientDataSet::Leitura : public fb::Leitor {
public:
    // `camposDaInstrucao`: the fields are to follow the statement's columns.
    Leitura(const ClientDataSet& ds, bool camposDaInstrucao) : ds_(ds), camposDaInstrucao_(camposDaInstrucao) {}

    std::vector<DefCampo> defs;
    FormatoLinha formato;
    std::vector<Linha> linhas;

    void colunas(const std::vector<fb::Coluna>& colunas) override {
        linhas.clear();
        defs = camposDaInstrucao_ ? camposDasColunas(colunas) : ds_.defs_;
        formato = formatoDe(defs);
        const std::size_t n = defs.size();
        origem_.assign(n, 0);
        direto_ = colunas.size() == n;
        fb::Resultado nomes;  // for its lookup of a column by name
        nomes.colunas = colunas;
        for (std::size_t i = 0; i < n; ++i) {
            const int c = nomes.indice(defs[i].nome);
            if (c < 0)
                throw Erro(ds_.nome_ + ": campo '" + defs[i].nome + "' não encontrado."_w, "EDatabaseError");
            origem_[i] = static_cast<std::size_t>(c);
            direto_ = direto_ && c == static_cast<int>(i);
        }
        // Only the fields whose column can hold more than the field need a look per row.
        ajustar_.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const DefCampo& d = defs[i];
            const fb::Coluna& col = colunas[origem_[i]];
            const bool texto = d.tipo == TipoCampo::Texto && d.tamanho > 0 &&
                               (col.tipo != fb::TipoColuna::Texto || col.tamanho <= 0 || col.tamanho > d.tamanho);
            const bool decimal = d.tipo == TipoCampo::Decimal &&
                                 (col.tipo != fb::TipoColuna::Decimal || col.escala != d.escala);
            if (texto || decimal) ajustar_.push_back(i);
        }
    }

    void linha(std::vector<Valor>& lida) override {
        std::vector<Valor>* valores = &lida;
        if (!direto_) {
            ordenados_.resize(defs.size());
            for (std::size_t i = 0; i < defs.size(); ++i) ordenados_[i] = lida[origem_[i]];
            valores = &ordenados_;
        }
        for (std::size_t i : ajustar_) {
            Valor& v = (*valores)[i];
            if (auto t = std::get_if<std::string>(&v)) {
                if (t->size() > static_cast<std::size_t>(defs[i].tamanho))
                    t->resize(static_cast<std::size_t>(defs[i].tamanho));
            } else if (!nulo(v)) {
                v = ajusta(defs[i], std::move(v));
            }
        }
        linhas.push_back({LinhaCompacta(*valores, formato), nullptr});
    }

private:
    const ClientDataSet& ds_;
    bool camposDaInstrucao_;
    std::vector<std::size_t> origem_;
    std::vector<std::size_t> ajustar_;
    bool direto_ = true;
    std::vector<Valor> ordenados_;
};

ClientDataSet::ClientDataSet(std::string nome, Provedor* provider)
    : nome_(std::move(nome)), provider_(provider) {}

ClientDataSet::~ClientDataSet() = default;

void ClientDataSet::defineCampos(std::vector<DefCampo> defs) {
    if (active()) throw Erro(nome_ + ": os campos não podem mudar com o conjunto de dados aberto."_w);
    defsFixas_ = std::move(defs);
    criaCampos(defsFixas_);
}

void ClientDataSet::criaCampos(const std::vector<DefCampo>& defs) {
    defs_ = defs;
    formato_ = formatoDe(defs_);
    campos_.clear();
    campos_.reserve(defs_.size());
    for (std::size_t i = 0; i < defs_.size(); ++i)
        campos_.push_back(std::make_unique<Campo>(*this, defs_[i], static_cast<int>(i)));
    indicesChave_.clear();
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].chave) indicesChave_.push_back(static_cast<int>(i));
    if (indicesChave_.empty())
        for (std::size_t i = 0; i < defs_.size(); ++i) indicesChave_.push_back(static_cast<int>(i));
}

Campo* ClientDataSet::campo(std::string_view nome) const {
    for (const auto& c : campos_)
        if (plataforma::iguaisSemCaixaAscii(c->nome(), nome)) return c.get();
    return nullptr;
}

Campo& ClientDataSet::fieldByName(std::string_view nome) const {
    if (Campo* c = campo(nome)) return *c;
    throw Erro(nome_ + ": campo '" + std::string(nome) + "' não encontrado."_w, "EDatabaseError");
}

void ClientDataSet::exigeAberto() const {
    if (!active())
        throw Erro(nome_ + ": operação não permitida com o conjunto de dados fechado."_w,
                   "EDatabaseError");
}

bool ClientDataSet::editando() const { return estado_ == Estado::Editando || estado_ == Estado::Inserindo; }

void ClientDataSet::vaiPara(int indice) {
    atual_ = indice;
    correnteValida_ = false;
}

std::vector<ClientDataSet::Linha> ClientDataSet::le(std::vector<DefCampo>* defsLidas) const {
    Leitura leitura(*this, defsLidas && defsFixas_.empty());
    provider_->le(leitura);
    leitura.linhas.shrink_to_fit();
    if (defsLidas) *defsLidas = std::move(leitura.defs);
    return std::move(leitura.linhas);
}

void ClientDataSet::open() {
    if (active()) return;
    if (!provider_) throw Erro(nome_ + ": sem provedor de dados.", "EDatabaseError");
    if (BeforeOpen) BeforeOpen(*this);
    std::vector<DefCampo> defs;
    std::vector<Linha> lidas = le(&defs);
    // The fields follow the statement; the field objects stay when the columns do.
    if (defsFixas_.empty() && !mesmasDefinicoes(defs, defs_)) criaCampos(defs);
    linhas_ = std::move(lidas);
    apagadas_.clear();
    modificado_ = false;
    vaiPara(linhas_.empty() ? -1 : 0);
    bof_ = true;
    eof_ = linhas_.empty();
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterOpen) AfterOpen(*this);
    if (AfterScroll) AfterScroll(*this);
}

void ClientDataSet::close() {
    if (!active()) return;
    if (BeforeClose) BeforeClose(*this);
    if (!active()) return;
    std::vector<Linha>().swap(linhas_);
    apagadas_.clear();
    corrente_.clear();
    modificado_ = false;
    vaiPara(-1);
    bof_ = eof_ = true;
    defineEstado(Estado::Fechado);
    notificaRegistro();
}

void ClientDataSet::defineComando(const std::string& sql, std::vector<Valor> parametros) {
    close();
    if (!provider_ || !provider_->origem()) throw Erro(nome_ + ": sem provedor de dados.", "EDatabaseError");
    provider_->origem()->commandText = sql;
    provider_->origem()->parametros = std::move(parametros);
    open();
}

int ClientDataSet::recordCount() const { return static_cast<int>(linhas_.size()); }

int ClientDataSet::recNo() const { return atual_ + 1; }

void ClientDataSet::rolou() {
    notificaRegistro();
    if (AfterScroll) AfterScroll(*this);
}

void ClientDataSet::first() {
    exigeAberto();
    encerraEdicao();
    vaiPara(linhas_.empty() ? -1 : 0);
    bof_ = true;
    eof_ = linhas_.empty();
    rolou();
}

void ClientDataSet::last() {
    exigeAberto();
    encerraEdicao();
    vaiPara(static_cast<int>(linhas_.size()) - 1);
    eof_ = true;
    bof_ = linhas_.empty();
    rolou();
}

void ClientDataSet::next() {
    exigeAberto();
    encerraEdicao();
    if (atual_ + 1 < static_cast<int>(linhas_.size())) {
        vaiPara(atual_ + 1);
        bof_ = eof_ = false;
    } else {
        eof_ = true;
    }
    rolou();
}

void ClientDataSet::prior() {
    exigeAberto();
    encerraEdicao();
    if (atual_ > 0) {
        vaiPara(atual_ - 1);
        bof_ = eof_ = false;
    } else {
        bof_ = true;
    }
    rolou();
}

void ClientDataSet::moveTo(int numero) {
    exigeAberto();
    encerraEdicao();
    if (linhas_.empty()) return;
    vaiPara(std::clamp(numero, 1, static_cast<int>(linhas_.size())) - 1);
    bof_ = eof_ = false;
    rolou();
}

bool ClientDataSet::locate(std::string_view nomeCampo, const Valor& valor) {
    exigeAberto();
    const std::size_t c = static_cast<std::size_t>(fieldByName(nomeCampo).indice());
    const Valor procurado = valor;  // it may be a value of the current row, which the edit's end changes
    encerraEdicao();
    for (std::size_t i = 0; i < linhas_.size(); ++i) {
        if (!mesmoValor(linhas_[i].valores.valor(c, formato_), procurado)) continue;
        vaiPara(static_cast<int>(i));
        bof_ = eof_ = false;
        rolou();
        return true;
    }
    return false;
}

void ClientDataSet::encerraEdicao() {
    if (!editando()) return;
    notificaGravacao();
    if (modificado_)
        post();
    else
        cancel();
}

void ClientDataSet::comecaInclusao(std::size_t posicao) {
    exigeAberto();
    encerraEdicao();
    if (BeforeInsert) BeforeInsert(*this);
    anterior_ = atual_;
    posicao = std::min(posicao, linhas_.size());
    linhas_.insert(linhas_.begin() + static_cast<std::ptrdiff_t>(posicao), Linha{});
    buffer_.assign(defs_.size(), Valor{});
    vaiPara(static_cast<int>(posicao));
    bof_ = eof_ = false;
    modificado_ = false;
    defineEstado(Estado::Inserindo);
    notificaRegistro();
    if (AfterInsert) AfterInsert(*this);
    if (AfterScroll) AfterScroll(*this);
}

void ClientDataSet::append() { comecaInclusao(linhas_.size()); }

void ClientDataSet::insert() { comecaInclusao(atual_ < 0 ? 0 : static_cast<std::size_t>(atual_)); }

void ClientDataSet::edit() {
    exigeAberto();
    if (editando()) return;
    if (linhas_.empty()) {  // no row to change: a new one
        append();
        return;
    }
    if (BeforeEdit) BeforeEdit(*this);
    if (editando() || !active() || atual_ < 0) return;  // the handler moved on by itself
    linhas_[static_cast<std::size_t>(atual_)].valores.desempacota(buffer_, formato_);
    modificado_ = false;
    defineEstado(Estado::Editando);
    if (AfterEdit) AfterEdit(*this);
}

void ClientDataSet::validaObrigatorios() const {
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].obrigatorio && vazio(buffer_[i]))
            throw Erro("O campo '" + defs_[i].nome + "' precisa de um valor.", "EDatabaseError");
}

// Stores the row being edited or inserted and logs the change.
void ClientDataSet::grava() {
    Linha& l = linhas_[static_cast<std::size_t>(atual_)];
    correnteValida_ = false;
    if (estado_ == Estado::Inserindo) {
        l.valores = LinhaCompacta(buffer_, formato_);
        l.pendencia.reset(new Pendencia{Situacao::Incluida, ++sequencia_, {}});
        return;
    }
    const std::vector<Valor> antes = l.valores.valores(formato_);
    bool mudou = false;
    for (std::size_t i = 0; i < buffer_.size() && !mudou; ++i) mudou = !mesmoValor(buffer_[i], antes[i]);
    if (!mudou) return;
    if (!l.pendencia) l.pendencia.reset(new Pendencia{Situacao::Alterada, ++sequencia_, std::move(l.valores)});
    l.valores = LinhaCompacta(buffer_, formato_);
    if (l.pendencia->situacao == Situacao::Alterada) {
        // Changed back to what the database holds: nothing left to send.
        const std::vector<Valor> originais = l.pendencia->originais.valores(formato_);
        bool igual = true;
        for (std::size_t i = 0; i < buffer_.size() && igual; ++i) igual = mesmoValor(buffer_[i], originais[i]);
        if (igual) l.pendencia.reset();
    }
}

void ClientDataSet::post() {
    exigeAberto();
    if (!editando()) return;
    notificaGravacao();
    if (BeforePost) BeforePost(*this);
    if (!editando()) return;  // the handler cancelled: nothing to store
    try {
        validaObrigatorios();
        grava();
    } catch (const std::exception& e) {
        AcaoErroPost acao = AcaoErroPost::Falhar;
        if (OnPostError) OnPostError(*this, e, acao);
        if (acao == AcaoErroPost::Abortar) throw plataforma::Abortado();
        throw;
    }
    modificado_ = false;
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterPost) AfterPost(*this);
}

void ClientDataSet::cancel() {
    if (!editando()) return;
    if (BeforeCancel) BeforeCancel(*this);
    if (!editando()) return;
    if (estado_ == Estado::Inserindo) {
        linhas_.erase(linhas_.begin() + atual_);
        // Back to the row that was current before the insert: with the new row
        // gone it has its old index again.
        vaiPara(std::min(anterior_, static_cast<int>(linhas_.size()) - 1));
        if (atual_ < 0 && !linhas_.empty()) vaiPara(0);
    }
    modificado_ = false;
    bof_ = eof_ = linhas_.empty();
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterCancel) AfterCancel(*this);
}

void ClientDataSet::remove() {
    exigeAberto();
    if (estado_ == Estado::Inserindo) {
        cancel();
        return;
    }
    if (atual_ < 0)
        throw Erro(nome_ + ": operação não permitida com o conjunto de dados vazio."_w, "EDatabaseError");
    if (BeforeDelete) BeforeDelete(*this);
    modificado_ = false;
    Linha l = std::move(linhas_[static_cast<std::size_t>(atual_)]);
    linhas_.erase(linhas_.begin() + atual_);
    if (!l.pendencia)
        l.pendencia.reset(new Pendencia{Situacao::Apagada, 0, std::move(l.valores)});
    if (l.pendencia->situacao != Situacao::Incluida) {  // a row never sent needs no DELETE
        l.pendencia->situacao = Situacao::Apagada;
        l.pendencia->ordem = ++sequencia_;
        l.valores = {};
        apagadas_.push_back(std::move(l));
    }
    vaiPara(std::min(atual_, static_cast<int>(linhas_.size()) - 1));
    bof_ = eof_ = linhas_.empty();
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterDelete) AfterDelete(*this);
    if (AfterScroll) AfterScroll(*this);
}

int ClientDataSet::changeCount() const {
    int n = static_cast<int>(apagadas_.size());
    for (const auto& l : linhas_)
        if (l.pendencia) ++n;
    return n;
}

std::optional<TipoAlteracao> ClientDataSet::alteracaoPendente(int indice) const {
    const auto& p = linhas_.at(static_cast<std::size_t>(indice)).pendencia;
    if (!p) return std::nullopt;
    return p->situacao == Situacao::Incluida ? TipoAlteracao::Inclusao : TipoAlteracao::Alteracao;
}

void ClientDataSet::descartaAlteracao(int indice) {
    exigeAberto();
    encerraEdicao();
    Linha& l = linhas_.at(static_cast<std::size_t>(indice));
    if (!l.pendencia) return;
    if (l.pendencia->situacao == Situacao::Incluida) {
        linhas_.erase(linhas_.begin() + indice);
        vaiPara(std::min(atual_ > indice ? atual_ - 1 : atual_, static_cast<int>(linhas_.size()) - 1));
        bof_ = eof_ = linhas_.empty();
    } else {
        l.valores = std::move(l.pendencia->originais);
        l.pendencia.reset();
        correnteValida_ = false;
    }
    notificaRegistro();
}

ResultadoAplicacao ClientDataSet::applyUpdates(int maxErros) {
    exigeAberto();
    encerraEdicao();
    std::vector<Linha*> log;
    for (auto& l : linhas_)
        if (l.pendencia) log.push_back(&l);
    for (auto& l : apagadas_) log.push_back(&l);
    if (log.empty()) return {};
    std::sort(log.begin(), log.end(),
              [](const Linha* a, const Linha* b) { return a->pendencia->ordem < b->pendencia->ordem; });

    // The rows of the log unpacked, for the statements.
    std::vector<std::vector<Valor>> antigos(log.size()), novos(log.size());
    std::vector<Provedor::Alteracao> alteracoes;
    alteracoes.reserve(log.size());
    for (std::size_t k = 0; k < log.size(); ++k) {
        const Linha& l = *log[k];
        Provedor::Alteracao a{};
        a.campos = &defs_;
        switch (l.pendencia->situacao) {
        case Situacao::Incluida:
            a.tipo = TipoAlteracao::Inclusao;
            novos[k] = l.valores.valores(formato_);
            a.novos = &novos[k];
            break;
        case Situacao::Alterada:
            a.tipo = TipoAlteracao::Alteracao;
            antigos[k] = l.pendencia->originais.valores(formato_);
            novos[k] = l.valores.valores(formato_);
            a.antigos = &antigos[k];
            a.novos = &novos[k];
            a.alterados.resize(defs_.size());
            for (std::size_t i = 0; i < defs_.size(); ++i) a.alterados[i] = !mesmoValor(antigos[k][i], novos[k][i]);
            break;
        case Situacao::Apagada:
            a.tipo = TipoAlteracao::Exclusao;
            antigos[k] = l.pendencia->originais.valores(formato_);
            a.antigos = &antigos[k];
            break;
        }
        alteracoes.push_back(std::move(a));
    }

    std::vector<bool> aceitas;
    ResultadoAplicacao res = provider_->aplica(alteracoes, maxErros, aceitas);
    // Each refusal names its row, so the caller can go back to exactly that row
    // (two rows may share a code while one of them waits to be stored).
    for (Recusa& r : res.recusas) {
        const Linha* recusada = log[r.alteracao];
        if (recusada >= linhas_.data() && recusada < linhas_.data() + linhas_.size())
            r.linha = static_cast<int>(recusada - linhas_.data());
    }
    if (res.desfeita) return res;
    for (std::size_t k = 0; k < log.size(); ++k)
        if (aceitas[k]) log[k]->pendencia.reset();
    std::erase_if(apagadas_, [](const Linha& l) { return !l.pendencia; });
    return res;
}

void ClientDataSet::refresh() {
    exigeAberto();
    encerraEdicao();
    std::vector<Linha> lidas = le(nullptr);

    // The current row is found again by itself when it carries a pending change
    // (it moves over to the new rows), else by its key.
    const Linha* corrente = atual_ >= 0 ? &linhas_[static_cast<std::size_t>(atual_)] : nullptr;
    const Pendencia* correntePendente = corrente ? corrente->pendencia.get() : nullptr;
    std::vector<Valor> chaveCorrente;
    if (corrente && !correntePendente) chaveCorrente = corrente->valores.valores(formato_);
    const int posicaoAnterior = atual_;

    std::vector<Linha> antigas = std::move(linhas_);
    linhas_ = std::move(lidas);
    mesclaPendentes(antigas);

    int achada = -1;
    for (std::size_t i = 0; i < linhas_.size() && achada < 0; ++i) {
        const Linha& l = linhas_[i];
        bool mesma = false;
        if (correntePendente) {
            mesma = l.pendencia.get() == correntePendente;
        } else if (!chaveCorrente.empty()) {
            mesma = true;
            for (int k : indicesChave_)
                mesma = mesma && mesmoValor(l.valores.valor(static_cast<std::size_t>(k), formato_),
                                            chaveCorrente[static_cast<std::size_t>(k)]);
        }
        if (mesma) achada = static_cast<int>(i);
    }
    if (achada < 0) achada = std::min(std::max(posicaoAnterior, 0), static_cast<int>(linhas_.size()) - 1);
    vaiPara(achada);
    bof_ = eof_ = linhas_.empty();
    notificaRegistro();
}

// Puts the changes still to apply over freshly read rows: a modified row keeps
// the columns changed here and takes the others as read; new rows are kept;
// rows deleted here stay away.
void ClientDataSet::mesclaPendentes(std::vector<Linha>& antigas) {
    std::vector<Linha*> alteradas;
    std::vector<Linha> novas;
    for (auto& l : antigas) {
        if (!l.pendencia) continue;
        if (l.pendencia->situacao == Situacao::Alterada) alteradas.push_back(&l);
        if (l.pendencia->situacao == Situacao::Incluida) novas.push_back(std::move(l));
    }
    if (alteradas.empty() && novas.empty() && apagadas_.empty()) return;

    std::unordered_map<std::string, std::size_t> porChave;
    if (!alteradas.empty() || !apagadas_.empty()) {
        porChave.reserve(linhas_.size());
        for (std::size_t i = 0; i < linhas_.size(); ++i)
            porChave.emplace(chave(linhas_[i].valores, indicesChave_, formato_), i);
    }
    auto acha = [&](const LinhaCompacta& valores) -> std::ptrdiff_t {
        const auto it = porChave.find(chave(valores, indicesChave_, formato_));
        return it == porChave.end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
    };

    std::vector<bool> remover(linhas_.size(), false);
    for (const auto& l : apagadas_) {
        const auto i = acha(l.pendencia->originais);
        if (i >= 0) remover[static_cast<std::size_t>(i)] = true;
    }
    for (Linha* p : alteradas) {
        Linha& minha = *p;
        const auto i = acha(minha.pendencia->originais);
        if (i < 0 || remover[static_cast<std::size_t>(i)]) {
            novas.push_back(std::move(minha));  // gone from the database: the change stays to be sent
            continue;
        }
        Linha& lida = linhas_[static_cast<std::size_t>(i)];
        std::vector<Valor> valores = minha.valores.valores(formato_);
        std::vector<Valor> originais = minha.pendencia->originais.valores(formato_);
        const std::vector<Valor> deles = lida.valores.valores(formato_);
        for (std::size_t c = 0; c < valores.size(); ++c) {
            if (!mesmoValor(originais[c], valores[c])) continue;
            originais[c] = deles[c];
            valores[c] = deles[c];
        }
        minha.valores = LinhaCompacta(valores, formato_);
        minha.pendencia->originais = LinhaCompacta(originais, formato_);
        lida = std::move(minha);
    }
    if (std::find(remover.begin(), remover.end(), true) != remover.end()) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < linhas_.size(); ++i)
            if (!remover[i]) linhas_[j++] = std::move(linhas_[i]);
        linhas_.resize(j);
    }
    for (auto& l : novas) linhas_.push_back(std::move(l));
}

std::vector<Valor> ClientDataSet::linha(int indice) const {
    if (editando() && indice == atual_) return buffer_;
    return linhas_.at(static_cast<std::size_t>(indice)).valores.valores(formato_);
}

Valor ClientDataSet::valorEm(int indice, int indiceCampo) const {
    if (indiceCampo < 0 || static_cast<std::size_t>(indiceCampo) >= defs_.size()) return {};
    if (editando() && indice == atual_) return buffer_[static_cast<std::size_t>(indiceCampo)];
    return linhas_.at(static_cast<std::size_t>(indice)).valores.valor(static_cast<std::size_t>(indiceCampo), formato_);
}

const Valor& ClientDataSet::valor(int indiceCampo) const {
    if (atual_ < 0 || indiceCampo < 0 || static_cast<std::size_t>(indiceCampo) >= defs_.size()) return kNulo;
    const auto c = static_cast<std::size_t>(indiceCampo);
    if (editando()) return buffer_[c];
    if (!correnteValida_) {
        linhas_[static_cast<std::size_t>(atual_)].valores.desempacota(corrente_, formato_);
        correnteValida_ = true;
    }
    return corrente_[c];
}

void ClientDataSet::defineValorCampo(int indice, Valor v) {
    if (!editando())
        throw Erro(nome_ + ": o conjunto de dados não está em edição nem em inclusão."_w,
                   "EDatabaseError");
    const auto i = static_cast<std::size_t>(indice);
    buffer_[i] = ajusta(defs_[i], std::move(v));
    modificado_ = true;
    const Campo& c = *campos_[i];
    for (Observador* o : std::vector<Observador*>(observadores_)) o->campoMudou(c);
}

void ClientDataSet::adicionaObservador(Observador* o) {
    if (std::find(observadores_.begin(), observadores_.end(), o) == observadores_.end()) observadores_.push_back(o);
}

void ClientDataSet::removeObservador(Observador* o) { std::erase(observadores_, o); }

// Observers may remove themselves while being told: walk a copy.
void ClientDataSet::notificaRegistro() {
    for (Observador* o : std::vector<Observador*>(observadores_)) o->registroMudou();
}

void ClientDataSet::notificaEstado() {
    for (Observador* o : std::vector<Observador*>(observadores_)) o->estadoMudou();
}

void ClientDataSet::notificaGravacao() {
    for (Observador* o : std::vector<Observador*>(observadores_)) o->gravaPendente();
}

void ClientDataSet::defineEstado(Estado e) {
    if (e == estado_) return;
    estado_ = e;
    notificaEstado();
}

// ---------------------------------------------------------------------------
// DataSource

DataSource::DataSource(std::string nome, ClientDataSet* ds, QObject* parent)
    : QObject(parent), nome_(std::move(nome)), ds_(ds) {
    if (ds_) ds_->adicionaObservador(this);
}

DataSource::~DataSource() {
    if (ds_) ds_->removeObservador(this);
}

}  // namespace dados
