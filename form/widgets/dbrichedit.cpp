#include "form/widgets/dbrichedit.h"

#include "platform/program.h"
#include "platform/text.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>

namespace widgets {

namespace {
QString paraTela(const std::string& armazenado) {
    QString t = plataforma::paraQString(armazenado);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}
}  // namespace

DBRichEdit::DBRichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!mostrando_) modificado_ = true;
        if (OnChange) plataforma::protegido(OnChange);
    });
}

void DBRichEdit::liga(dados::DataSource* fonte, std::string campo) {
    if (ligacao_.fonte()) ligacao_.fonte()->disconnect(this);
    ligacao_.liga(fonte, std::move(campo));
    ligacao_.observa(this, [this](LigacaoCampo::Mudanca m) { atualiza(m); });
    if (fonte) connect(fonte, &dados::DataSource::updateRecord, this, &DBRichEdit::gravaNoCampo);
    mostraCampo();
}

void DBRichEdit::setReadOnly(bool somenteLeitura) {
    somenteLeitura_ = somenteLeitura;
    ajustaTrava();
}

std::string DBRichEdit::texto() const {
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return plataforma::deQString(t);
}

void DBRichEdit::gravaNoCampo() {
    auto* c = campo();
    if (!modificado_ || !c || !ligacao_.editando()) return;
    c->defineTexto(texto());
    modificado_ = false;
}

void DBRichEdit::mostraCampo() { atualiza(LigacaoCampo::Mudanca::Registro); }

void DBRichEdit::atualiza(LigacaoCampo::Mudanca m) {
    const bool manter = m == LigacaoCampo::Mudanca::Estado && modificado_ && ligacao_.editando();
    if (!manter) {
        const QString t = paraTela(ligacao_.texto());
        if (t != toPlainText()) {
            mostrando_ = true;
            setPlainText(t);
            mostrando_ = false;
        }
        modificado_ = false;
    }
    ajustaTrava();
}

void DBRichEdit::ajustaTrava() {
    const bool trava = somenteLeitura_ || (ligacao_.ligado() && !ligacao_.editando());
    QTextEdit::setReadOnly(trava);
    // A page browsed, not locked by the form, keeps its caret and the cursor
    // keys: the first key typed starts the edit where the caret is.
    if (trava && !somenteLeitura_)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

bool DBRichEdit::mostraOCampo() const {
    return !ligacao_.ligado() || toPlainText() == paraTela(ligacao_.texto());
}

bool DBRichEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && seguraEsc(e, !mostraOCampo())) return true;
    return QTextEdit::event(e);
}

void DBRichEdit::keyPressEvent(QKeyEvent* e) {
    const Tecla tecla = teclaDe(*e);
    const char c = tecla.caractere;
    if (!tecla.representavel) {
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
    if ((imprimivel(c) || c == 13 || alteraTexto(*e)) && !somenteLeitura_ && ligacao_.ligado() &&
        !ligacao_.comecaEdicao(autoEdit_)) {
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void DBRichEdit::focusInEvent(QFocusEvent* e) {
    QTextEdit::focusInEvent(e);
    foco_.entrou(*e);
}

void DBRichEdit::focusOutEvent(QFocusEvent* e) {
    QTextEdit::focusOutEvent(e);
    if (foco_.saiu(*e)) plataforma::protegido([this] { gravaNoCampo(); });
}

void DBRichEdit::contextMenuEvent(QContextMenuEvent* e) {
    if (menu_) {
        menu_->popup(e->globalPos());
        e->accept();
        return;
    }
    QTextEdit::contextMenuEvent(e);
}

}  // namespace widgets
