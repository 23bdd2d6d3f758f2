#pragma once
#include <optional>
#include <string>

namespace plataforma {
// The operating-system login name of the process: at most 49 characters, cut at
// the first zero; empty when it can't be had.
std::string usuarioSistema();
void defineUsuarioSistema(std::optional<std::string> nome);  // tests
}  // namespace plataforma
