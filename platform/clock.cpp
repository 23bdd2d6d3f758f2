#include "platform/clock.h"

#include "platform/text.h"

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

}  // namespace

QDateTime agora() { return g_relogio ? *g_relogio : QDateTime::currentDateTime(); }
void defineRelogio(std::optional<QDateTime> momento) { g_relogio = std::move(momento); }

std::string formataData(const QDate& d) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d/%02d/%02d", d.day() % 100, d.month() % 100, d.year() % 100);
    return b;
}

std::string formataHora(const QTime& t) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", t.hour() % 100, t.minute() % 100, t.second() % 100);
    return b;
}

std::optional<QDate> converteData(const std::string& texto) {
    const std::string t(plataforma::apara(texto));
    std::size_t pos = 0;
    const int d = numero(t, pos, 2);
    if (d < 0 || pos >= t.size() || t[pos++] != '/') return std::nullopt;
    const int m = numero(t, pos, 2);
    if (m < 0 || pos >= t.size() || t[pos++] != '/') return std::nullopt;
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
    std::size_t pos = 0;
    const int h = numero(t, pos, 2);
    if (h < 0 || pos >= t.size() || t[pos++] != ':') return std::nullopt;
    const int m = numero(t, pos, 2);
    if (m < 0) return std::nullopt;
    int s = 0;
    if (pos < t.size()) {
        if (t[pos++] != ':') return std::nullopt;
        s = numero(t, pos, 2);
        if (s < 0) return std::nullopt;
    }
    if (pos != t.size()) return std::nullopt;
    QTime r(h, m, s);
    if (!r.isValid()) return std::nullopt;
    return r;
}

}  // namespace plataforma
