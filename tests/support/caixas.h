#pragma once
// The program's own message boxes in a test, answered as a user answers them:
// once a box is the active modal window (the window manager has activated it
// and the focus is in it), by keys: Return for OK, Esc for the answer that
// changes nothing, Tab to "Sim" or "OK" and Space. Every text shown is kept.
//
// The box closes inside the handler that showed it; the window below comes
// back only when the window manager gives the activation back, usually after
// that handler has returned (see Janela::volta).
#include "app/caixas.h"
#include "platform/messages.h"
#include "platform/text.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <string>
#include <vector>

namespace caixasteste {

// The focus as the widgets receive it (widget, in or out, reason), window
// activations, and the boxes answered, in order; for tests about that order.
class RegistroFoco : public QObject {
public:
    RegistroFoco() { qApp->installEventFilter(this); }
    ~RegistroFoco() override { qApp->removeEventFilter(this); }
    std::vector<QString> linhas;
    void anota(const QString& l) {
        linhas.push_back(l);
        if (qEnvironmentVariableIsSet("CAPSULAS_MOSTRA_FOCO")) qInfo("%s", qPrintable(l));
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) return false;
        static const char* motivos[] = {"mouse", "tab", "backtab", "janela", "popup", "atalho", "menu", "outro"};
        const auto nome = [w] { return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName(); };
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) {
            const int r = static_cast<QFocusEvent*>(e)->reason();
            anota(nome() + (e->type() == QEvent::FocusIn ? " entra " : " sai ") +
                  QString::fromLatin1(r >= 0 && r < 8 ? motivos[r] : "?"));
        } else if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) && w->isWindow()) {
            anota(nome() + (e->type() == QEvent::WindowActivate ? " ativada" : " desativada"));
        }
        return false;
    }
};

class Respondedor : public QObject {
public:
    Respondedor() : anteriores_(plataforma::caixas()) {
        plataforma::defineCaixas(aplicacao::caixasModais());
        relogio_.setInterval(5);
        connect(&relogio_, &QTimer::timeout, this, &Respondedor::olha);
        relogio_.start();
    }
    ~Respondedor() override { plataforma::defineCaixas(anteriores_); }

    std::vector<std::string> textos;  // every message and question shown, in order
    std::deque<bool> respostas;       // answers to questions, first to last
    bool respostaPadrao = false;      // when respostas is empty
    RegistroFoco* registro = nullptr; // where the boxes answered are noted too

    void limpa() { textos.clear(); }
    std::string ultima() const { return textos.empty() ? std::string() : textos.back(); }

private:
    void olha() {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa || caixa->property("respondida").toBool()) return;
        if (caixa != esperando_) {
            esperando_ = caixa;
            desde_.start();
            ativaDesde_.invalidate();
        }
        QWidget* foco = QApplication::focusWidget();
        const bool ativa = caixa->isActiveWindow() && foco && caixa->isAncestorOf(foco);
        if (!ativa) {
            ativaDesde_.invalidate();
            if (desde_.elapsed() < 5000) return;
            qWarning("the window manager did not activate the box: answered all the same");
        } else if (!ativaDesde_.isValid()) {
            ativaDesde_.start();
            return;
        } else if (ativaDesde_.elapsed() < 50) {
            return;  // a moment to read it, as a user has, while the window manager settles
        }
        caixa->setProperty("respondida", true);
        QString texto = caixa->text();
        texto.remove(QChar(0x200B));  // where the box may break a long word
        textos.push_back(plataforma::deQString(texto));
        if (registro) registro->anota(QStringLiteral("caixa ") + caixa->text());
        responde(caixa);
    }

    bool proximaResposta() {
        if (respostas.empty()) return respostaPadrao;
        const bool r = respostas.front();
        respostas.pop_front();
        return r;
    }

    static QAbstractButton* botao(QMessageBox* caixa, const QString& texto) {
        for (QAbstractButton* b : caixa->buttons())
            if (b->text() == texto) return b;
        return nullptr;
    }

    void responde(QMessageBox* caixa) {
        QAbstractButton* sim = botao(caixa, QStringLiteral("Sim"));
        if (!sim) sim = caixa->button(QMessageBox::Ok);
        const bool pergunta = caixa->buttons().size() > 1;
        if (!pergunta) {
            tecla(caixa, Qt::Key_Return);
        } else if (!proximaResposta()) {
            tecla(caixa, Qt::Key_Escape);
        } else {
            for (int i = 0; i < 4 && QApplication::focusWidget() != sim; ++i) tecla(caixa, Qt::Key_Tab);
            tecla(caixa, Qt::Key_Space);
        }
    }

    // To the widget with the focus, as the keyboard sends it.
    static void tecla(QMessageBox* caixa, Qt::Key k) {
        QWidget* alvo = QApplication::focusWidget();
        if (!alvo || !caixa->isAncestorOf(alvo)) alvo = caixa;
        QTest::keyClick(alvo, k);
    }

    plataforma::Caixas anteriores_;
    QTimer relogio_;
    QPointer<QMessageBox> esperando_;
    QElapsedTimer desde_, ativaDesde_;
};

}  // namespace caixasteste
