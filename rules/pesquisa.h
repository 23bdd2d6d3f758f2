#pragma once
// The description search: the normalised text T is matched as the LIKE pattern
// T%, in which '%' stands for any characters and '_' for any one.
#include <cstddef>
#include <string>

namespace regras {

// Characters of a capsule description (COMPONEN.COMPONENTE).
inline constexpr std::size_t kLarguraDescricao = 70;
// The longest pattern of a text that can begin a description: its 70
// characters with a '%' before, between and after them.
inline constexpr std::size_t kLarguraPadrao = 2 * kLarguraDescricao + 1;

// A text without wildcards, whose search is a plain prefix.
inline bool prefixoSimples(const std::string& texto) { return texto.find_first_of("%_") == std::string::npos; }

// Whether a search text can begin a description: each of its characters but
// '%' takes one character of the description, so a text with more of them
// begins none and is not worth a statement (nor does a longer plain prefix fit
// the column's type, as which the server takes the bound text).
inline bool podeIniciarDescricao(const std::string& texto) {
    std::size_t tomados = 0;
    for (char c : texto) tomados += c != '%';
    return tomados <= kLarguraDescricao;
}

// What a search text's matches begin with: the text up to its first wildcard.
inline std::string prefixoPesquisa(const std::string& texto) { return texto.substr(0, texto.find_first_of("%_")); }

// The LIKE pattern of a search text: the text, then '%', each run of '%' as one
// (the same matches; at most kLarguraPadrao characters when the text can begin
// a description).
inline std::string padraoPesquisa(const std::string& texto) {
    std::string padrao;
    for (char c : texto + '%')
        if (c != '%' || padrao.empty() || padrao.back() != '%') padrao += c;
    return padrao;
}

}  // namespace regras
