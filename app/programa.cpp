#include "app/programa.h"

#include "app/caixas.h"
#include "app/cursorespera.h"
#include "app/formpellora.h"
#include "data/catalogo.h"
#include "data/dm.h"
#include "data/dm2.h"
#include "data/indices.h"
#include "platform/files.h"
#include "platform/localidade.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

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
    if (std::getenv("FIREBIRD_LOCK")) return;
    const std::string pasta = plataforma::caminhoSuite("fblock");
    std::error_code erro;
    std::filesystem::create_directory(pasta, erro);  // only inside an existing suite folder
    // Every user of the workstation writes there (sticky, like a temporary folder).
    std::filesystem::permissions(pasta, std::filesystem::perms::all | std::filesystem::perms::sticky_bit, erro);
    setenv("FIREBIRD_LOCK", pasta.c_str(), 0);
}

void imprime(const std::string& rotulo, const std::string& valor) {
    std::printf("%s: %s\n", rotulo.c_str(), plataforma::paraQString(valor).toLocal8Bit().constData());
}

// Support check: the settings, the client library, the database locations and
// whether both connections open. Exit code 0 only when everything connected.
int verificaInstalacao() {
    const std::string ini = plataforma::pastaExecutavel() + "BRENVITA.INI";
    imprime("BRENVITA.INI", ini);
    if (!plataforma::arquivoExiste(ini)) {
        std::printf("BRENVITA.INI: nao encontrado\n");
        return 1;
    }
    try {
        LeConfiguracoes();
    } catch (const std::exception& e) {
        imprime("Erro nas configuracoes", e.what());
    }
    imprime("IpServidorCentral", IpServidorCentral.str());
    imprime("CorFundoTelas", std::to_string(CorFundoTelas));
    imprime("UsarFCPrecoVenda", UsarFCPrecoVenda.str());
    imprime("UsarFatDiluicaoPreco", UsarFatDiluicaoPreco.str());
    imprime("TempoLogoff", TempoLogoff.str());

    const std::string caminhoGds = plataforma::caminhoSuite("CaminhoGDS.txt");
    std::optional<std::vector<std::string>> linhas;
    if (plataforma::arquivoExiste(caminhoGds)) linhas = plataforma::leLinhas(caminhoGds);
    imprime("CaminhoGDS.txt", caminhoGds + (linhas ? "" : " (ausente)"));
    const std::string biblioteca =
        dados::fb::nomeBibliotecaCliente(dados::pastaClienteDoArquivo(linhas ? &*linhas : nullptr));
    imprime("Biblioteca cliente", biblioteca);
    imprime("Banco de dados", dados::localBancoSuite(IpServidorCentral.str()));
    const std::string tutorial = plataforma::caminhoSuite("TUTORIAL.BD");
    imprime("Banco do tutorial", tutorial);

    bool tudoCerto = true;
    {
        dados::fb::Conexao c("BrenDados");
        c.defineBiblioteca(biblioteca);
        c.defineBanco(dados::localBancoSuite(IpServidorCentral.str()));
        try {
            c.abre();
            std::printf("Conexao com o servidor: OK\n");
            for (const auto& linha : dados::verificaIndices(c)) std::printf("%s\n", linha.c_str());
        } catch (const std::exception& e) {
            imprime("Conexao com o servidor: FALHOU", e.what());
            tudoCerto = false;
        }
    }
    try {
        const std::string modo = dados::fb::modoDoMotorLocal("");
        const bool compartilha = modo != "Super" && modo != "ThreadedDedicated";
        imprime("Modo do motor local", modo + (compartilha ? " (ajuda aberta em varios programas ao mesmo tempo)"
                                                           : " (ajuda aberta em um programa por vez)"));
    } catch (const std::exception& e) {
        imprime("Modo do motor local: desconhecido", e.what());
    }
    {
        dados::fb::Conexao c("IBConnection");
        c.defineBanco(tutorial);
        try {
            c.abre();
            std::printf("Conexao com o tutorial: OK\n");
        } catch (const std::exception& e) {
            imprime("Conexao com o tutorial: FALHOU", e.what());
            tudoCerto = false;
        }
    }
    return tudoCerto ? 0 : 1;
}
}  // namespace

int executaPrograma(int argc, char* argv[]) {
    QElapsedTimer desdeOInicio;
    desdeOInicio.start();
    preparaMotorEmbutido();
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--check") == 0) {
            QCoreApplication app(argc, argv);
            return verificaInstalacao();
        }

    plataforma::adotaLocalidadePadrao();
    Aplicacao app(argc, argv);
    plataforma::defineCaixas(aplicacao::caixasModais());
    aplicacao::instalaCursorEspera();

    // Start-up, each object whole before the next: the main window (which reads
    // the settings), DM, the help window, DM2.
    FormPellora form;
    dados::DM dm;
    dm.DataModuleCreate();
    dados::DM2 dm2;
    dm2.DataModuleCreate();
    form.defineModulos(&dm, &dm2);
    form.show();
    if (std::getenv("CAPSULAS_MEDE_PARTIDA")) {
        // Start-up benchmark (scripts/bench): the time from the start to the
        // first editing state of the window, printed, then the end of the run.
        auto* espera = new QTimer(&form);
        QObject::connect(espera, &QTimer::timeout, &form, [&] {
            if (!dm.Componentes.active() || form.PainelLogin->isVisibleTo(&form) || !form.BotFecharComp->isEnabled())
                return;
            espera->stop();
            std::printf("partida_ms=%lld\n", static_cast<long long>(desdeOInicio.elapsed()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
        espera->start(0);
    }
    return app.exec();
}
