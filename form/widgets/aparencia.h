#pragma once
// Fonts and colours shared by the windows and their panels.
#include <QColor>
#include <QFont>
#include <QLabel>
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

inline void pinta(QWidget* w, const QColor& fundo, const QColor& texto = QColor()) {
    QPalette p = w->palette();
    if (fundo.isValid()) {
        p.setColor(QPalette::Window, fundo);
        p.setColor(QPalette::Base, fundo);
        p.setColor(QPalette::Button, fundo);
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
