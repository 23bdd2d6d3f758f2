#pragma once
// Column values as the program holds them: exact decimals stay scaled integers,
// floats stay double, text is Windows-1252 bytes.
#include <QDateTime>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace regras {

// An exact decimal: unidades × 10^-escala (escala 0..18).
struct Decimal {
    std::int64_t unidades = 0;
    int escala = 0;

    double comoReal() const;
    // The same value at another scale; rounding half away from zero when digits drop.
    Decimal naEscala(int novaEscala) const;
    // A double brought to `escala` places, rounding half away from zero.
    static Decimal deReal(double v, int escala);
    // Plain text with '.' or the given decimal separator ("0.25", "-3", "1.00000000" keeps
    // its scale). nullopt when the text is not a number or does not fit.
    static std::optional<Decimal> deTexto(std::string_view texto, char separadorDecimal = '.',
                                          int escala = -1);
    std::string comoTexto(char separadorDecimal = '.') const;
    friend bool operator==(const Decimal& a, const Decimal& b);  // equal values
};

struct Blob {
    std::string bytes;
    friend bool operator==(const Blob&, const Blob&) = default;
};

// A date or timestamp of the database: a clock's reading with no zone, held as
// UTC, which has no gaps. Held in local time, the days without a local midnight
// (daylight saving time began at 00:00 in Sao Paulo) would be lost.
inline QDateTime dataHora(const QDate& data, const QTime& hora = QTime(0, 0)) {
    return QDateTime(data, hora, Qt::UTC);
}

using Valor = std::variant<std::monostate, std::string, std::int32_t, std::int64_t, Decimal, double,
                           QDateTime, Blob>;

inline bool nulo(const Valor& v) { return std::holds_alternative<std::monostate>(v); }

}  // namespace regras
