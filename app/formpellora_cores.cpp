// The capsule's colour: the colour list, the check of the description and the
// "<- Usar esta cor" button.
#include "app/formpellora.h"

#include <QLabel>

void FormPellora::CarregaCores() {}
bool FormPellora::CorDescricaoInvalida() { return false; }
std::string FormPellora::RemoveCorDescricao() { return textoDescricao(); }
void FormPellora::Label1Click() { CarregaCores(); }
void FormPellora::ComboBox1Click() { escondeImagem1(); }
void FormPellora::BitBtn1Click() { escondeImagem1(); }
void FormPellora::Imagem1Click() { escondeImagem1(); }
void FormPellora::escondeImagem1() { Imagem1->hide(); }
