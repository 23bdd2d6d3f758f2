#pragma once
// The command line: capsulas [--check | --help | --version]. Without an option
// the program starts; the other answers need no window and no database.
#include <string>

namespace aplicacao {

enum class Acao { Programa, Verificacao, Ajuda, Versao, Invalida };

struct Opcoes {
    Acao acao = Acao::Programa;
    std::string invalida;  // the argument not understood
};

Opcoes leOpcoes(int argc, char* argv[]);

// The project's version, set by the build.
const char* versaoPrograma();
// The usage text of --help (UTF-8).
const char* textoAjuda();

}  // namespace aplicacao
