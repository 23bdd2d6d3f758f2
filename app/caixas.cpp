#include "app/caixas.h"

#include "platform/text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace aplicacao {
namespace {
QWidget* janelaAtiva() { return QApplication::activeWindow(); }

// The boxes carry the program's name; it is not set as the application's display
// name, which the desktop would append to every window title.
QString tituloMensagens() { return QStringLiteral("Cadastro de Cápsulas"); }

// A box grows with its longest word: a long text without blanks (a search text
// typed as one word) would make it wider than the screen. Such runs may break
// every few characters; the break is invisible where it is not used.
QString textoDaCaixa(const std::string& texto) {
    constexpr int kMaiorPalavra = 40;
    const QString t = plataforma::paraQString(texto);
    QString r;
    r.reserve(t.size());
    int seguidos = 0;
    for (QChar c : t) {
        seguidos = c.isSpace() ? 0 : seguidos + 1;
        if (seguidos > kMaiorPalavra) {
            r.append(QChar(0x200B));  // zero-width space
            seguidos = 1;
        }
        r.append(c);
    }
    return r;
}
}  // namespace

plataforma::Caixas caixasModais() {
    plataforma::Caixas c;
    c.mensagem = [](const std::string& texto, plataforma::TipoMensagem tipo) {
        QMessageBox box(tipo == plataforma::TipoMensagem::Erro ? QMessageBox::Critical : QMessageBox::NoIcon,
                        tituloMensagens(), textoDaCaixa(texto), QMessageBox::Ok, janelaAtiva());
        box.exec();
    };
    c.simNao = [](const std::string& texto) {
        QMessageBox box(QMessageBox::Question, tituloMensagens(), textoDaCaixa(texto),
                        QMessageBox::NoButton, janelaAtiva());
        QPushButton* sim = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
        QPushButton* nao = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
        box.setDefaultButton(nao);
        box.setEscapeButton(nao);
        box.exec();
        return box.clickedButton() == sim;
    };
    c.okCancela = [](const std::string& texto) {
        QMessageBox box(QMessageBox::Question, tituloMensagens(), textoDaCaixa(texto),
                        QMessageBox::Ok | QMessageBox::Cancel, janelaAtiva());
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    };
    c.bipe = [] { QApplication::beep(); };
    return c;
}

}  // namespace aplicacao
