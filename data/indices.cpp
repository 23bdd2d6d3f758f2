#include "data/indices.h"

#include "data/indices_sql.h"
#include "platform/text.h"

#include <cctype>

namespace dados {
namespace {

std::string apara(const std::string& t) {
    const auto a = t.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    return t.substr(a, t.find_last_not_of(" \t\r\n") - a + 1);
}

// An expression as the server keeps it compared with one as written: capitals,
// no blanks, without the parentheses around the whole.
std::string formaExpressao(const std::string& e) {
    std::string r;
    for (char c : plataforma::maiusculasAscii(e))
        if (!std::isspace(static_cast<unsigned char>(c))) r += c;
    while (r.size() >= 2 && r.front() == '(' && r.back() == ')') {
        int nivel = 0;
        bool envolve = true;  // the first '(' closes at the very end
        for (std::size_t i = 0; i + 1 < r.size() && envolve; ++i) {
            nivel += r[i] == '(' ? 1 : r[i] == ')' ? -1 : 0;
            envolve = nivel > 0;
        }
        if (!envolve) break;
        r = r.substr(1, r.size() - 2);
    }
    return r;
}

// "CREATE INDEX name ON table (a, b)" or "CREATE INDEX name ON table COMPUTED BY (expr)".
IndiceRecomendado leCriacao(const std::string& instrucao) {
    IndiceRecomendado i;
    i.criacao = instrucao + ";";
    const std::string maiusculas = plataforma::maiusculasAscii(instrucao);
    auto palavra = [&](std::size_t& pos) {
        const auto a = maiusculas.find_first_not_of(" \t\r\n", pos);
        const auto b = maiusculas.find_first_of(" \t\r\n(", a);
        pos = b;
        return maiusculas.substr(a, b - a);
    };
    std::size_t pos = maiusculas.find("INDEX") + 5;
    i.nome = palavra(pos);
    palavra(pos);  // ON
    i.tabela = palavra(pos);
    const auto abre = instrucao.find('(', pos), fecha = instrucao.rfind(')');
    const std::string dentro = instrucao.substr(abre + 1, fecha - abre - 1);
    if (maiusculas.find("COMPUTED", pos) < abre) {
        i.expressao = apara(dentro);
    } else {
        std::size_t ini = 0, fim;
        do {
            fim = dentro.find(',', ini);
            i.colunas.push_back(plataforma::maiusculasAscii(apara(dentro.substr(ini, fim - ini))));
            ini = fim + 1;
        } while (fim != std::string::npos);
    }
    return i;
}

std::vector<IndiceRecomendado> leIndices(const std::string& script) {
    std::string limpo;
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (script.compare(i, 2, "/*") == 0) {
            i = script.find("*/", i + 2) + 1;
        } else if (script.compare(i, 2, "--") == 0) {
            i = script.find('\n', i);
            if (i == std::string::npos) break;
        } else {
            limpo += script[i];
        }
    }
    std::vector<IndiceRecomendado> r;
    std::size_t ini = 0, fim;
    while ((fim = limpo.find(';', ini)) != std::string::npos) {
        const std::string s = apara(limpo.substr(ini, fim - ini));
        ini = fim + 1;
        if (plataforma::maiusculasAscii(s).rfind("CREATE INDEX", 0) == 0) r.push_back(leCriacao(s));
    }
    return r;
}

std::string texto(const Valor& v) {
    const auto* t = std::get_if<std::string>(&v);
    return t ? apara(*t) : std::string();
}

}  // namespace

const std::vector<IndiceRecomendado>& indicesRecomendados() {
    static const std::vector<IndiceRecomendado> indices = leIndices(kScriptIndices);
    return indices;
}

std::vector<IndiceConferido> confereIndices(fb::Conexao& conexao, const std::vector<IndiceRecomendado>& indices) {
    std::vector<IndiceConferido> r;
    for (const auto& recomendado : indices) {
        // The table's active ascending indexes, each with its segments in order.
        const auto linhas = conexao.consulta(
            "select i.RDB$INDEX_NAME, cast(i.RDB$EXPRESSION_SOURCE as varchar(8000)), s.RDB$FIELD_NAME "
            "from RDB$INDICES i left join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
            "where i.RDB$RELATION_NAME = ? and coalesce(i.RDB$INDEX_INACTIVE, 0) = 0 "
            "and coalesce(i.RDB$INDEX_TYPE, 0) = 0 order by i.RDB$INDEX_NAME, s.RDB$FIELD_POSITION",
            {recomendado.tabela});
        struct Existente {
            std::string nome, expressao;
            std::vector<std::string> colunas;
        };
        std::vector<Existente> existentes;
        for (const auto& l : linhas.linhas) {
            if (existentes.empty() || existentes.back().nome != texto(l[0]))
                existentes.push_back({texto(l[0]), texto(l[1]), {}});
            if (!nulo(l[2])) existentes.back().colunas.push_back(texto(l[2]));
        }
        IndiceConferido c{recomendado, {}};
        for (const auto& e : existentes) {
            const bool igual = recomendado.expressao.empty()
                                   ? e.expressao.empty() && e.colunas == recomendado.colunas
                                   : formaExpressao(e.expressao) == formaExpressao(recomendado.expressao);
            if (igual) {
                c.existente = e.nome;
                break;
            }
        }
        r.push_back(std::move(c));
    }
    return r;
}

}  // namespace dados
