#include "form/widgets/dbedit.h"

#include "platform/program.h"
#include "platform/text.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <utility>

namespace widgets {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    setMouseTracking(true);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!mostrando_) modificado_ = true;
    });
}

void DBEdit::liga(dados::DataSource* fonte, std::string campo) {
    if (ligacao_.fonte()) ligacao_.fonte()->disconnect(this);
    ligacao_.liga(fonte, std::move(campo));
    ligacao_.observa(this, [this](LigacaoCampo::Mudanca m) { atualiza(m); });
    if (fonte) connect(fonte, &dados::DataSource::updateRecord, this, &DBEdit::gravaNoCampo);
    mostraCampo();
}

void DBEdit::setReadOnly(bool somenteLeitura) {
    somenteLeitura_ = somenteLeitura;
    ajustaTrava();
}

std::string DBEdit::texto() const { return plataforma::deQString(text()); }

void DBEdit::defineTexto(const std::string& texto) { setText(plataforma::paraQString(texto)); }

void DBEdit::gravaNoCampo() {
    auto* c = campo();
    if (!modificado_ || !c || !ligacao_.editando()) return;
    c->defineTexto(texto());
    modificado_ = false;
}

void DBEdit::mostraCampo() { atualiza(LigacaoCampo::Mudanca::Registro); }

void DBEdit::atualiza(LigacaoCampo::Mudanca m) {
    // A key typed here that puts the record into editing goes where the caret
    // is, over the selection the user sees: the text stays. Any other change
    // shows the field again; an edit started elsewhere shows the record's
    // values, not a text a rule left in the edit while browsing.
    const bool manter = m == LigacaoCampo::Mudanca::Estado && comecandoEdicao_;
    if (!manter) {
        auto* c = campo();
        setAlignment((c && numerico(c->tipo()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        mostrando_ = true;
        setMaxLength(c && c->tipo() == dados::TipoCampo::Texto && c->tamanho() > 0 ? c->tamanho() : 32767);
        const QString t = plataforma::paraQString(ligacao_.texto(comCursor_));
        if (t != text()) setText(t);
        mostrando_ = false;
        modificado_ = false;
    }
    ajustaTrava();
}

void DBEdit::ajustaTrava() {
    QLineEdit::setReadOnly(somenteLeitura_ || (ligacao_.ligado() && !ligacao_.editando()));
}

bool DBEdit::mostraOCampo() const {
    return !ligacao_.ligado() || text() == plataforma::paraQString(ligacao_.texto(comCursor_));
}

bool DBEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        if (seguraEsc(e, !mostraOCampo())) return true;
        // A line edit claims Ctrl+Home and Ctrl+End but does nothing with them:
        // they are left to the window's keys (the navigator's first and last record).
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->matches(QKeySequence::MoveToStartOfDocument) || k->matches(QKeySequence::MoveToEndOfDocument)) {
            e->ignore();
            return false;
        }
    }
    // A disabled widget takes no right-click; its menu is still offered here.
    if (e->type() == QEvent::ContextMenu && !isEnabled() && menu_) {
        contextMenuEvent(static_cast<QContextMenuEvent*>(e));
        return true;
    }
    return QLineEdit::event(e);
}

void DBEdit::keyPressEvent(QKeyEvent* e) {
    const Tecla tecla = teclaDe(*e);
    char c = tecla.caractere;
    if (!passaPeloGancho(OnKeyPress, c)) {
        e->accept();
        return;
    }
    if (!tecla.representavel || (imprimivel(c) && campo() && !caractereAceito(campo()->tipo(), c))) {
        plataforma::bipe();
        e->accept();
        return;
    }
    if (c == 27) {
        if (mostraOCampo()) {
            e->ignore();
            return;
        }
        mostraCampo();
        selectAll();
        e->accept();
        return;
    }
    if ((imprimivel(c) || alteraTexto(*e)) && !somenteLeitura_ && ligacao_.ligado() && !ligacao_.editando()) {
        const QScopedValueRollback<bool> comecando(comecandoEdicao_, true);
        if (!ligacao_.comecaEdicao(autoEdit_)) {
            e->accept();  // the record cannot take the change
            return;
        }
    }
    if (c != tecla.caractere) {
        QKeyEvent substituta = eventoDeTecla(c, *e);
        QLineEdit::keyPressEvent(&substituta);
        e->setAccepted(substituta.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void DBEdit::focusInEvent(QFocusEvent* e) {
    // The plain value to type into, in place before the edit selects its text.
    comCursor_ = true;
    if (!modificado_) mostraCampo();
    QLineEdit::focusInEvent(e);
    if (foco_.entrou(*e) && OnEnter) plataforma::protegido(OnEnter);
}

void DBEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (!foco_.saiu(*e)) return;
    try {
        gravaNoCampo();
    } catch (const std::exception& erro) {
        // A text that is not a value keeps the user in the edit to correct it: for
        // the form's handlers the edit was never left. The caret goes back before
        // the message shows, so the control the focus was on its way to is never
        // entered, whenever the window manager gives the window back.
        retomaFoco();
        selectAll();
        plataforma::trataErro(erro);
        return;
    }
    if (OnExit) plataforma::protegido(OnExit);
    // The display format again, once the exit rule has read the typed value,
    // unless it took the caret back.
    if (window()->focusWidget() != this) {
        comCursor_ = false;
        if (!modificado_) mostraCampo();
    }
}

void DBEdit::retomaFoco() {
    if (hasFocus()) return;
    foco_.retoma();
    setFocus(Qt::OtherFocusReason);
}

void DBEdit::mouseReleaseEvent(QMouseEvent* e) {
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        plataforma::protegido(OnClick);
}

void DBEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    QLineEdit::mouseDoubleClickEvent(e);
    if (OnDblClick) plataforma::protegido(OnDblClick);
}

void DBEdit::mouseMoveEvent(QMouseEvent* e) {
    QLineEdit::mouseMoveEvent(e);
    if (OnMouseMove) plataforma::protegido(OnMouseMove);
}

void DBEdit::contextMenuEvent(QContextMenuEvent* e) {
    if (OnContextPopup) plataforma::protegido(OnContextPopup);
    if (menu_) {
        menu_->popup(e->globalPos());
    } else {
        QMenu* padrao = createStandardContextMenu();
        padrao->setAttribute(Qt::WA_DeleteOnClose);
        padrao->popup(e->globalPos());
    }
    e->accept();
}

}  // namespace widgets
