#include "form/pesquisa.h"

namespace formulario {

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
