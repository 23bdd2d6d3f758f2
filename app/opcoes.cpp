#include "app/opcoes.h"

#include <string_view>

namespace aplicacao {

Opcoes leOpcoes(int argc, char* argv[]) {
    Opcoes r;
    // With several options, the one that does least wins: help, then version.
    auto prioridade = [](Acao a) {
        switch (a) {
            case Acao::Ajuda: return 3;
            case Acao::Versao: return 2;
            case Acao::Verificacao: return 1;
            default: return 0;
        }
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        Acao a;
        if (arg == "--help" || arg == "-h")
            a = Acao::Ajuda;
        else if (arg == "--version")
            a = Acao::Versao;
        else if (arg == "--check")
            a = Acao::Verificacao;
        else
            return {Acao::Invalida, std::string(arg)};
        if (prioridade(a) > prioridade(r.acao)) r.acao = a;
    }
    return r;
}

const char* versaoPrograma() { return CAPSULAS_VERSAO; }

#ifdef _WIN32
#define CAPSULAS_PASTA_SUITE "c:\\brenvita"
#else
#define CAPSULAS_PASTA_SUITE "~/brenvita"
#endif

const char* textoAjuda() {
    return "Uso: capsulas [OPÇÃO]\n"
           "Cadastro de Cápsulas: os invólucros de cápsulas no banco de dados da suíte BRENVITA.\n"
           "Sem opção, abre a janela do cadastro.\n"
           "\n"
           "Opções:\n"
           "  --check      verifica a instalação desta estação (configurações, biblioteca\n"
           "               cliente, servidor, pasta da suíte, banco do tutorial), um achado\n"
           "               por linha com o que fazer; termina com 0 só quando o programa\n"
           "               pode partir normalmente\n"
           "  -h, --help   mostra este texto e termina\n"
           "  --version    mostra a versão e termina\n"
           "\n"
           "Ambiente:\n"
           "  BRENVITA_DIR       pasta da suíte (padrão: " CAPSULAS_PASTA_SUITE ")\n"
           "  BRENVITA_MESSAGES  arquivo que recebe as mensagens, respondidas sem caixa\n"
           "  FIREBIRD_LOCK      pasta de travas do banco do tutorial (padrão: fblock na\n"
           "                     pasta da suíte)\n"
           "  ISC_USER, ISC_PASSWORD\n"
           "                     usuário e senha no servidor, no lugar de SYSDBA (as duas;\n"
           "                     o usuário com o papel de privilegios.sql)\n"
           "\n"
           "Arquivos: BRENVITA.INI ao lado do executável; na pasta da suíte CaminhoGDS.txt,\n"
           "LOGON.QVF, ULTATIV.QVF, Tutorial.ini e TUTORIAL.BD; SaltaCad.db na pasta atual.\n"
           "Falhas da partida e gravações que falham vão também para a saída de erros.\n"
           "\n"
           "Saída: 0 normal; 1 a partida ou a verificação falhou; 2 opção desconhecida.\n"
           "Veja capsulas(1) e o guia do administrador (docs/deploy.md).\n";
}

}  // namespace aplicacao
