#pragma once
// The description search: a prefix match on the normalised description.
#include <cstddef>
#include <string>

namespace formulario {

// Characters of a capsule description (COMPONEN.COMPONENTE).
inline constexpr std::size_t kLarguraDescricao = 70;

// Whether a search text can begin a description: a longer one begins none and
// is not worth a statement (nor does it fit the column's type, as which the
// server takes the bound text).
inline bool podeIniciarDescricao(const std::string& texto) { return texto.size() <= kLarguraDescricao; }

}  // namespace formulario
