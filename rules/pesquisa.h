#pragma once
// The description search: a prefix match on the normalised description.
#include <cstddef>
#include <string>

namespace formulario {

// The escape character of the search's LIKE ("LIKE ? ESCAPE '\'").
inline constexpr char kEscapeLike = '\\';

// Characters of a capsule description (COMPONEN.COMPONENTE): a longer text
// begins no description, and is not worth a statement.
inline constexpr std::size_t kLarguraDescricao = 70;

// The search: the capsules whose description matches the bound pattern, in
// description order. The pattern is cast to a text that holds the pattern of
// any text of a description's length (every character escaped, then '%'):
// bound as the column's own type, a pattern over 70 would be refused.
std::string sqlPesquisa();

// The LIKE pattern that finds the descriptions beginning with `texto`: its '%',
// '_' and escape characters escaped, so that they match themselves, then '%'.
std::string padraoPrefixo(const std::string& texto);

}  // namespace formulario
