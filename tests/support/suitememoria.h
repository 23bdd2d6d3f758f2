#pragma once
// The demo suite in memory: db/demo.sql's rows of the tables the window reads,
// taken from its INSERT statements into the columns' types, for the window
// tests that need no server.
#include "data/suitememoria.h"
#include "support/dbtest.h"

#include "platform/text.h"

#include <QDateTime>
#include <algorithm>
#include <cctype>
#include <map>

namespace memoriateste {

// One literal of an INSERT: 'text' ('' a quote), _win1252 x'HEX', NULL or a number.
inline regras::Valor literal(std::string s, const dados::fb::Coluna& coluna) {
    using dados::fb::TipoColuna;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.erase(0, 1);
    if (s == "NULL" || s == "null") return {};
    std::string texto;
    if (const auto x = s.find("x'"); s.rfind("_win1252", 0) == 0 && x != std::string::npos) {
        for (std::size_t i = x + 2; i + 1 < s.size() && s[i] != '\''; i += 2)
            texto += static_cast<char>(std::stoi(s.substr(i, 2), nullptr, 16));
    } else if (s.front() == '\'') {
        for (std::size_t i = 1; i + 1 < s.size(); ++i) {
            texto += s[i];
            if (s[i] == '\'') ++i;
        }
    } else {
        texto = s;
    }
    switch (coluna.tipo) {
    case TipoColuna::Inteiro: return static_cast<std::int64_t>(std::stoll(texto));
    case TipoColuna::Decimal: return regras::Decimal::deTexto(texto, '.', coluna.escala).value();
    case TipoColuna::Real: return std::stod(texto);
    case TipoColuna::DataHora: {
        const auto t = QDateTime::fromString(QString::fromLatin1(texto.c_str()), Qt::ISODate);
        return regras::dataHora(t.date(), t.time());  // as the database's dates are read
    }
    default: return texto;
    }
}

// The values of "(a, 'b, c', d)" split at the commas outside quotes.
inline std::vector<std::string> partes(const std::string& lista) {
    std::vector<std::string> r(1);
    bool aspas = false;
    for (char c : lista.substr(1, lista.rfind(')') - 1)) {
        if (c == '\'') aspas = !aspas;
        if (c == ',' && !aspas) r.emplace_back();
        else r.back() += c;
    }
    return r;
}

inline void insere(dados::ProvedorMemoria& p, const std::vector<std::string>& colunas,
                   const std::vector<std::string>& valores) {
    std::vector<regras::Valor> linha(p.tabela.colunas.size());
    for (std::size_t i = 0; i < colunas.size(); ++i) {
        const int c = p.tabela.indice(colunas[i]);
        if (c < 0) throw std::runtime_error("no column " + colunas[i] + " in " + p.nome());
        linha[static_cast<std::size_t>(c)] = literal(valores[i], p.tabela.colunas[static_cast<std::size_t>(c)]);
    }
    p.tabela.linhas.push_back(std::move(linha));
}

// A row of a table the window reads only through a join, by column name.
using Linha = std::map<std::string, regras::Valor>;

inline Linha linhaLivre(const std::vector<std::string>& colunas, const std::vector<std::string>& valores,
                        const std::map<std::string, dados::fb::Coluna>& tipos) {
    Linha l;
    for (std::size_t i = 0; i < colunas.size(); ++i) {
        const auto t = tipos.find(colunas[i]);
        l[colunas[i]] = literal(valores[i], t == tipos.end() ? dados::fb::Coluna{} : t->second);
    }
    return l;
}

// The purchases with an invoice as the last-purchases statement lists them.
inline void juntaCompras(dados::SuiteMemoria& suite, const std::vector<Linha>& compras,
                         const std::vector<Linha>& notas, const std::vector<Linha>& fornecedores) {
    using regras::Valor;
    const auto texto = [](const Valor& v) { return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : ""; };
    const auto dois = [](const Valor& v) {
        return Valor(std::get<regras::Decimal>(v).naEscala(2).comoTexto());
    };
    for (auto c : compras) {
        const bool comNota = std::any_of(notas.begin(), notas.end(), [&](const Linha& n) {
            return n.at("DATA") == c["DATA"] && n.at("NOTAFISCAL") == c["NOTAFISCAL"] && n.at("FORNECEDOR") == c["FORNECEDOR"];
        });
        if (!comNota) continue;
        Valor tel;
        for (const auto& f : fornecedores)
            if (plataforma::maiusculasAscii(texto(f.at("NOMEFANTASIA"))) == plataforma::maiusculasAscii(texto(c["FORNECEDOR"]))) {
                tel = f.at("TEL");
                break;
            }
        suite.compras.push_back({texto(c["COMPONENTE"]),
                                 {c["LABORATORIO"], c["NOTAFISCAL"], c["FORNECEDOR"], tel, c["DATA"], c["QUANTIDADE"],
                                  c["UNIDADE"], dois(c["PRECOUNITR"]), dois(c["SALDO"])}});
    }
}

inline void carregaDemo(dados::SuiteMemoria& suite) {
    using dados::fb::TipoColuna;
    const auto decimal = [](int escala) { return dados::fb::Coluna{{}, {}, TipoColuna::Decimal, 0, escala}; };
    const std::map<std::string, dados::fb::Coluna> tipos = {
        {"DATA", {{}, {}, TipoColuna::DataHora}}, {"QUANTIDADE", decimal(3)}, {"PRECOUNITR", decimal(4)},
        {"SALDO", decimal(2)}};
    std::vector<Linha> compras, notas, fornecedores;
    std::ifstream in(dbteste::caminhoProjeto("db/demo.sql"), std::ios::binary);
    const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const auto& s : dbteste::instrucoesScript(script)) {
        if (s.rfind("INSERT INTO ", 0) != 0) continue;
        const auto abre = s.find('('), valores = s.find(" VALUES ");
        const std::string tabela = s.substr(12, abre - 13);
        auto colunas = partes(s.substr(abre, valores - abre));
        for (auto& c : colunas) c.erase(std::remove(c.begin(), c.end(), ' '), c.end());
        const auto vs = partes(s.substr(valores + 8));
        if (tabela == "CORCAP") suite.corcap.push_back(std::get<std::string>(literal(vs.at(0), {})));
        else if (tabela == "COMPONEN") insere(suite.componen, colunas, vs);
        else if (tabela == "USUARIOS") insere(suite.usuarios, colunas, vs);
        else if (tabela == "ESTACOES") insere(suite.estacoes, colunas, vs);
        else if (tabela == "COMPRAS") compras.push_back(linhaLivre(colunas, vs, tipos));
        else if (tabela == "NFISCAL") notas.push_back(linhaLivre(colunas, vs, tipos));
        else if (tabela == "FORNECED") fornecedores.push_back(linhaLivre(colunas, vs, tipos));
    }
    juntaCompras(suite, compras, notas, fornecedores);
}

}  // namespace memoriateste
