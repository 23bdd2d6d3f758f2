#pragma once
// The record navigator: ten buttons over a data source, enabled as the dataset's
// state allows. It is no tab stop and its buttons never take the focus, so the
// edit the user is in keeps it while a record is inserted, edited or posted.
#include "form/widgets/ligacao.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class QMenu;
class QToolButton;

namespace widgets {

class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Botao { Primeiro, Anterior, Proximo, Ultimo, Inserir, Excluir, Editar, Gravar, Cancelar, Atualizar };
    static constexpr int quantidadeBotoes = 10;

    explicit DBNavigator(QWidget* parent = nullptr);

    void liga(dados::DataSource* fonte);
    dados::DataSource* fonte() const { return fonte_; }
    QToolButton* botao(Botao b) const { return botoes_[static_cast<std::size_t>(b)]; }

    // What a click on the button does; a delete asks "Delete record?" first.
    // Errors go to the general error handler.
    void clica(Botao b);

    // Whether the buttons that start a change (insert, delete, edit) may be used;
    // the others follow the dataset all the same. Off while something lies over
    // the record the change would be made on.
    void permiteAlteracoes(bool permite);

    void setContextMenu(QMenu* menu) { menu_ = menu; }
    std::function<void()> OnEnter, OnContextPopup;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    void atualiza();

    QPointer<dados::DataSource> fonte_;
    std::array<QToolButton*, quantidadeBotoes> botoes_{};
    QMenu* menu_ = nullptr;
    Foco foco_;
    bool permiteAlteracoes_ = true;
};

}  // namespace widgets
