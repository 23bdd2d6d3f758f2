#include "rules/value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <system_error>
#include "platform/text.h"

using namespace plataforma::literais;

namespace regras {

namespace {

__extension__ typedef __int128 Largo;  // room for a scaled product before it is checked

constexpr int kEscalaMaxima = 18;

Largo potencia10(int n) {
    Largo p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

bool cabeEm64(Largo v) {
    return v >= std::numeric_limits<std::int64_t>::min() && v <= std::numeric_limits<std::int64_t>::max();
}

// v / 10^n, rounding half away from zero.
Largo divideArredondando(Largo v, int n) {
    if (n <= 0) return v;
    const Largo d = potencia10(n);
    Largo q = v / d;
    const Largo r = v % d;  // same sign as v
    if (r >= 0 ? 2 * r >= d : -2 * r >= d) q += (v < 0 ? -1 : 1);
    return q;
}

int limitaEscala(int e) { return e < 0 ? 0 : (e > kEscalaMaxima ? kEscalaMaxima : e); }


}  // namespace

double Decimal::comoReal() const {
    // Up to 2^53 both operands are exact doubles and one division rounds once;
    // beyond that the text form gives the correctly rounded value.
    constexpr std::int64_t limiteExato = std::int64_t{1} << 53;
    if (unidades > -limiteExato && unidades < limiteExato)
        return static_cast<double>(unidades) / static_cast<double>(potencia10(limitaEscala(escala)));
    const std::string t = comoTexto();
    double v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

Decimal Decimal::naEscala(int novaEscala) const {
    novaEscala = limitaEscala(novaEscala);
    const int atual = limitaEscala(escala);
    Largo v = unidades;
    if (novaEscala >= atual)
        v *= potencia10(novaEscala - atual);
    else
        v = divideArredondando(v, atual - novaEscala);
    if (!cabeEm64(v)) throw std::overflow_error("Valor decimal fora da faixa");
    return Decimal{static_cast<std::int64_t>(v), novaEscala};
}

Decimal Decimal::deReal(double v, int escala) {
    if (!std::isfinite(v)) throw std::domain_error("Valor numérico inválido"_w);
    // The double's shortest decimal form (the digits it prints as) is rounded,
    // so 1.005 becomes 1.01 at two places, as a person reading it expects.
    char buf[512];  // room for any double in fixed notation
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    std::optional<Decimal> d;
    if (r.ec == std::errc()) d = deTexto(std::string_view(buf, r.ptr - buf), '.', limitaEscala(escala));
    if (!d) throw std::overflow_error("Valor decimal fora da faixa");
    return *d;
}

std::optional<Decimal> Decimal::deTexto(std::string_view texto, char separadorDecimal, int escala) {
    std::string_view s = plataforma::apara(texto);
    bool negativo = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negativo = s.front() == '-';
        s.remove_prefix(1);
    }
    const auto sep = s.find(separadorDecimal);
    std::string_view inteira = s.substr(0, sep);
    std::string_view fracao = sep == std::string_view::npos ? std::string_view() : s.substr(sep + 1);
    if (inteira.empty() && fracao.empty()) return std::nullopt;
    for (std::string_view parte : {inteira, fracao})
        for (char c : parte)
            if (c < '0' || c > '9') return std::nullopt;

    // Without a requested scale the text's own decimal places are kept (at most 18).
    const int alvo = escala < 0 ? limitaEscala(static_cast<int>(fracao.size())) : limitaEscala(escala);
    const Largo limite = Largo{std::numeric_limits<std::int64_t>::max()} + 1;
    Largo v = 0;
    for (char c : inteira) {
        v = v * 10 + (c - '0');
        if (v > limite) return std::nullopt;
    }
    for (int i = 0; i < alvo; ++i) {
        v = v * 10 + (i < static_cast<int>(fracao.size()) ? fracao[i] - '0' : 0);
        if (v > limite) return std::nullopt;
    }
    // Half away from zero: only the first dropped digit decides.
    if (static_cast<int>(fracao.size()) > alvo && fracao[alvo] >= '5') ++v;
    if (negativo) v = -v;
    if (!cabeEm64(v)) return std::nullopt;
    return Decimal{static_cast<std::int64_t>(v), alvo};
}

std::string Decimal::comoTexto(char separadorDecimal) const {
    const int e = limitaEscala(escala);
    const bool negativo = unidades < 0;
    // Through the wide type so that the most negative value has a magnitude.
    Largo m = unidades;
    if (negativo) m = -m;
    std::string digitos;
    do {
        digitos.insert(digitos.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
        m /= 10;
    } while (m > 0);
    if (static_cast<int>(digitos.size()) <= e) digitos.insert(0, e + 1 - digitos.size(), '0');
    if (e > 0) digitos.insert(digitos.end() - e, separadorDecimal);
    return negativo ? "-" + digitos : digitos;
}

bool operator==(const Decimal& a, const Decimal& b) {
    const int ea = limitaEscala(a.escala), eb = limitaEscala(b.escala);
    const int e = ea > eb ? ea : eb;
    // At most 18 digits of scaling of a 64-bit value: fits 128 bits.
    return Largo{a.unidades} * potencia10(e - ea) == Largo{b.unidades} * potencia10(e - eb);
}

}  // namespace regras
