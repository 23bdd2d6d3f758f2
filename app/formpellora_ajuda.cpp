// Context help: the subject of each control and the help window.
#include "app/formpellora.h"

#include <QFrame>

void FormPellora::criaMenuAjuda() {}
void FormPellora::ManualdeOperao1Click() {}
void FormPellora::PainelComponentesMouseMove() {}
void FormPellora::PainelComponentesEnter() {}
void FormPellora::DBNavigator1Enter() {}
void FormPellora::PainelManualDblClick() { PainelManual->hide(); }
std::string FormPellora::assuntoDoControle(const std::string&) { return {}; }
void FormPellora::defineAssuntoDoControle(const std::string&) {}
