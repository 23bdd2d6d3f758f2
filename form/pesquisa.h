#pragma once
// The description search: a prefix match on the normalised description.
#include <string>

namespace formulario {

// The escape character of the search's LIKE ("LIKE ? ESCAPE '\'").
inline constexpr char kEscapeLike = '\\';

// The LIKE pattern that finds the descriptions beginning with `texto`: its '%',
// '_' and escape characters escaped, so that they match themselves, then '%'.
std::string padraoPrefixo(const std::string& texto);

}  // namespace formulario
