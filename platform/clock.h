#pragma once
// The current moment, settable in tests, and the suite's date/time patterns
// "dd/mm/yy" and "hh:nn:ss", whose '/' and ':' are the locale's separators.
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <optional>
#include <string>

namespace plataforma {

QDateTime agora();
void defineRelogio(std::optional<QDateTime> momento);  // tests

// The separators of the locale's short date and time formats ('/' and ':' when
// the format has none, as the C locale's "d MMM yyyy").
char separadorData();
char separadorHora();

std::string formataData(const QDate& d);   // dd/mm/yy
std::string formataHora(const QTime& t);   // hh:nn:ss
// The reverse, with the same conventions; nullopt when the text does not convert.
// A two-digit year is taken as 20yy.
std::optional<QDate> converteData(const std::string& texto);
std::optional<QTime> converteHora(const std::string& texto);
// A date in the locale's short date format, as the suite's other modules write
// it: day, month and year in the format's order ("M/d/yy" is month first) with
// its separator, the same digits as converteData reads.
std::optional<QDate> converteDataCurta(const std::string& texto);

}  // namespace plataforma
