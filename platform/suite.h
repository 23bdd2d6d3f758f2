#pragma once
// The suite's fixed folder (c:\brenvita\ on Windows). Elsewhere it is the folder
// named by BRENVITA_DIR, else ~/brenvita. Tests may set it directly.
#include <string>

namespace plataforma {

std::string pastaSuite();                       // ends with the path separator
std::string caminhoSuite(const std::string& nome);  // pastaSuite() + nome
void definePastaSuite(const std::string& pasta);    // tests; empty restores the default
// Folder of the running executable, ending with the separator (settings file).
std::string pastaExecutavel();
void definePastaExecutavel(const std::string& pasta);  // tests

}  // namespace plataforma
