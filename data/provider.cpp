// The provider: what a dataset reads, and its logged changes turned into the
// statements that apply them in one transaction.
#include "data/dataset.h"

#include "platform/program.h"
#include "platform/text.h"

#include <algorithm>

using namespace plataforma::literais;
using plataforma::Erro;

namespace dados {

namespace {

// Plain upper-case names go as they are; anything else (an alias with a blank,
// a lower-case name) is quoted.
std::string identificador(const std::string& nome) {
    bool simples = !nome.empty() && nome[0] >= 'A' && nome[0] <= 'Z';
    for (char c : nome)
        simples = simples && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$');
    if (simples) return nome;
    std::string r = "\"";
    for (char c : nome) {
        if (c == '"') r.push_back('"');
        r.push_back(c);
    }
    return r + "\"";
}

struct Comando {
    std::string sql;
    std::vector<Valor> parametros;
};

// " WHERE A = ? AND B IS NULL" over the given fields' old values.
void condicao(Comando& c, const std::vector<DefCampo>& campos, const std::vector<Valor>& antigos,
              const std::vector<int>& indices) {
    c.sql += " WHERE ";
    bool primeiro = true;
    for (int i : indices) {
        const auto u = static_cast<std::size_t>(i);
        if (!primeiro) c.sql += " AND ";
        primeiro = false;
        c.sql += identificador(campos[u].nome);
        if (nulo(antigos[u])) {
            c.sql += " IS NULL";
        } else {
            c.sql += " = ?";
            c.parametros.push_back(antigos[u]);
        }
    }
}

std::vector<int> camposLocalizadores(const std::vector<DefCampo>& campos, ModoAtualizacao modo) {
    std::vector<int> r;
    if (modo == ModoAtualizacao::SomenteChave)
        for (std::size_t i = 0; i < campos.size(); ++i)
            if (campos[i].chave) r.push_back(static_cast<int>(i));
    if (r.empty())  // all columns, or no key to go by: every comparable column
        for (std::size_t i = 0; i < campos.size(); ++i)
            if (campos[i].tipo != TipoCampo::Blob) r.push_back(static_cast<int>(i));
    return r;
}

std::vector<int> camposChave(const std::vector<DefCampo>& campos) {
    std::vector<int> r;
    for (std::size_t i = 0; i < campos.size(); ++i)
        if (campos[i].chave) r.push_back(static_cast<int>(i));
    return r;
}

Comando monta(const Provedor::Alteracao& a, const std::string& tabela, const std::vector<int>& localizadores) {
    const auto& campos = *a.campos;
    Comando c;
    switch (a.tipo) {
    case TipoAlteracao::Inclusao: {
        std::string nomes, marcas;
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (i > 0) {
                nomes += ", ";
                marcas += ", ";
            }
            nomes += identificador(campos[i].nome);
            marcas += "?";
            c.parametros.push_back((*a.novos)[i]);
        }
        c.sql = "INSERT INTO " + tabela + " (" + nomes + ") VALUES (" + marcas + ")";
        break;
    }
    case TipoAlteracao::Alteracao: {
        std::string atribuicoes;
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (i >= a.alterados.size() || !a.alterados[i]) continue;
            if (!atribuicoes.empty()) atribuicoes += ", ";
            atribuicoes += identificador(campos[i].nome) + " = ?";
            c.parametros.push_back((*a.novos)[i]);
        }
        c.sql = "UPDATE " + tabela + " SET " + atribuicoes;
        condicao(c, campos, *a.antigos, localizadores);
        break;
    }
    case TipoAlteracao::Exclusao:
        c.sql = "DELETE FROM " + tabela;
        condicao(c, campos, *a.antigos, localizadores);
        break;
    }
    return c;
}

