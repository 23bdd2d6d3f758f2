#pragma once
// The main window as the program builds it, for tests: a temporary suite folder
// with its settings file, the suite database filled with the demo data, the
// data modules, a message recorder that behaves as a modal box towards the
// window, and an intercepted end of the program.
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
#include "support/dbtest.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace janelateste {

// One line of the settings file: label in columns 1-48, a blank, the value.
inline std::string linhaIni(const std::string& rotulo, const std::string& valor) {
    std::string l = rotulo;
    l.resize(48, ' ');
    return l + " " + valor;
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
            linhaIni("IP DO SERVIDOR CENTRAL.........................:", dbteste::servidor()),
            linhaIni("TEMPO PARA LOGOFF AUTOMATICO...................:", "30")};
        for (const auto& [rotulo, valor] : o.configuracoes) linhas.push_back(linhaIni(rotulo, valor));
        plataforma::gravaLinhas(caminho("BRENVITA.INI"), linhas);
        mensagens.aoFechar = [this] { ativaDeNovo(); };

        conexao = dbteste::conectaSuite("Teste");
        dbteste::limpaSuite(*conexao);
        if (o.carregaDemo) dbteste::carregaDemo(*conexao);
        dbteste::criaTutorialEmbutido(pasta.path().toStdString());

        // The marker file lives in the current folder.
        QDir::setCurrent(pasta.path());
        if (o.marcaSaltaLogin) plataforma::gravaLinhas(caminho("SaltaCad.db"), {});

        form = std::make_unique<FormPellora>();
        dm = std::make_unique<dados::DM>();
        dm->DataModuleCreate();
        dm2 = std::make_unique<dados::DM2>();
        dm2->DataModuleCreate();
        form->defineModulos(dm.get(), dm2.get());
        form->show();
        // Activating the window runs FormActivate, as the program's first showing does.
        if (o.ativa) {
            QApplication::setActiveWindow(form.get());
            if (!QTest::qWaitForWindowActive(form.get())) form->FormActivate();
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

    // What one of the program's own windows (a message box, the help window) does
    // to the active main window: it takes the activation while it shows and gives
    // it back when it closes, as a window manager does, so the window's focus
    // leaves and returns and its activation handler runs. A box shown by that
    // activation is one more box; the nesting stops where no user would go on.
    void ativaDeNovo() {
        if (!form || QApplication::activeWindow() != form.get() || caixasAbertas_ >= 8) return;
        ++caixasAbertas_;
        QWidget caixa(nullptr, Qt::Dialog);
        QApplication::setActiveWindow(&caixa);
        QApplication::setActiveWindow(form.get());
        --caixasAbertas_;
    }

    // The suite server out of reach for the program's connection, and back.
    void servidorForaDeAlcance() {
        bancoReal_ = dm->sqlcon1.banco();
        dm->sqlcon1.fecha();
        dm->sqlcon1.defineBanco("127.0.0.1/1:/nenhum.fdb");
    }
    void servidorDeVolta() { dm->sqlcon1.defineBanco(bancoReal_); }

    // One value of the suite database (first column of the first row).
    dados::Valor consulta(const std::string& sql, const std::vector<dados::Valor>& p = {}) {
        return dbteste::valor(*conexao, sql, p);
    }

    QTemporaryDir pasta;
    plataforma::GravadorMensagens mensagens;
    std::unique_ptr<dados::fb::Conexao> conexao;
    std::unique_ptr<FormPellora> form;
    std::unique_ptr<dados::DM> dm;
    std::unique_ptr<dados::DM2> dm2;

private:
    int caixasAbertas_ = 0;
    std::string bancoReal_;
};

}  // namespace janelateste
