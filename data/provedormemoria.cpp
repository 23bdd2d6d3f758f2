#include "data/provedormemoria.h"

#include <algorithm>

namespace dados {

namespace {

fb::TipoColuna tipoDaColuna(TipoCampo t) {
    switch (t) {
    case TipoCampo::Texto: return fb::TipoColuna::Texto;
    case TipoCampo::Inteiro: return fb::TipoColuna::Inteiro;
    case TipoCampo::Decimal: return fb::TipoColuna::Decimal;
    case TipoCampo::Real: return fb::TipoColuna::Real;
    case TipoCampo::DataHora: return fb::TipoColuna::DataHora;
    case TipoCampo::Blob: return fb::TipoColuna::Blob;
    }
    return fb::TipoColuna::Texto;
}

}  // namespace

class ProvedorMemoria::GravacaoMemoria : public Provedor::Gravacao {
public:
    explicit GravacaoMemoria(ProvedorMemoria& p) : p_(p), antes_(p.tabela.linhas) {}

    long grava(const Alteracao& a, const std::vector<int>& localizadores) override {
        auto& linhas = p_.tabela.linhas;
        if (a.tipo == TipoAlteracao::Inclusao) {
            std::vector<Valor> nova(p_.tabela.colunas.size());
            for (std::size_t c = 0; c < a.campos->size(); ++c)
                if (const int i = p_.tabela.indice((*a.campos)[c].nome); i >= 0)
                    nova[static_cast<std::size_t>(i)] = (*a.novos)[c];
            for (const auto& l : linhas) {
                bool tomada = !p_.chave_.empty();
                for (std::size_t k : p_.chave_) tomada = tomada && mesmoValor(l[k], nova[k]);
                if (tomada) throw fb::ErroBanco("violation of PRIMARY or UNIQUE KEY constraint", -803, 0);
            }
            linhas.push_back(std::move(nova));
            return 1;
        }
        long afetadas = 0;
        for (std::size_t r = 0; r < linhas.size();) {
            if (!encontra(linhas[r], a, localizadores)) {
                ++r;
                continue;
            }
            ++afetadas;
            if (a.tipo == TipoAlteracao::Exclusao) {
                linhas.erase(linhas.begin() + static_cast<std::ptrdiff_t>(r));
                continue;
            }
            for (std::size_t c = 0; c < a.campos->size(); ++c)
                if (a.alterados[c]) linhas[r][coluna(a, c)] = (*a.novos)[c];
            ++r;
        }
        return afetadas;
    }
    bool existe(const Alteracao& a, const std::vector<int>& campos) override {
        for (const auto& l : p_.tabela.linhas)
            if (encontra(l, a, campos)) return true;
        return false;
    }
    void confirma() override {}
    void desfaz() override { p_.tabela.linhas = std::move(antes_); }

private:
    std::size_t coluna(const Alteracao& a, std::size_t campo) const {
        return static_cast<std::size_t>(p_.tabela.indice((*a.campos)[campo].nome));
    }
    // The row holds the old values of these fields (a null matching a null, as IS NULL does).
    bool encontra(const std::vector<Valor>& linha, const Alteracao& a, const std::vector<int>& campos) const {
        for (int c : campos) {
            const auto u = static_cast<std::size_t>(c);
            if (!mesmoValor(linha[coluna(a, u)], (*a.antigos)[u])) return false;
        }
        return true;
    }

    ProvedorMemoria& p_;
    std::vector<std::vector<Valor>> antes_;
};

ProvedorMemoria::ProvedorMemoria(std::string nome, const std::vector<DefCampo>& colunas, ModoAtualizacao modo)
    : Provedor(std::move(nome), modo) {
    for (const DefCampo& d : colunas) {
        fb::Coluna c;
        c.nome = d.nome;
        c.tipo = tipoDaColuna(d.tipo);
        c.tamanho = d.tipo == TipoCampo::Texto ? d.tamanho : 0;
        c.escala = d.escala;
        if (d.chave) chave_.push_back(tabela.colunas.size());
        tabela.colunas.push_back(std::move(c));
    }
}

void ProvedorMemoria::le(fb::Leitor& leitor) const {
    if (!indisponivel.empty()) throw fb::ErroBanco(indisponivel, -902, 0);
    std::vector<const std::vector<Valor>*> lidas;
    for (const auto& l : tabela.linhas)
        if (!filtro || filtro(l)) lidas.push_back(&l);
    if (ordem >= 0) {
        const auto o = static_cast<std::size_t>(ordem);
        // Text by its bytes, as the suite's character set orders it; nulls first.
        std::stable_sort(lidas.begin(), lidas.end(), [o](const auto* a, const auto* b) {
            const auto* x = std::get_if<std::string>(&(*a)[o]);
            const auto* y = std::get_if<std::string>(&(*b)[o]);
            return y && (!x || *x < *y);
        });
    }
    leitor.colunas(tabela.colunas);
    for (const auto* l : lidas) {
        std::vector<Valor> valores = *l;
        leitor.linha(valores);
    }
}

std::unique_ptr<Provedor::Gravacao> ProvedorMemoria::iniciaGravacao() {
    if (!indisponivel.empty()) throw fb::ErroBanco(indisponivel, -902, 0);
    return std::make_unique<GravacaoMemoria>(*this);
}

}  // namespace dados
