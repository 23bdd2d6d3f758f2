// Sign-on of the main window: the login panel, the rights and the reuse of the
// suite's sign-on.
#include "app/formpellora.h"

#include "data/dm.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbnavigator.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

void FormPellora::criaPainelLogin() {
    PainelLogin = new QFrame(this);
    PainelLogin->setObjectName(QStringLiteral("PainelLogin"));
    PainelLogin->hide();
    EditNome = new QLineEdit(PainelLogin);
    EditSenhaU = new QLineEdit(PainelLogin);
    BotOkSenha = new QPushButton(QStringLiteral("OK"), PainelLogin);
    BotCancSenha = new QPushButton(QStringLiteral("Cancela"), PainelLogin);
}

std::string FormPellora::SelecionarEstacao() { return {}; }
void FormPellora::VerificarLogin() {}
std::string FormPellora::DireitosDoLogon() { return {}; }

// Until the sign-on is decided from the suite's trace files, every activation
// ends in the editing state.
void FormPellora::DecidirLogin() { estadoEdicao(); }

void FormPellora::estadoEdicao() {
    PainelLogin->hide();
    EditNome->clear();
    defineBotaoCancelar(BotFecharComp);
    DBNavigator1->setEnabled(true);
    DBEdit1->setEnabled(true);
    const auto estado = dm()->Componentes.state();
    const bool editando = estado == dados::Estado::Editando || estado == dados::Estado::Inserindo;
    if (!editando) {
        DBEdit1->setFocus(Qt::OtherFocusReason);
        HabilitaBotoes();
    }
}

void FormPellora::estadoLogin() {}
void FormPellora::EditNomeExit() {}
void FormPellora::EditNomeKeyPress(char&) {}
void FormPellora::EditSenhaUKeyPress(char&) {}
void FormPellora::BotOkSenhaClick() {}
void FormPellora::BotCancSenhaClick() {}
void FormPellora::DBEdit2Enter() {}
void FormPellora::DBEdit2Click() {}
void FormPellora::DBEdit5Enter() {}
void FormPellora::DBEdit5Click() {}
void FormPellora::DBEdit16Enter() {}
void FormPellora::DBEdit16Click() {}
void FormPellora::DBEdit8Enter() {}
void FormPellora::DBEdit8Click() {}
