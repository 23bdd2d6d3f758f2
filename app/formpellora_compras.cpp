// The last purchases of the current capsule.
#include "app/formpellora.h"

#include <QFrame>

void FormPellora::criaPainelCompras() {
    pnl_UltimaCompra = new QFrame(PainelComponentes);
    pnl_UltimaCompra->hide();
}

void FormPellora::BitBtnUltimaCompraClick() {}
void FormPellora::BitBtnOcultarUltCompraClick() {}
