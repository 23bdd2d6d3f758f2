#include "rules/numeros.h"

#include "platform/text.h"

#include <charconv>
#include <cmath>

namespace regras {

std::optional<Decimal> leDecimal(std::string_view texto, char separador, int escala) {
    const std::string_view s = plataforma::apara(texto);
    if (!s.empty() && s.front() == '+') return std::nullopt;
    return Decimal::deTexto(s, separador, escala);
}

std::optional<double> leReal(std::string_view texto, char separador) {
    std::string s(plataforma::apara(texto));
    if (s.empty()) return std::nullopt;
    for (char& c : s) {
        if (c == separador)
            c = '.';
        else if (c == '.' || !((c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    }
    double v = 0;
    const char* fim = s.data() + s.size();
    const auto r = std::from_chars(s.data(), fim, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != fim || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::int64_t> leInteiro(std::string_view texto) {
    const std::string_view s = plataforma::apara(texto);
    std::int64_t v = 0;
    const char* fim = s.data() + s.size();
    const auto r = std::from_chars(s.data(), fim, v);
    if (s.empty() || r.ec != std::errc() || r.ptr != fim) return std::nullopt;
    return v;
}

std::optional<std::string> semSeparadorMilhar(std::string_view texto, char decimal, char milhar) {
    std::string_view s = plataforma::apara(texto);
    const auto ponto = s.find(decimal);
    const std::string_view fracao = ponto == std::string_view::npos ? std::string_view() : s.substr(ponto);
    std::string_view inteira = s.substr(0, ponto);
    if (milhar == decimal) return std::string(texto);
    if (fracao.find(milhar) != std::string_view::npos) return std::nullopt;
    if (inteira.find(milhar) == std::string_view::npos) return std::string(texto);

    std::string r;
    if (!inteira.empty() && (inteira.front() == '-' || inteira.front() == '+')) {
        r.push_back(inteira.front());
        inteira.remove_prefix(1);
    }
    // Groups from the left: the first of one to three digits, every other of three.
    bool primeiro = true;
    for (;;) {
        const auto fim = inteira.find(milhar);
        const std::string_view grupo = inteira.substr(0, fim);
        const bool digitos = grupo.find_first_not_of("0123456789") == std::string_view::npos;
        if (!digitos || grupo.empty() || grupo.size() > 3 || (!primeiro && grupo.size() != 3)) return std::nullopt;
        r += grupo;
        if (fim == std::string_view::npos) break;
        inteira.remove_prefix(fim + 1);
        primeiro = false;
    }
    r += fracao;
    return r;
}

char caractereSeparador(const QString& s, char reserva) {
    const std::string t = plataforma::deQString(s);
    if (t.size() != 1 || t[0] == '?') return reserva;
    return t[0];
}

}  // namespace regras
