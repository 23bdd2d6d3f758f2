#pragma once
// The main window as the program builds it, for tests: a temporary suite folder
// with its settings file, the suite database filled with the demo data (on the
// test server; in memory for the programs built with CAPSULAS_SEM_SERVIDOR), the
// data modules, the program's real message boxes answered by keys (support/caixas.h)
// and an intercepted end of the program. It runs under a window manager
// (support/comjanelas).
#include "app/formpellora.h"
#include "data/dm.h"
#include "data/dm2.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/user.h"
#include "settings/settings.h"
#include "signon/sessao.h"
#include "support/caixas.h"
#include "support/dbtest.h"
#include "support/suitememoria.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace janelateste {

#ifdef CAPSULAS_SEM_SERVIDOR
inline constexpr bool kComServidor = false;
#else
inline constexpr bool kComServidor = true;
#endif

// One line of the settings file: label in columns 1-48, a blank, the value.
inline std::string linhaIni(const std::string& rotulo, const std::string& valor) {
    std::string l = rotulo;
    l.resize(48, ' ');
    return l + " " + valor;
}

// Key by key, accented letters included (keyClicks refuses what is not ASCII).
inline void digita(QWidget* w, const QString& texto) {
    for (QChar ch : texto) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Types a name and a password on the login panel as the user does: Enter in each box.
inline void entra(FormPellora& f, const char* nome, const char* senha) {
    f.EditNome->setFocus();
    f.EditNome->selectAll();
    digita(f.EditNome, QString::fromUtf8(nome));
    QTest::keyClick(f.EditNome, Qt::Key_Return);
    f.EditSenhaU->selectAll();
    digita(f.EditSenhaU, QString::fromUtf8(senha));
    QTest::keyClick(f.EditSenhaU, Qt::Key_Return);
}

struct Opcoes {
    bool carregaDemo = true;             // fill the suite database with db/demo.sql
    bool ativa = true;                   // activate the window (FormActivate) at the end
    bool marcaSaltaLogin = true;         // "SaltaCad.db" in the current folder: no login panel
    std::map<std::string, std::string> configuracoes;  // extra settings by label
};

class Janela {
public:
    explicit Janela(Opcoes o = {}) {
        if (qEnvironmentVariableIsSet("CAPSULAS_MOSTRA_FOCO")) {
            registro_ = std::make_unique<caixasteste::RegistroFoco>();
            mensagens.registro = registro_.get();
        }
        dbteste::preparaAmbiente();
        plataforma::interceptaEncerramento([](int) {});
        plataforma::definePastaSuite(pasta.path().toStdString());
        plataforma::definePastaExecutavel(pasta.path().toStdString());
        plataforma::defineUsuarioSistema(std::string("operador"));
        plataforma::defineRelogio(std::nullopt);
        UsuarioAtual = "";
        NomeLogon = "";
        EstacaoAtual = "";
        AcessoUsuario = "";
        AcessoFinanceiro = false;
        configuracoes::restauraPadroes();

        std::vector<std::string> linhas = {
            linhaIni("IP DO SERVIDOR CENTRAL.........................:",
                     kComServidor ? dbteste::servidor() : std::string("127.0.0.1")),
            linhaIni("TEMPO PARA LOGOFF AUTOMATICO...................:", "30")};
        for (const auto& [rotulo, valor] : o.configuracoes) linhas.push_back(linhaIni(rotulo, valor));
        plataforma::gravaLinhas(caminho("BRENVITA.INI"), linhas);

        if (kComServidor) {
            conexao = dbteste::conectaSuite("Teste");
            dbteste::limpaSuite(*conexao);
            if (o.carregaDemo) dbteste::carregaDemo(*conexao);
        } else if (o.carregaDemo) {
            memoriateste::carregaDemo(suite);
        }
        dbteste::criaTutorialEmbutido(pasta.path().toStdString());

        // The marker file lives in the current folder.
        QDir::setCurrent(pasta.path());
        if (o.marcaSaltaLogin) plataforma::gravaLinhas(caminho("SaltaCad.db"), {});

        form = std::make_unique<FormPellora>();
        dm = std::make_unique<dados::DM>(kComServidor ? nullptr : &suite);
        dm->DataModuleCreate();
        dm2 = std::make_unique<dados::DM2>();
        if (kComServidor) dm2->DataModuleCreate();
        form->defineModulos(dm.get(), dm2.get());
        form->show();
        // The window manager activates the window, which runs FormActivate, as
        // the program's first showing does.
        if (o.ativa) {
            form->activateWindow();
            if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window manager did not activate the window");
            volta();
        }
    }

    ~Janela() {
        if (dm && dm->Componentes.active()) {
            // Nothing the test left pending is asked about.
            mensagens.respostaPadrao = true;
            try {
                dm->Componentes.close();
            } catch (...) {
            }
        }
        form.reset();
        dm2.reset();
        dm.reset();
        plataforma::interceptaEncerramento(nullptr);
        plataforma::defineRelogio(std::nullopt);
        QDir::setCurrent(QDir::tempPath());
    }

    std::string caminho(const std::string& nome) const { return (pasta.path() + "/").toStdString() + nome; }

    // Waits until the window is active again once the boxes it showed are
    // closed, as the window manager gives the activation back after the handler
    // that showed them has returned, and until the events that follow are done.
    // Should the window manager not give it back, the window is activated as a
    // user would, by asking for it, and a warning says so.
    bool volta() {
        const auto ativa = [this] {
            return !QApplication::activeModalWidget() && QApplication::activeWindow() == form.get();
        };
        bool voltou = QTest::qWaitFor(ativa, 5000);
        if (!voltou && !QApplication::activeModalWidget()) {
            qWarning("the window manager did not give the window back: activated by request");
            form->activateWindow();
            voltou = QTest::qWaitFor(ativa, 5000);
        }
        QTest::qWait(20);
        return voltou;
    }

    // The widget with the focus once the window is back (see volta).
    QWidget* foco() {
        volta();
        return QApplication::focusWidget();
    }

    // An activation of the window by one of the program's own windows: a box of
    // the program is shown and answered, and the window comes back.
    void reativa() {
        plataforma::mostraMensagem("-");
        mensagens.textos.pop_back();
        volta();
    }

    // The suite server out of reach for the program's connection, and back.
    void servidorForaDeAlcance() {
        if (!kComServidor) return suite.defineIndisponivel("Unable to complete network request to host \"127.0.0.1\".");
        bancoReal_ = dm->sqlcon1.banco();
        dm->sqlcon1.fecha();
        dm->sqlcon1.defineBanco("127.0.0.1/1:/nenhum.fdb");
    }
    void servidorDeVolta() {
        if (!kComServidor) return suite.defineIndisponivel({});
        dm->sqlcon1.defineBanco(bancoReal_);
    }

    // A column of the capsule stored under the code, as the table holds it
    // (null when there is none).
    regras::Valor gravado(const std::string& codigo, const char* coluna) {
        if (kComServidor)
            return consulta(std::string("select ") + coluna + " from COMPONEN where CODIGO = ?", {codigo});
        const auto& t = suite.componen.tabela;
        for (const auto& l : t.linhas)
            if (l[static_cast<std::size_t>(t.indice("CODIGO"))] == regras::Valor(codigo))
                return l[static_cast<std::size_t>(t.indice(coluna))];
        return {};
    }

    // One value of the suite database (first column of the first row).
    regras::Valor consulta(const std::string& sql, const std::vector<regras::Valor>& p = {}) {
        return dbteste::valor(*conexao, sql, p);
    }

    QTemporaryDir pasta;
    dados::SuiteMemoria suite;  // the tables without a server
    caixasteste::Respondedor mensagens;
    std::unique_ptr<dados::fb::Conexao> conexao;
    std::unique_ptr<FormPellora> form;
    std::unique_ptr<dados::DM> dm;
    std::unique_ptr<dados::DM2> dm2;

private:
    std::string bancoReal_;
    std::unique_ptr<caixasteste::RegistroFoco> registro_;
};

}  // namespace janelateste
