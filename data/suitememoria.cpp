#include "data/suitememoria.h"

#include "data/catalogo.h"
#include "platform/text.h"
#include "rules/pesquisa.h"

#include <algorithm>

namespace dados {

namespace {

std::vector<DefCampo> colunasCompras() {
    const auto texto = [](const char* nome, int n) { return DefCampo{nome, TipoCampo::Texto, n, 0, false, false, {}}; };
    return {texto("Loja", 20), texto("Nota Fiscal", 10), texto("Fornecedor", 40), texto("TEL", 20),
            {"Data", TipoCampo::DataHora, 0, 0, false, false, {}},
            {"Qde", TipoCampo::Decimal, 15, 3, false, false, {}},
            texto("Unid", 4), texto("Preco Unit", 15), texto("Total", 15)};
}

std::size_t coluna(const fb::Resultado& r, const char* nome) { return static_cast<std::size_t>(r.indice(nome)); }

const std::string* texto(const std::vector<Valor>& linha, std::size_t c) { return std::get_if<std::string>(&linha[c]); }

}  // namespace

bool casaPadrao(std::string_view texto, std::string_view padrao) {
    // Greedy, going back only to the last '%': linear in practice, never exponential.
    std::size_t t = 0, p = 0, estrela = std::string_view::npos, desde = 0;
    while (t < texto.size()) {
        if (p < padrao.size() && padrao[p] == '%') {
            estrela = p++;
            desde = t;
        } else if (p < padrao.size() && (padrao[p] == '_' || padrao[p] == texto[t])) {
            ++p;
            ++t;
        } else if (estrela != std::string_view::npos) {
            p = estrela + 1;
            t = ++desde;
        } else {
            return false;
        }
    }
    while (p < padrao.size() && padrao[p] == '%') ++p;
    return p == padrao.size();
}

SuiteMemoria::SuiteMemoria()
    : componen("DSP_Componen", camposComponen()),
      usuarios("DSP_Usuarios", camposUsuarios()),
      estacoes("DSP_Estacoes", camposEstacoes()),
      compNome("DSP_CompNome", camposCompNome()),
      ultimas("DSP_SQLDataSet1", colunasCompras(), ModoAtualizacao::TodasColunas) {
    const auto grupo = coluna(componen.tabela, "GRUPO");
    componen.filtro = [grupo](const std::vector<Valor>& l) {
        const auto* g = texto(l, grupo);
        return g && *g == "CAP";
    };
    componen.ordem = componen.tabela.indice("COMPONENTE");
    usuarios.ordem = usuarios.tabela.indice("USUARIO");
    estacoes.ordem = estacoes.tabela.indice("ESTACAO");
}

void SuiteMemoria::defineIndisponivel(const std::string& mensagem) {
    for (auto* p : {&componen, &usuarios, &estacoes, &compNome, &ultimas}) p->indisponivel = mensagem;
}

void SuiteMemoria::verificaAlcance() const {
    if (!componen.indisponivel.empty()) throw fb::ErroBanco(componen.indisponivel, -902, 0);
}

void SuiteMemoria::pesquisa(const std::string& texto) {
    verificaAlcance();
    const auto& t = componen.tabela;
    const auto descricao = coluna(t, "COMPONENTE"), grupo = coluna(t, "GRUPO");
    const std::string prefixo = regras::prefixoPesquisa(texto), padrao = regras::padraoPesquisa(texto);
    std::vector<const std::vector<Valor>*> achadas;
    for (const auto& l : t.linhas) {
        const auto* d = dados::texto(l, descricao);
        const auto* g = dados::texto(l, grupo);
        if (d && g && *g == "CAP" && d->rfind(prefixo, 0) == 0 && casaPadrao(*d, padrao)) achadas.push_back(&l);
    }
    std::stable_sort(achadas.begin(), achadas.end(), [descricao](const auto* a, const auto* b) {
        return *dados::texto(*a, descricao) < *dados::texto(*b, descricao);
    });
    compNome.tabela.linhas.clear();
    for (const auto* l : achadas) {
        std::vector<Valor> linha;
        for (const auto& c : compNome.tabela.colunas) linha.push_back((*l)[coluna(t, c.nome.c_str())]);
        compNome.tabela.linhas.push_back(std::move(linha));
    }
}

void SuiteMemoria::ultimasCompras(const std::string& descricao) {
    verificaAlcance();
    const std::string procurada = plataforma::maiusculasAscii(descricao);
    const auto data = coluna(ultimas.tabela, "Data");
    ultimas.tabela.linhas.clear();
    for (const auto& c : compras)
        if (plataforma::maiusculasAscii(c.componente) == procurada) ultimas.tabela.linhas.push_back(c.linha);
    std::stable_sort(ultimas.tabela.linhas.begin(), ultimas.tabela.linhas.end(), [data](const auto& a, const auto& b) {
        const auto* x = std::get_if<QDateTime>(&a[data]);
        const auto* y = std::get_if<QDateTime>(&b[data]);
        return x && (!y || *x > *y);
    });
}

std::vector<std::string> SuiteMemoria::cores() const {
    verificaAlcance();
    auto cores = corcap;
    std::stable_sort(cores.begin(), cores.end());
    return cores;
}

std::vector<std::string> SuiteMemoria::codigos() const {
    verificaAlcance();
    std::vector<std::string> codigos;
    const auto c = coluna(componen.tabela, "CODIGO");
    for (const auto& l : componen.tabela.linhas)
        if (const auto* t = texto(l, c)) codigos.push_back(*t);
    return codigos;
}

bool SuiteMemoria::codigoGravado(const Valor& codigo) const {
    const auto c = coluna(componen.tabela, "CODIGO");
    return std::any_of(componen.tabela.linhas.begin(), componen.tabela.linhas.end(),
                       [&](const auto& l) { return mesmoValor(l[c], codigo); });
}

}  // namespace dados
