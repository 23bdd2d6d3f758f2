#include "app/cursorespera.h"

#include "platform/espera.h"

#include <QApplication>

namespace aplicacao {

void instalaCursorEspera() {
    plataforma::defineIndicadorEspera([](bool esperando) {
        if (esperando)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

}  // namespace aplicacao
