#pragma once
// The suite's folder: the one named by BRENVITA_DIR, else c:\brenvita\ on
// Windows and ~/brenvita elsewhere. Tests may set it directly.
#include <string>

namespace plataforma {

std::string pastaSuite();                       // ends with the path separator
std::string caminhoSuite(const std::string& nome);  // pastaSuite() + nome
void definePastaSuite(const std::string& pasta);    // tests; empty restores the default
// Folder of the running executable, ending with the separator (settings file),
// as the system names files: native separators, the local code page.
std::string pastaExecutavel();
void definePastaExecutavel(const std::string& pasta);  // tests

}  // namespace plataforma
