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

std::optional<QDate> converteData(const std::string& texto) {
    const std::string t(plataforma::apara(texto));
    const char s = separadorData();
    std::size_t pos = 0;
    const int d = numero(t, pos, 2);
    if (d < 0 || pos >= t.size() || t[pos++] != s) return std::nullopt;
    const int m = numero(t, pos, 2);
    if (m < 0 || pos >= t.size() || t[pos++] != s) return std::nullopt;
    const std::size_t inicioAno = pos;
    int a = numero(t, pos, 4);
    if (a < 0 || pos != t.size()) return std::nullopt;
    if (pos - inicioAno <= 2) a += 2000;
    QDate r(a, m, d);
    if (!r.isValid()) return std::nullopt;
    return r;
}

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
