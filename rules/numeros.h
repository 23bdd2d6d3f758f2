#pragma once
// Numbers as they are typed on the workstation: one reading for every typed
// number, the fields' and the checks' alike.
#include "rules/value.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace regras {

// The reverse of textoDecimal and textoReal (data/formato.h). Leading and
// trailing blanks are ignored; a thousands separator is not accepted.
// leDecimal rounds half away from zero to `escala` places (escala < 0 keeps
// the text's places).
std::optional<Decimal> leDecimal(std::string_view texto, char separador, int escala);
std::optional<double> leReal(std::string_view texto, char separador);
std::optional<std::int64_t> leInteiro(std::string_view texto);

// Typed text without its thousands separators, taken only where they group the
// digits before the decimal separator in threes ("1,234.5", "-12,345"); a
// separator anywhere else ("0,05", "1,23") makes the text no number (nullopt),
// so that no typed number is read at another magnitude.
std::optional<std::string> semSeparadorMilhar(std::string_view texto, char decimal, char milhar);

// One Windows-1252 character for a locale's separator; `reserva` when the
// locale's character has no single-byte form (a narrow no-break space, say).
char caractereSeparador(const QString& s, char reserva);

}  // namespace regras
