#pragma once
// Numbers as the workstation writes them: plain values for editing and the
// display masks of the field lists. The masks ("#,##0.0000") use ',' for the
// locale's thousands separator, '.' for its decimal separator, '0' for a digit
// always shown and '#' for a digit shown only when significant.
// formataNumero, formataDecimal and the separators are declared in dataset.h.
#include "data/valor.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dados {

// Plain text for editing: no thousands separators, no trailing zeros after the
// decimal separator ("1234,5", "0,25", "3").
std::string textoDecimal(const Decimal& d, char separador);
std::string textoReal(double v, char separador);  // shortest text that reads back the same

// The reverse of the two above. Leading and trailing blanks are ignored; a
// thousands separator is not accepted. leDecimal rounds half away from zero to
// `escala` places (escala < 0 keeps the text's places).
std::optional<Decimal> leDecimal(std::string_view texto, char separador, int escala);
std::optional<double> leReal(std::string_view texto, char separador);
std::optional<std::int64_t> leInteiro(std::string_view texto);

// Typed text without its thousands separators, taken only where they group the
// digits before the decimal separator in threes ("1,234.5", "-12,345"); a
// separator anywhere else ("0,05", "1,23") makes the text no number (nullopt),
// so that no typed number is read at another magnitude.
std::optional<std::string> semSeparadorMilhar(std::string_view texto, char decimal, char milhar);

// Dates and times as the workstation writes them: its short date with a
// four-digit year, the time (when not midnight) with its time separator.
QString formatoData();
std::string textoDataHora(const QDateTime& h);
std::optional<QDateTime> leDataHora(const std::string& texto);

}  // namespace dados
