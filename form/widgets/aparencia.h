#pragma once
// Fonts and colours shared by the windows and their panels.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace aparencia {

inline QFont arial(int pixels, bool negrito = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

inline QFont arialArredondada(int pixels) {
    QFont f(QStringLiteral("Arial Rounded MT Bold"));
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

// The grids' font: their column widths were laid out for it.
inline QFont fonteGrade() { return arial(10); }

// The colours of one control: its background, in the one role it fills itself
// with (a text box's or a list's base, a button's face, else the window), and
// its text. The controls inside take the colours of theirs that they use too,
// so a panel's background never becomes its editors', buttons' or grids'.
inline void pinta(QWidget* w, const QColor& fundo, const QColor& texto = QColor()) {
    QPalette p = w->palette();
    if (fundo.isValid()) {
        const bool base = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractScrollArea*>(w) ||
                          qobject_cast<QComboBox*>(w);
        p.setColor(base                               ? QPalette::Base
                   : qobject_cast<QAbstractButton*>(w) ? QPalette::Button
                                                       : QPalette::Window,
                   fundo);
        w->setAutoFillBackground(true);
    }
    if (texto.isValid()) {
        p.setColor(QPalette::WindowText, texto);
        p.setColor(QPalette::Text, texto);
        p.setColor(QPalette::ButtonText, texto);
    }
    w->setPalette(p);
}

inline const QColor kAzulMarinho{0, 0, 128};

// A navy title bar with white bold text, as the panels carry.
inline QLabel* barraTitulo(QWidget* pai, const QString& texto) {
    auto* l = new QLabel(texto, pai);
    l->setAlignment(Qt::AlignCenter);
    l->setFont(arial(13, true));
    pinta(l, kAzulMarinho, Qt::white);
    return l;
}

}  // namespace aparencia
