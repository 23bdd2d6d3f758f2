#pragma once
// The help window: the pages of the current help subject, one at a time, each
// editable in place. Pages are added and deleted from the text's context menu,
// every change is stored at once, and the window keeps its placement in
// Tutorial.ini. The main window creates one for each help request and shows it
// modally.
#include <QDialog>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace dados {
class DM;
}
namespace widgets {
class DBRichEdit;
class DBRotulo;
}  // namespace widgets

namespace ajuda {

inline constexpr int kLimitePagina = 1000;  // characters a page holds

// What the user is told when a page could not be stored at close.
std::string mensagemPaginaNaoGravada(const std::string& mensagemBanco);

}  // namespace ajuda

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(dados::DM* dm, QWidget* parent = nullptr);
    ~Form2() override;

    void FormActivate();
    void FormClose();
    void FormResize();
    void DBRichEdit1Change();
    void Incluirnovapgina1Click();
    void Excluirpginacorrente1Click();
    void BitBtn1Click();  // next page
    void BitBtn2Click();  // previous page

    // Pages of the subject held by the database; the first page offered for a
    // new subject does not count until it is stored.
    int paginasGravadas() const;

    widgets::DBRotulo* DBEdit1 = nullptr;  // the subject
    widgets::DBRichEdit* DBRichEdit1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Aviso = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Incluirnovapgina1 = nullptr;
    QAction* Excluirpginacorrente1 = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void done(int resultado) override;

private:
    void ajustaBotoes();
    void encerraEdicao();  // stores a changed page, drops an unchanged edit

    dados::DM* dm_;
    bool ativada_ = false;
    bool fechada_ = false;
};
