#pragma once
// Text files as the suite writes them: Windows-1252 lines, CR LF written,
// CR LF or a bare LF read as a line end.
#include <optional>
#include <string>
#include <vector>

namespace plataforma {

bool arquivoExiste(const std::string& caminho);
// Deletes a file; false when it could not be deleted (callers may ignore it).
bool apagaArquivo(const std::string& caminho);
// All lines of a file, without their line ends; nullopt when it can't be read.
// Lines longer than maxLinha are cut (the rest of the line is skipped), so a
// huge line cannot exhaust memory.
std::optional<std::vector<std::string>> leLinhas(const std::string& caminho,
                                                 std::size_t maxLinha = 64 * 1024);
// Writes the file anew in one pass (create, lines, close); false on failure.
bool gravaLinhas(const std::string& caminho, const std::vector<std::string>& linhas);

}  // namespace plataforma
