#pragma once
// A line edit bound to one field of a dataset.
//
// It shows the field in its display format, and its plain value while the
// record is edited or inserted and the caret is in the edit. Typing a character starts
// an edit of the record (when the edit is writable and autoEdit is on); a
// character that cannot be part of a value of the field's type is refused with a
// beep. Typed text reaches the field when the edit is left or when the dataset
// asks for it (before a post, or a move that ends the edit). Esc puts the
// field's value back and selects it; when there is nothing to put back, Esc goes
// on to the form (its cancel button).
#include "form/widgets/ligacao.h"

#include <QLineEdit>
#include <functional>
#include <string>

class QMenu;

namespace widgets {

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void liga(dados::DataSource* fonte, std::string campo);
    dados::DataSource* fonte() const { return ligacao_.fonte(); }
    const std::string& nomeCampo() const { return ligacao_.nomeCampo(); }
    dados::Campo* campo() const { return ligacao_.campo(); }

    // Read-only as the form sets it. Besides, the text cannot change while the
    // record is not being edited (typing first starts the edit).
    void setReadOnly(bool somenteLeitura);
    bool isReadOnly() const { return somenteLeitura_; }
    void setAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
    bool autoEdit() const { return autoEdit_; }

    // The menu shown on a right-click, even while the edit is disabled (it is the
    // help of the field); without one, the standard edit menu.
    void setContextMenu(QMenu* menu) { menu_ = menu; }

    // The text as the program holds it (Windows-1252).
    std::string texto() const;
    void defineTexto(const std::string& texto);

    // Writes typed text into the field (the record must be edited or inserted);
    // throws when the text is not a value of the field.
    void gravaNoCampo();
    // Shows the field again, dropping typed text not yet written.
    void mostraCampo();
    // Puts the caret back here after a refused leaving (the field at fault, its
    // message shown): for the form the edit was never left, so its enter
    // handler does not run when the focus arrives, now or when the window gets
    // its activation back.
    void retomaFoco();
    // A key typed here is putting the record into editing (the handlers of that
    // run know the user is typing into this edit).
    bool comecandoEdicao() const { return comecandoEdicao_; }

    // The form's handlers. OnKeyPress receives the typed character and may set it
    // to 0 to consume it; OnContextPopup runs before the context menu opens.
    std::function<void()> OnEnter, OnExit, OnClick, OnDblClick, OnMouseMove, OnContextPopup;
    std::function<void(char&)> OnKeyPress;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void atualiza(LigacaoCampo::Mudanca m);
    void ajustaTrava();
    bool mostraOCampo() const;  // the text is the field's, nothing typed over it

    LigacaoCampo ligacao_;
    Foco foco_;
    bool somenteLeitura_ = false;
    bool autoEdit_ = true;
    bool modificado_ = false;   // text changed since the field was last shown
    bool mostrando_ = false;    // the text is being set from the field
    bool comCursor_ = false;    // the caret is here, though its window may be inactive
    bool comecandoEdicao_ = false;
    QMenu* menu_ = nullptr;
};

}  // namespace widgets
