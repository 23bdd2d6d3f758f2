#include "data/formato.h"

#include "data/dataset.h"
#include "platform/clock.h"
#include "platform/text.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace dados {
namespace {

// A number as decimal digits, so that rounding and grouping never go through a
// binary fraction.
struct Digitos {
    bool negativo = false;
    std::string inteiro;  // at least one digit
    std::string fracao;
};

Digitos deDecimal(const Decimal& d) {
    Digitos r;
    r.negativo = d.unidades < 0;
    // The magnitude through unsigned arithmetic, so the most negative value works too.
    const std::uint64_t m = r.negativo ? std::uint64_t{0} - static_cast<std::uint64_t>(d.unidades)
                                       : static_cast<std::uint64_t>(d.unidades);
    std::string s = std::to_string(m);
    const std::size_t escala = d.escala > 0 ? static_cast<std::size_t>(d.escala) : 0;
    if (s.size() <= escala) s.insert(0, escala + 1 - s.size(), '0');
    r.inteiro = s.substr(0, s.size() - escala);
    r.fracao = s.substr(s.size() - escala);
    return r;
}

// The double's shortest decimal form: the digits it prints as, so 1.005 rounds
// to 1.01 as a reader expects.
Digitos deReal(double v) {
    char buf[512];  // room for any finite double in fixed notation
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
    Digitos d;
    if (!s.empty() && s.front() == '-') {
        d.negativo = true;
        s.remove_prefix(1);
    }
    const auto ponto = s.find('.');
    d.inteiro = std::string(s.substr(0, ponto));
    if (ponto != std::string_view::npos) d.fracao = std::string(s.substr(ponto + 1));
    if (d.inteiro.empty()) d.inteiro.push_back('0');
    return d;
}

// Keeps `casas` decimal places, rounding half away from zero.
void arredonda(Digitos& d, std::size_t casas) {
    if (d.fracao.size() <= casas) return;
    const bool sobe = d.fracao[casas] >= '5';
    d.fracao.resize(casas);
    if (!sobe) return;
    std::string todos = d.inteiro + d.fracao;
    int i = static_cast<int>(todos.size()) - 1;
    for (; i >= 0 && todos[i] == '9'; --i) todos[i] = '0';
    if (i >= 0)
        ++todos[i];
    else
        todos.insert(todos.begin(), '1');
    d.inteiro = todos.substr(0, todos.size() - casas);
    d.fracao = todos.substr(todos.size() - casas);
}

bool zero(const Digitos& d) {
    return d.inteiro.find_first_not_of('0') == std::string::npos &&
           d.fracao.find_first_not_of('0') == std::string::npos;
}

struct Mascara {
    bool milhar = false;
    std::size_t minInteiros = 0;  // digits from the first '0' before the decimal point
    std::size_t minDecimais = 0;  // up to the last '0' after it
    std::size_t maxDecimais = 0;  // every placeholder after it
};

Mascara leMascara(std::string_view m) {
    Mascara r;
    const auto ponto = m.find('.');
    const std::string_view inteira = m.substr(0, ponto);
    const std::string_view decimal = ponto == std::string_view::npos ? std::string_view() : m.substr(ponto + 1);
    bool zeroVisto = false;
    for (char c : inteira) {
        if (c == ',') r.milhar = true;
        if (c == '0') zeroVisto = true;
        if ((c == '0' || c == '#') && zeroVisto) ++r.minInteiros;
    }
    for (char c : decimal) {
        if (c != '0' && c != '#') continue;
        ++r.maxDecimais;
        if (c == '0') r.minDecimais = r.maxDecimais;
    }
    return r;
}

std::string aplica(Digitos d, const Mascara& m) {
    arredonda(d, m.maxDecimais);
    while (d.fracao.size() > m.minDecimais && d.fracao.back() == '0') d.fracao.pop_back();
    if (d.fracao.size() < m.minDecimais) d.fracao.append(m.minDecimais - d.fracao.size(), '0');
    const auto primeiro = d.inteiro.find_first_not_of('0');
    std::string inteiro = primeiro == std::string::npos ? std::string() : d.inteiro.substr(primeiro);
    if (inteiro.size() < m.minInteiros) inteiro.insert(0, m.minInteiros - inteiro.size(), '0');

    std::string r;
    if (d.negativo && !zero(d)) r.push_back('-');
    const char milhar = separadorMilhar();
    for (std::size_t i = 0; i < inteiro.size(); ++i) {
        if (m.milhar && i > 0 && (inteiro.size() - i) % 3 == 0) r.push_back(milhar);
        r.push_back(inteiro[i]);
    }
    if (!d.fracao.empty()) {
        r.push_back(separadorDecimal());
        r += d.fracao;
    }
    return r;
}

std::string semZerosFinais(Digitos d, char separador) {
    while (!d.fracao.empty() && d.fracao.back() == '0') d.fracao.pop_back();
    std::string r;
    if (d.negativo && !zero(d)) r.push_back('-');
    r += d.inteiro;
    if (!d.fracao.empty()) {
        r.push_back(separador);
        r += d.fracao;
    }
    return r;
}

std::string naoFinito(double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

// Hours, minutes and (optionally) seconds with the locale's separator.
QString formatoHora(bool segundos) {
    const QString s(QLatin1Char(plataforma::separadorHora()));
    return QStringLiteral("HH") + s + QStringLiteral("mm") + (segundos ? s + QStringLiteral("ss") : QString());
}

}  // namespace

char separadorDecimal() { return regras::caractereSeparador(QLocale().decimalPoint(), '.'); }

char separadorMilhar() {
    const QString s = QLocale().groupSeparator();
    // Locales that group with a narrow no-break space get the plain no-break space.
    return regras::caractereSeparador(s, '\xA0');
}

std::string formataNumero(double v, const std::string& mascara) {
    if (!std::isfinite(v)) return naoFinito(v);
    if (mascara.empty()) return textoReal(v, separadorDecimal());
    return aplica(deReal(v), leMascara(mascara));
}

std::string formataDecimal(const Decimal& d, const std::string& mascara) {
    if (mascara.empty()) return textoDecimal(d, separadorDecimal());
    return aplica(deDecimal(d), leMascara(mascara));
}

std::string textoDecimal(const Decimal& d, char separador) { return semZerosFinais(deDecimal(d), separador); }

std::string textoReal(double v, char separador) {
    if (!std::isfinite(v)) return naoFinito(v);
    return semZerosFinais(deReal(v), separador);
}

// A value of any row as its field shows it: the display mask when the field has
// one, otherwise the plain value in the workstation's format.
std::string textoExibicao(const Valor& v, const DefCampo& def) {
    const char separador = separadorDecimal();
    if (auto d = std::get_if<Decimal>(&v))
        return def.formato.empty() ? textoDecimal(*d, separador) : formataDecimal(*d, def.formato);
    if (auto r = std::get_if<double>(&v))
        return def.formato.empty() ? textoReal(*r, separador) : formataNumero(*r, def.formato);
    auto inteiro = [&](std::int64_t i) {
        return def.formato.empty() ? std::to_string(i) : formataDecimal(Decimal{i, 0}, def.formato);
    };
    if (auto i = std::get_if<std::int32_t>(&v)) return inteiro(*i);
    if (auto i = std::get_if<std::int64_t>(&v)) return inteiro(*i);
    if (auto t = std::get_if<std::string>(&v)) return *t;
    if (auto b = std::get_if<Blob>(&v)) return b->bytes;
    if (auto h = std::get_if<QDateTime>(&v)) return textoDataHora(*h);
    return {};
}

QString formatoData() {
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

std::string textoDataHora(const QDateTime& h) {
    QString t = h.date().toString(formatoData());
    if (h.time() != QTime(0, 0)) t += QLatin1Char(' ') + h.time().toString(formatoHora(true));
    return plataforma::deQString(t);
}

std::optional<QDateTime> leDataHora(const std::string& texto) {
    const QString t = plataforma::paraQString(texto).trimmed();
    const QString f = formatoData();
    // Read as UTC, the zone of the values (regras::dataHora): read in local time,
    // a day without a local midnight would begin at 01:00.
    for (const QString& hora : {formatoHora(true), formatoHora(false), QString()}) {
        const QString formato = hora.isEmpty() ? f : f + QLatin1Char(' ') + hora;
        const QDateTime h = QDateTime::fromString(t + QLatin1String(" UTC"), formato + QLatin1String(" t"));
        if (h.isValid()) return h;
    }
    return std::nullopt;
}

}  // namespace dados
