#include "form/widgets/dbrotulo.h"

#include "platform/text.h"

namespace widgets {

DBRotulo::DBRotulo(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
}

void DBRotulo::liga(dados::DataSource* fonte, std::string campo) {
    if (ligacao_.fonte()) ligacao_.fonte()->disconnect(this);
    ligacao_.liga(fonte, std::move(campo));
    ligacao_.observa(this, [this](LigacaoCampo::Mudanca) { mostraCampo(); });
    mostraCampo();
}

std::string DBRotulo::texto() const { return plataforma::deQString(text()); }

void DBRotulo::mostraCampo() { setText(plataforma::paraQString(ligacao_.texto())); }

}  // namespace widgets
