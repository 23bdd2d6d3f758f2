#pragma once
// The current moment, settable in tests, and the suite's date/time patterns
// "dd/mm/yy" and "hh:nn:ss".
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <optional>
#include <string>

namespace plataforma {

QDateTime agora();
void defineRelogio(std::optional<QDateTime> momento);  // tests

std::string formataData(const QDate& d);   // dd/mm/yy
std::string formataHora(const QTime& t);   // hh:nn:ss
// The reverse, with the same conventions; nullopt when the text does not convert.
// A two-digit year is taken as 20yy.
std::optional<QDate> converteData(const std::string& texto);
std::optional<QTime> converteHora(const std::string& texto);

}  // namespace plataforma
