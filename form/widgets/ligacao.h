#pragma once
// What the data-aware controls share: the field they show and the keys they
// turn into characters for the form's key handlers.
#include "data/dataset.h"

#include <QPointer>
#include <functional>
#include <string>

class QEvent;
class QFocusEvent;
class QKeyEvent;
class QObject;

namespace widgets {

// A data source and the name of one field of its dataset. The field object is
// looked up on every use: opening a dataset without a fixed field list makes
// new field objects.
class LigacaoCampo {
public:
    void liga(dados::DataSource* fonte, std::string campo);
    dados::DataSource* fonte() const { return fonte_; }
    const std::string& nomeCampo() const { return nome_; }
    dados::ClientDataSet* dataset() const { return fonte_ ? fonte_->dataset() : nullptr; }
    dados::Campo* campo() const;  // nullptr when closed, unbound or absent

    bool ligado() const { return dataset() != nullptr; }
    bool editando() const;     // the record is being edited or inserted
    bool temRegistro() const;  // there is a current row to show
    // The field's text: its plain value while the record is edited and the
    // control is being typed into (`digitando`), else its display format;
    // empty without a row.
    std::string texto(bool digitando = true) const;
    // Puts the record into editing (for a control whose user starts typing);
    // true when the record can then take the change.
    bool comecaEdicao(bool autoEdit) const;

    enum class Mudanca { Registro, Estado, Campo };
    // Calls `aviso` for every change the bound field's control must show; the
    // connections end with `contexto`.
    void observa(QObject* contexto, std::function<void(Mudanca)> aviso) const;

private:
    QPointer<dados::DataSource> fonte_;
    std::string nome_;
};

// Tells the user's own entering and leaving of a control from the focus that
// goes away and comes back with its window (a message box, a popup menu). The
// first focus of a window that is shown is an entry.
//
// Entries and exits pair up: a control the focus only passed through on its way
// elsewhere (Qt names it the focus widget before the previous one has been
// left, and a rule run on that leaving may send the focus on) never saw an
// entry, so losing the focus is no exit of it. Under a window manager the
// window gets its activation back only after the handler that showed a box has
// returned: the focus then arrives "with the window" at a control that may
// never have had it, which is an entry like any other.
class Foco {
public:
    bool entrou(const QFocusEvent& e);  // true: the form's enter handler runs
    bool saiu(const QFocusEvent& e);    // true: the form's exit handler runs
    // The next arrival of the focus is the program putting the caret back into
    // the control after a refused leaving: for the form it was never left.
    void retoma() { retomando_ = true; }

private:
    bool dentro_ = false;      // entered, not yet left
    bool comAJanela_ = false;  // the focus left with the window while entered
    bool retomando_ = false;
};

// The character a key types, as the form's key-press handlers receive it: one
// Windows-1252 byte; Enter 13, Esc 27, Backspace 8, Ctrl+A..Z 1..26; 0 for keys
// that type nothing. `representavel` is false for a character outside
// Windows-1252 (the program cannot store it).
struct Tecla {
    char caractere = 0;
    bool representavel = true;
};
Tecla teclaDe(const QKeyEvent& e);
bool imprimivel(char c);
// A key press that types `c` (13 Enter, 27 Esc, 8 Backspace, others as text).
QKeyEvent eventoDeTecla(char c, const QKeyEvent& original);
bool numerico(dados::TipoCampo tipo);  // shown right-aligned
// Whether a printable character can be part of a value of the field's type.
bool caractereAceito(dados::TipoCampo tipo, char c);
// Keys that change the text without typing a character (Delete, paste, cut).
bool alteraTexto(const QKeyEvent& e);

// Runs the form's key handler on the key's character; false when the handler
// consumed it (set it to 0) or failed.
bool passaPeloGancho(const std::function<void(char&)>& gancho, char& c);

// Esc is first offered to the form's shortcuts (its cancel button); a control
// keeps it only when there is typed text to put back. True when `e` is that
// Esc and was taken.
bool seguraEsc(QEvent* e, bool textoDigitado);

}  // namespace widgets
