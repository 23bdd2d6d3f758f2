#include "rules/pesquisa.h"

namespace formulario {

std::string sqlPesquisa() {
    return "select CODIGO, COMPONENTE, GRUPO, UNID from COMPONEN where COMPONENTE LIKE cast(? as varchar(" +
           std::to_string(2 * kLarguraDescricao + 1) + ")) ESCAPE '" + std::string(1, kEscapeLike) +
           "' and GRUPO = 'CAP' order by COMPONENTE";
}

std::string padraoPrefixo(const std::string& texto) {
    std::string padrao;
    padrao.reserve(texto.size() + 8);
    for (char c : texto) {
        if (c == '%' || c == '_' || c == kEscapeLike) padrao += kEscapeLike;
        padrao += c;
    }
    return padrao + '%';
}

}  // namespace formulario
