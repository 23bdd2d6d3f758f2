#pragma once
// A multi-line plain text box bound to a text field (a help page). Typing starts
// an edit of the record when autoEdit is on; the text reaches the field when the
// box is left or the dataset asks for it before a post. Line breaks are stored as
// CR LF, the workstation's text convention; the box shows them as plain breaks.
#include "form/widgets/ligacao.h"

#include <QTextEdit>
#include <functional>
#include <string>

class QMenu;

namespace widgets {

class DBRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit DBRichEdit(QWidget* parent = nullptr);

    void liga(dados::DataSource* fonte, std::string campo);
    dados::DataSource* fonte() const { return ligacao_.fonte(); }
    dados::Campo* campo() const { return ligacao_.campo(); }

    void setReadOnly(bool somenteLeitura);
    bool isReadOnly() const { return somenteLeitura_; }
    void setAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
    bool autoEdit() const { return autoEdit_; }
    void setContextMenu(QMenu* menu) { menu_ = menu; }

    // The text as the field stores it: Windows-1252, CR LF line breaks. Its size
    // is the length the field will hold.
    std::string texto() const;

    void gravaNoCampo();
    void mostraCampo();

    // Every change of the text, typed or shown from the field.
    std::function<void()> OnChange;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void atualiza(LigacaoCampo::Mudanca m);
    void ajustaTrava();
    bool mostraOCampo() const;

    LigacaoCampo ligacao_;
    Foco foco_;
    bool somenteLeitura_ = false;
    bool autoEdit_ = true;
    bool modificado_ = false;
    bool mostrando_ = false;
    QMenu* menu_ = nullptr;
};

}  // namespace widgets
