#pragma once
// Numbers as the workstation writes them: plain values for editing and the
// display masks of the field lists. The masks ("#,##0.0000") use ',' for the
// locale's thousands separator, '.' for its decimal separator, '0' for a digit
// always shown and '#' for a digit shown only when significant.
// formataNumero, formataDecimal and the separators are declared in dataset.h.
#include "data/valor.h"
#include "rules/numeros.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dados {

using regras::leDecimal;
using regras::leInteiro;
using regras::leReal;
using regras::semSeparadorMilhar;

// Plain text for editing: no thousands separators, no trailing zeros after the
// decimal separator ("1234,5", "0,25", "3").
std::string textoDecimal(const Decimal& d, char separador);
std::string textoReal(double v, char separador);  // shortest text that reads back the same
// Their reverse, and typed text without its thousands separators: rules/numeros.h.

// Dates and times as the workstation writes them: its short date with a
// four-digit year, the time (when not midnight) with its time separator.
QString formatoData();
std::string textoDataHora(const QDateTime& h);
std::optional<QDateTime> leDataHora(const std::string& texto);

}  // namespace dados
