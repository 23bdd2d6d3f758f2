#include "platform/clock.h"

#include "platform/text.h"

#include <QLocale>
#include <cstdio>

namespace plataforma {
namespace {
std::optional<QDateTime> g_relogio;

// Reads one to four digits starting at pos; -1 when none.
int numero(const std::string& t, std::size_t& pos, int maxDigitos) {
    int v = 0, n = 0;
    while (pos < t.size() && n < maxDigitos && t[pos] >= '0' && t[pos] <= '9') {
        v = v * 10 + (t[pos] - '0');
        ++pos;
        ++n;
    }
    return n == 0 ? -1 : v;
}

// The order of day, month and year in the locale's short date format, as the
// letters of its fields ("Mdy" for "M/d/yy"); day first when one is missing.
std::string ordemDaData() {
    std::string ordem;
    bool literal = false;  // inside quotes
    for (QChar c : QLocale().dateFormat(QLocale::ShortFormat)) {
        if (c == QLatin1Char('\'')) literal = !literal;
        else if (!literal && (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
                 ordem.find(c.toLatin1()) == std::string::npos)
            ordem += c.toLatin1();
    }
    return ordem.size() == 3 ? ordem : "dMy";
}

// Day, month and year in the given order, separated by the locale's date
// separator: one or two digits each, the year up to four (two taken as 20yy).
std::optional<QDate> leData(const std::string& texto, const std::string& ordem) {
    const std::string t(plataforma::apara(texto));
    const char s = separadorData();
    std::size_t pos = 0;
    int dia = 0, mes = 0, ano = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0 && (pos >= t.size() || t[pos++] != s)) return std::nullopt;
        const std::size_t inicio = pos;
        const int v = numero(t, pos, ordem[i] == 'y' ? 4 : 2);
        if (v < 0) return std::nullopt;
        if (ordem[i] == 'd') dia = v;
        else if (ordem[i] == 'M') mes = v;
        else ano = pos - inicio <= 2 ? 2000 + v : v;
    }
    if (pos != t.size()) return std::nullopt;
    const QDate r(ano, mes, dia);
    if (!r.isValid()) return std::nullopt;
    return r;
}

// The first punctuation character between the fields of a format.
char separadorDoFormato(const QString& formato, char reserva) {
    for (QChar c : formato)
        if (c.isPunct() && c != QLatin1Char('\'') && c.unicode() < 0x80) return static_cast<char>(c.unicode());
    return reserva;
}
}  // namespace

QDateTime agora() { return g_relogio ? *g_relogio : QDateTime::currentDateTime(); }
void defineRelogio(std::optional<QDateTime> momento) { g_relogio = std::move(momento); }

char separadorData() { return separadorDoFormato(QLocale().dateFormat(QLocale::ShortFormat), '/'); }
char separadorHora() { return separadorDoFormato(QLocale().timeFormat(QLocale::ShortFormat), ':'); }

std::string formataData(const QDate& d) {
    const char s = separadorData();
    char b[16];
    std::snprintf(b, sizeof b, "%02d%c%02d%c%02d", d.day() % 100, s, d.month() % 100, s, d.year() % 100);
    return b;
}

std::string formataHora(const QTime& t) {
    const char s = separadorHora();
    char b[16];
    std::snprintf(b, sizeof b, "%02d%c%02d%c%02d", t.hour() % 100, s, t.minute() % 100, s, t.second() % 100);
    return b;
}

std::optional<QDate> converteData(const std::string& texto) { return leData(texto, "dMy"); }

std::optional<QDate> converteDataCurta(const std::string& texto) { return leData(texto, ordemDaData()); }

std::optional<QTime> converteHora(const std::string& texto) {
    const std::string t(plataforma::apara(texto));
    const char sep = separadorHora();
    std::size_t pos = 0;
    const int h = numero(t, pos, 2);
    if (h < 0 || pos >= t.size() || t[pos++] != sep) return std::nullopt;
    const int m = numero(t, pos, 2);
    if (m < 0) return std::nullopt;
    int s = 0;
    if (pos < t.size()) {
        if (t[pos++] != sep) return std::nullopt;
        s = numero(t, pos, 2);
        if (s < 0) return std::nullopt;
    }
    if (pos != t.size()) return std::nullopt;
    QTime r(h, m, s);
    if (!r.isValid()) return std::nullopt;
    return r;
}

}  // namespace plataforma
