#include "form/widgets/ligacao.h"

#include "platform/program.h"
#include "platform/text.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <utility>

namespace widgets {

using dados::Estado;

void LigacaoCampo::liga(dados::DataSource* fonte, std::string campo) {
    fonte_ = fonte;
    nome_ = std::move(campo);
}

dados::Campo* LigacaoCampo::campo() const {
    auto* ds = dataset();
    return ds && ds->active() && !nome_.empty() ? ds->campo(nome_) : nullptr;
}

bool LigacaoCampo::editando() const {
    auto* ds = dataset();
    return ds && (ds->state() == Estado::Editando || ds->state() == Estado::Inserindo);
}

bool LigacaoCampo::temRegistro() const {
    auto* ds = dataset();
    return ds && ds->active() && ds->recNo() > 0;
}

std::string LigacaoCampo::texto(bool digitando) const {
    auto* c = campo();
    if (!c || !temRegistro()) return {};
    return editando() && digitando ? c->comoTexto() : c->textoExibicao();
}

bool LigacaoCampo::comecaEdicao(bool autoEdit) const {
    if (editando()) return true;
    auto* ds = dataset();
    if (!autoEdit || !ds || !ds->active() || !campo()) return false;
    plataforma::protegido([&] { ds->edit(); });
    return editando();
}

void LigacaoCampo::observa(QObject* contexto, std::function<void(Mudanca)> aviso) const {
    if (!fonte_) return;
    QObject::connect(fonte_, &dados::DataSource::dataChanged, contexto, [aviso] { aviso(Mudanca::Registro); });
    QObject::connect(fonte_, &dados::DataSource::stateChanged, contexto, [aviso] { aviso(Mudanca::Estado); });
    QObject::connect(fonte_, &dados::DataSource::fieldChanged, contexto,
                     [this, aviso](const dados::Campo* c) {
                         if (c && c == campo()) aviso(Mudanca::Campo);
                     });
}

namespace {
bool daJanela(const QFocusEvent& e) {
    return e.reason() == Qt::ActiveWindowFocusReason || e.reason() == Qt::PopupFocusReason;
}
}  // namespace

bool Foco::entrou(const QFocusEvent& e) {
    // Back with the window, put back by the program, or arriving once more at a
    // control already entered (the window came back before the move that was
    // under way when a box showed): no new entry.
    const bool volta = std::exchange(retomando_, false) || (dentro_ && (!comAJanela_ || daJanela(e)));
    dentro_ = true;
    comAJanela_ = false;
    return !volta;
}

bool Foco::saiu(const QFocusEvent& e) {
    if (!dentro_) return false;
    comAJanela_ = daJanela(e);
    if (comAJanela_) return false;
    dentro_ = false;
    return true;
}

Tecla teclaDe(const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return {13};
    case Qt::Key_Escape: return {27};
    case Qt::Key_Backspace: return {8};
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return {0};
    default: break;
    }
    const auto mods = e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
        return {static_cast<char>(e.key() - Qt::Key_A + 1)};
    const QString t = e.text();
    if (t.isEmpty() || t.at(0).unicode() < 0x20 || t.at(0).unicode() == 0x7F) return {0};
    const std::string b = plataforma::deQString(t);
    if (b.size() != 1 || (b[0] == '?' && t != QLatin1String("?"))) return {0, false};
    return {b[0]};
}

bool imprimivel(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u != 0x7F;
}

QKeyEvent eventoDeTecla(char c, const QKeyEvent& original) {
    const int tecla = c == 13 ? Qt::Key_Return : c == 27 ? Qt::Key_Escape : c == 8 ? Qt::Key_Backspace : Qt::Key_unknown;
    const QString texto = imprimivel(c) ? plataforma::paraQString(std::string(1, c)) : QString();
    return QKeyEvent(QEvent::KeyPress, tecla, original.modifiers(), texto);
}

bool numerico(dados::TipoCampo tipo) {
    return tipo == dados::TipoCampo::Inteiro || tipo == dados::TipoCampo::Decimal || tipo == dados::TipoCampo::Real;
}

bool caractereAceito(dados::TipoCampo tipo, char c) {
    const bool digito = c >= '0' && c <= '9';
    switch (tipo) {
    case dados::TipoCampo::Texto:
    case dados::TipoCampo::Blob: return true;
    case dados::TipoCampo::Inteiro: return digito || c == '+' || c == '-';
    // A thousands separator gets through: dropping it would read "0,05" as 5.
    // The field takes it only where it groups digits, or refuses the text.
    case dados::TipoCampo::Decimal:
    case dados::TipoCampo::Real:
        return digito || c == '+' || c == '-' || c == dados::separadorDecimal() || c == dados::separadorMilhar();
    case dados::TipoCampo::DataHora: return digito || c == '/' || c == ':' || c == ' ' || c == '-' || c == '.';
    }
    return true;
}

bool alteraTexto(const QKeyEvent& e) {
    return e.key() == Qt::Key_Delete || e.key() == Qt::Key_Backspace || e.matches(QKeySequence::Paste) ||
           e.matches(QKeySequence::Cut);
}

bool passaPeloGancho(const std::function<void(char&)>& gancho, char& c) {
    if (!gancho || c == 0) return true;
    bool executou = false;
    plataforma::protegido([&] {
        gancho(c);
        executou = true;
    });
    if (!executou) c = 0;
    return c != 0;
}

bool seguraEsc(QEvent* e, bool textoDigitado) {
    if (e->type() != QEvent::ShortcutOverride || !textoDigitado) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() != Qt::Key_Escape || k->modifiers() != Qt::NoModifier) return false;
    k->accept();
    return true;
}

}  // namespace widgets
