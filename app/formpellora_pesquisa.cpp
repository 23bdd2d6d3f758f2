// Finding capsules: the description search, the pick list and the table.
#include "app/formpellora.h"

#include <QFrame>
#include <QLineEdit>

void FormPellora::criaPaineisPesquisa() {
    Panel9 = new QFrame(PainelComponentes);
    Panel9->hide();
    NomeComponente = new QLineEdit(Panel9);
    PainelPesqComp = new QFrame(PainelComponentes);
    PainelPesqComp->hide();
    pnlTabelaComp = new QFrame(PainelComponentes);
    pnlTabelaComp->hide();
}

void FormPellora::BotPesqcompClick() {}
void FormPellora::NomeComponenteKeyPress(char&) {}
void FormPellora::PesquisaDescricao() {}
void FormPellora::AceitaCompClick() {}
void FormPellora::AbandonaPesqCompClick() {}
void FormPellora::GradeCompNomesKeyPress(char&) {}
void FormPellora::botgradecompClick() {}
void FormPellora::BitBtn13Click() {}
