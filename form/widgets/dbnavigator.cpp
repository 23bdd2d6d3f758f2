#include "form/widgets/dbnavigator.h"

#include "form/widgets/ligacao.h"
#include "platform/messages.h"
#include "platform/program.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>

namespace widgets {

namespace {
struct Desenho {
    const char* nome;
    const char* glifo;   // UTF-8
    const char* titulo;  // UTF-8: the button's accessible name and tooltip
    // A key that no control of the windows gives a meaning to (Enter, Esc, Tab,
    // Ctrl+Delete, F1, an editor's own keys such as Ctrl+Z or Ctrl+E).
    QKeyCombination tecla;
};
const std::array<Desenho, DBNavigator::quantidadeBotoes> kBotoes{{
    {"primeiro", "|\u25C0", "Primeiro", Qt::CTRL | Qt::Key_Home},
    {"anterior", "\u25C0", "Anterior", Qt::CTRL | Qt::Key_PageUp},
    {"proximo", "\u25B6", "Pr\u00F3ximo", Qt::CTRL | Qt::Key_PageDown},
    {"ultimo", "\u25B6|", "\u00DAltimo", Qt::CTRL | Qt::Key_End},
    {"inserir", "+", "Incluir", Qt::CTRL | Qt::Key_N},
    {"excluir", "\u2212", "Excluir", Qt::CTRL | Qt::SHIFT | Qt::Key_Delete},
    {"editar", "\u25B2", "Editar", QKeyCombination(Qt::Key_F2)},
    {"gravar", "\u2713", "Gravar", Qt::CTRL | Qt::Key_S},
    {"cancelar", "\u2715", "Cancelar", Qt::CTRL | Qt::SHIFT | Qt::Key_Backspace},
    {"atualizar", "\u21BB", "Atualizar", QKeyCombination(Qt::Key_F5)},
}};
}  // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Navegador"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < quantidadeBotoes; ++i) {
        const Desenho& d = kBotoes[static_cast<std::size_t>(i)];
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(d.nome));
        b->setText(QString::fromUtf8(d.glifo));
        b->setAccessibleName(QString::fromUtf8(d.titulo));
        const QKeySequence tecla(d.tecla);
        b->setToolTip(
            QStringLiteral("%1 (%2)").arg(QString::fromUtf8(d.titulo), tecla.toString(QKeySequence::NativeText)));
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setEnabled(false);
        connect(b, &QToolButton::clicked, this, [this, i] { clica(static_cast<Botao>(i)); });
        // Held by the button: the key works only while the button could be
        // clicked (enabled and shown, its window active) and then is that click.
        auto* atalho = new QShortcut(tecla, b);
        connect(atalho, &QShortcut::activated, b, &QToolButton::click);
        layout->addWidget(b);
        b->installEventFilter(this);  // the menu of a disabled button
        botoes_[static_cast<std::size_t>(i)] = b;
    }
}

void DBNavigator::liga(dados::DataSource* fonte) {
    if (fonte_) fonte_->disconnect(this);
    fonte_ = fonte;
    if (fonte_) {
        connect(fonte_, &dados::DataSource::dataChanged, this, &DBNavigator::atualiza);
        connect(fonte_, &dados::DataSource::stateChanged, this, &DBNavigator::atualiza);
    }
    atualiza();
}

void DBNavigator::atualiza() {
    dados::ClientDataSet* ds = fonte_ ? fonte_->dataset() : nullptr;
    const bool ativo = ds && ds->active();
    const bool editando =
        ativo && (ds->state() == dados::Estado::Editando || ds->state() == dados::Estado::Inserindo);
    const bool navegando = ativo && !editando;
    const bool temLinhas = ativo && !ds->isEmpty();
    botao(Primeiro)->setEnabled(navegando && !ds->bof());
    botao(Anterior)->setEnabled(navegando && !ds->bof());
    botao(Proximo)->setEnabled(navegando && !ds->eof());
    botao(Ultimo)->setEnabled(navegando && !ds->eof());
    botao(Inserir)->setEnabled(navegando && permiteAlteracoes_);
    botao(Excluir)->setEnabled(navegando && temLinhas && permiteAlteracoes_);
    botao(Editar)->setEnabled(navegando && temLinhas && permiteAlteracoes_);
    botao(Gravar)->setEnabled(editando);
    botao(Cancelar)->setEnabled(editando);
    botao(Atualizar)->setEnabled(navegando);
}

void DBNavigator::permiteAlteracoes(bool permite) {
    if (permite == permiteAlteracoes_) return;
    permiteAlteracoes_ = permite;
    atualiza();
}

void DBNavigator::clica(Botao b) {
    dados::ClientDataSet* ds = fonte_ ? fonte_->dataset() : nullptr;
    if (!ds) return;
    plataforma::protegido([&] {
        switch (b) {
        case Primeiro: ds->first(); break;
        case Anterior: ds->prior(); break;
        case Proximo: ds->next(); break;
        case Ultimo: ds->last(); break;
        case Inserir: ds->insert(); break;
        case Excluir:
            if (plataforma::confirmaOkCancela("Delete record?")) ds->remove();
            break;
        case Editar: ds->edit(); break;
        case Gravar: ds->post(); break;
        case Cancelar: ds->cancel(); break;
        case Atualizar: ds->refresh(); break;
        }
    });
    atualiza();  // bof/eof can change without the row changing
}

void DBNavigator::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (foco_.entrou(*e) && OnEnter) plataforma::protegido(OnEnter);
}

void DBNavigator::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    foco_.saiu(*e);
}

// A disabled button takes no right-click: the navigator's menu is offered for
// it all the same.
bool DBNavigator::eventFilter(QObject* objeto, QEvent* e) {
    auto* b = qobject_cast<QWidget*>(objeto);
    if (e->type() == QEvent::ContextMenu && b && !b->isEnabled()) {
        contextMenuEvent(static_cast<QContextMenuEvent*>(e));
        return true;
    }
    return QWidget::eventFilter(objeto, e);
}

void DBNavigator::contextMenuEvent(QContextMenuEvent* e) {
    if (OnContextPopup) plataforma::protegido(OnContextPopup);
    if (menu_) menu_->popup(e->globalPos());
    e->accept();
}

}  // namespace widgets
