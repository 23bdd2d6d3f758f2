#include "app/programa.h"

#include "app/caixas.h"
#include "app/cursorespera.h"
#include "app/filtroeventos.h"
#include "app/formpellora.h"
#include "app/opcoes.h"
#include "app/verificacao.h"
#include "data/dm.h"
#include "data/dm2.h"
#include "platform/localidade.h"
#include "platform/log.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace plataforma::literais;

namespace {
// The general error handler: an error that escapes an event handler is shown
// with its own message and the program goes on.
class Aplicacao : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override {
        try {
            return QApplication::notify(receptor, evento);
        } catch (const std::exception& e) {
            plataforma::trataErro(e);
        }
        return false;
    }
};

// The embedded engine of the tutorial database keeps its lock table in the
// suite folder, beside the file: the programs that open the file at the same
// time, whoever runs them, coordinate through one lock table only.
void preparaMotorEmbutido() {
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK")) return;
    const std::string pasta = plataforma::caminhoSuite("fblock");
    std::error_code erro;
    std::filesystem::create_directory(pasta, erro);  // only inside an existing suite folder
#ifndef _WIN32
    // Every user of the workstation writes there (sticky, like a temporary folder).
    std::filesystem::permissions(pasta, std::filesystem::perms::all | std::filesystem::perms::sticky_bit, erro);
#endif
    qputenv("FIREBIRD_LOCK", QByteArray::fromStdString(pasta));
}

// Qt's own texts (the edit boxes' menus, the file dialog) in the program's
// language: Qt's Portuguese translations, beside the program (as the Windows
// installer puts them) or where this Qt keeps its own.
void traduzTextosDoQt(QApplication& app) {
    auto* traducao = new QTranslator(&app);
    const QString nome = QStringLiteral("qtbase_pt_BR");
    for (const QString& pasta : {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
        if (traducao->load(nome, pasta)) {
            QApplication::installTranslator(traducao);
            return;
        }
    plataforma::anotaNoLog("Traduções do Qt (qtbase_pt_BR.qm) não encontradas: os menus padrão ficam em inglês."_w);
}

#ifdef _WIN32
// The program is a windowed one (no console opens with it), so started from a
// command prompt it has nowhere to print --help, --version and --check: it
// prints into that prompt's console, in UTF-8, unless the output is redirected.
void escreveNoConsoleDeQuemChamou() {
    const HANDLE saida = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((saida != nullptr && saida != INVALID_HANDLE_VALUE) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    SetConsoleOutputCP(CP_UTF8);
}
#endif

}  // namespace

int executaPrograma(int argc, char* argv[]) {
    QElapsedTimer desdeOInicio;
    desdeOInicio.start();
    const aplicacao::Opcoes opcoes = aplicacao::leOpcoes(argc, argv);
#ifdef _WIN32
    if (opcoes.acao != aplicacao::Acao::Programa) escreveNoConsoleDeQuemChamou();
#endif
    switch (opcoes.acao) {
        case aplicacao::Acao::Ajuda:
            std::fputs(aplicacao::textoAjuda(), stdout);
            return 0;
        case aplicacao::Acao::Versao:
            std::printf("capsulas %s\n", aplicacao::versaoPrograma());
            return 0;
        case aplicacao::Acao::Invalida:
            std::fprintf(stderr, "capsulas: opção desconhecida: %s (capsulas --help mostra as opções)\n",
                         opcoes.invalida.c_str());
            return 2;
        case aplicacao::Acao::Verificacao: {
            preparaMotorEmbutido();
            QCoreApplication app(argc, argv);
            return verificacao::verificaInstalacao(stdout).aprovado() ? 0 : 1;
        }
        case aplicacao::Acao::Programa:
            break;
    }
    preparaMotorEmbutido();
    // Until the window's first activation has run, every message is logged too.
    plataforma::definePartida(true);

    plataforma::adotaLocalidadePadrao();
    Aplicacao app(argc, argv);
    traduzTextosDoQt(app);
    plataforma::defineCaixas(aplicacao::caixasModais());
    aplicacao::instalaCursorEspera();

    // Start-up, each object whole before the next: the main window (which reads
    // the settings), DM, DM2 (see below); the help window is made anew for each
    // request (ManualdeOperao1Click). The data modules are declared first, so
    // that they outlive the window, whose end still reaches DM; they open
    // nothing before their DataModuleCreate.
    dados::DM dm;
    dados::DM2 dm2;
    FormPellora form;
    dm.DataModuleCreate();
    // DM2's connection opens while DM reads what the first activation will
    // ask for: at a branch each is a few round trips over the link, and so
    // they overlap. Not beside DM's own opening: the server holds an attach
    // back for about a second while another one is opening the database file.
    // DM2 is still whole before the window shows: a failure there ends the
    // program first.
    dm2.comecaAbertura();
    form.defineModulos(&dm, &dm2);
    dm.adiantaLeituras();
    dm2.DataModuleCreate();
    aparencia::filtraEventos(&form, [](QEvent* e) {
        if (e->type() == QEvent::WindowActivate && plataforma::emPartida())
            QTimer::singleShot(0, [] { plataforma::definePartida(false); });
        return false;
    });
    form.show();
    if (const char* medida = std::getenv("CAPSULAS_MEDE_PARTIDA")) {
        // Start-up benchmark (scripts/bench): the time from the start to the
        // window's first state after its activation (editing, or the login
        // panel), printed, then the end of the run. With "espera" the run ends
        // only when standard input does, so that the benchmark reads what the
        // start-up sent to the server before the connections are closed.
        const bool esperaEntrada = std::strcmp(medida, "espera") == 0;
        auto* espera = new QTimer(&form);
        QObject::connect(espera, &QTimer::timeout, &form, [&, espera, esperaEntrada] {
            const bool pronta = form.PainelLogin->isVisibleTo(&form) || form.BotFecharComp->isEnabled();
            if (!dm.Componentes.active() || !pronta) return;
            espera->stop();
            std::printf("partida_ms=%lld\n", static_cast<long long>(desdeOInicio.elapsed()));
            std::fflush(stdout);
            if (esperaEntrada)
                while (std::getchar() != EOF) {
                }
            QCoreApplication::exit(0);
        });
        espera->start(0);
    }
    return app.exec();
}