// One apply's transaction on the database.
class GravacaoBanco : public Provedor::Gravacao {
public:
    GravacaoBanco(fb::Conexao& conexao, const std::string& tabela)
        : tx_(conexao.iniciaTransacao()), tabela_(identificador(tabela)) {}
    long grava(const Provedor::Alteracao& a, const std::vector<int>& localizadores) override {
        // One request each: at a branch every request is a round trip.
        const Comando c = monta(a, tabela_, localizadores);
        return tx_->alteraLinha(c.sql, c.parametros, a.tipo != TipoAlteracao::Inclusao);
    }
    bool existe(const Provedor::Alteracao& a, const std::vector<int>& campos) override {
        Comando c;
        c.sql = "SELECT 1 FROM " + tabela_;
        condicao(c, *a.campos, *a.antigos, campos);
        return !tx_->consulta(c.sql, c.parametros).linhas.empty();
    }
    void confirma() override { tx_->confirma(); }
    void desfaz() override { tx_->desfaz(); }

private:
    std::unique_ptr<fb::Transacao> tx_;
    std::string tabela_;
};

}  // namespace

Provedor::Provedor(std::string nome, ModoAtualizacao modo) : nome_(std::move(nome)), modo_(modo) {}

Provedor::~Provedor() = default;

ResultadoAplicacao Provedor::aplica(const std::vector<Alteracao>& alteracoes, int maxErros,
                                    std::vector<bool>& aceitas) {
    aceitas.assign(alteracoes.size(), false);
    ResultadoAplicacao res;
    if (alteracoes.empty()) return res;

    std::vector<bool> ok(alteracoes.size(), false);
    const auto gravacao = iniciaGravacao();
    for (std::size_t i = 0; i < alteracoes.size(); ++i) {
        const Alteracao& a = alteracoes[i];
        if (a.tipo == TipoAlteracao::Alteracao && std::find(a.alterados.begin(), a.alterados.end(), true) == a.alterados.end()) {
            ok[i] = true;  // nothing changed here: nothing to send
            continue;
        }
        Recusa recusa{a.tipo, {}, {}, 0, 0, false, false, i, -1, {}};
        try {
            const std::vector<int> localizadores = camposLocalizadores(*a.campos, modo_);
            if (gravacao->grava(a, localizadores) > 0 || a.tipo == TipoAlteracao::Inclusao) {
                ok[i] = true;
                continue;
            }
            // Nothing found by the old values: changed by another user, or gone.
            // Found by its key alone, it was changed; without a key nobody can tell.
            const std::vector<int> chave = camposChave(*a.campos);
            recusa.inexistente = !chave.empty() && (chave == localizadores || !gravacao->existe(a, chave));
            if (recusa.inexistente && a.tipo == TipoAlteracao::Exclusao) {
                ok[i] = true;
                continue;
            }
            recusa.mensagem = "Registro não encontrado ou alterado por outro usuário."_w;
        } catch (const fb::ErroBanco& e) {
            // A lost connection is no refusal of this row: the whole apply fails.
            if (e.conexaoPerdida()) throw;
            recusa.mensagem = e.what();
            recusa.sqlcode = e.sqlcode();
            recusa.gdscode = e.gdscode();
            recusa.violacaoChave = e.violacaoChave();
            recusa.restricao = e.restricao();
        }
        recusa.valores = a.novos ? *a.novos : *a.antigos;
        res.recusas.push_back(std::move(recusa));
        if (maxErros >= 0 && static_cast<int>(res.recusas.size()) > maxErros) {
            gravacao->desfaz();
            res.desfeita = true;
            return res;
        }
    }
    gravacao->confirma();
    aceitas = std::move(ok);
    res.aplicadas = static_cast<int>(std::count(aceitas.begin(), aceitas.end(), true));
    return res;
}

Provider::Provider(std::string nome, SQLDataSet* origem, std::string tabela, ModoAtualizacao modo)
    : Provedor(std::move(nome), modo), origem_(origem), tabela_(std::move(tabela)) {}

fb::Conexao& Provider::conexao() const {
    if (!origem_ || !origem_->conexao)
        throw Erro(nome() + ": sem conexão com o banco de dados."_w, "EDatabaseError");
    return *origem_->conexao;
}

void Provider::le(fb::Leitor& leitor) const {
    conexao().le(origem_->commandText, origem_->parametros, leitor);
}

std::unique_ptr<Provedor::Gravacao> Provider::iniciaGravacao() {
    fb::Conexao& c = conexao();
    if (tabela_.empty()) throw Erro(nome() + ": não há tabela para gravar as alterações."_w);
    return std::make_unique<GravacaoBanco>(c, tabela_);
}
}  // namespace dados
