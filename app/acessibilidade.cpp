#include "app/acessibilidade.h"

#include "app/formpellora.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace aplicacao {

void nomeiaControles(FormPellora& f) {
    // The field editors are named by their captions as they are made.
    f.Label1->setBuddy(f.ComboBox1);
    f.Label216->setBuddy(f.EditNome);
    f.Label217->setBuddy(f.EditSenhaU);
    f.Label41->setBuddy(f.NomeComponente);
    f.Label4->setBuddy(f.DBEdit4);

    // "<- Usar esta cor" without its arrow.
    f.BitBtn1->setAccessibleName(QStringLiteral("Usar esta cor"));

    // Grids by their panels' title bars (the panels are named as they are registered).
    const std::pair<QWidget*, QString> titulos[] = {
        {f.GradeCompNomes, f.Panel35->text()},
        {f.GradeComponentes, f.Panel2->text()},
        {f.DBGridUltimaCompra, f.PanelTituloUltCompra->text()},
        {f.PainelManual, QStringLiteral("Manual em vídeo")},
    };
    for (const auto& [w, titulo] : titulos) w->setAccessibleName(titulo);
}

}  // namespace aplicacao
