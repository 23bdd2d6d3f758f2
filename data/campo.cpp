// Values as fields hold them, and the fields of a dataset.
#include "data/campo.h"

#include "data/formato.h"
#include "platform/program.h"
#include "platform/text.h"

#include <limits>

using namespace plataforma::literais;
using plataforma::Erro;

namespace dados {

// ---------------------------------------------------------------------------
// Values

namespace {

std::optional<Decimal> comoDecimalExato(const Valor& v) {
    if (auto p = std::get_if<Decimal>(&v)) return *p;
    if (auto p = std::get_if<std::int32_t>(&v)) return Decimal{*p, 0};
    if (auto p = std::get_if<std::int64_t>(&v)) return Decimal{*p, 0};
    return std::nullopt;
}

}  // namespace

bool mesmoValor(const Valor& a, const Valor& b) {
    if (a.index() == b.index()) {
        if (auto x = std::get_if<Decimal>(&a)) return *x == std::get<Decimal>(b);
        return a == b;
    }
    if (nulo(a) || nulo(b)) return false;
    const auto da = comoDecimalExato(a), db = comoDecimalExato(b);
    if (da && db) return *da == *db;
    const auto ra = std::get_if<double>(&a), rb = std::get_if<double>(&b);
    if (ra && db) return *ra == db->comoReal();
    if (rb && da) return *rb == da->comoReal();
    return false;
}

namespace {

// A byte string that is equal for two keys exactly when mesmoValor() holds for each
// value (doubles aside, which are never keys here), to index rows by key.
void anexaChave(std::string& s, const Valor& v) {
    auto bytes = [&s](const void* p, std::size_t n) { s.append(static_cast<const char*>(p), n); };
    auto texto = [&](char tipo, const std::string& t) {
        const std::uint32_t n = static_cast<std::uint32_t>(t.size());
        s.push_back(tipo);
        bytes(&n, sizeof n);
        s += t;
    };
    if (nulo(v)) {
        s.push_back('N');
    } else if (auto t = std::get_if<std::string>(&v)) {
        texto('S', *t);
    } else if (auto d = comoDecimalExato(v)) {
        Decimal n = *d;
        while (n.escala > 0 && n.unidades % 10 == 0) {
            n.unidades /= 10;
            --n.escala;
        }
        s.push_back('D');
        bytes(&n.unidades, sizeof n.unidades);
        s.push_back(static_cast<char>(n.escala));
    } else if (auto r = std::get_if<double>(&v)) {
        s.push_back('R');
        bytes(r, sizeof *r);
    } else if (auto h = std::get_if<QDateTime>(&v)) {
        const qint64 ms = h->toMSecsSinceEpoch();
        s.push_back('T');
        bytes(&ms, sizeof ms);
    } else if (auto b = std::get_if<Blob>(&v)) {
        texto('B', b->bytes);
    }
}

}  // namespace

std::string chave(const LinhaCompacta& linha, const std::vector<int>& indices, const FormatoLinha& formato) {
    std::string s;
    for (int i : indices) anexaChave(s, linha.valor(static_cast<std::size_t>(i), formato));
    return s;
}

namespace {

std::string textoDoValor(const Valor& v) {
    if (auto t = std::get_if<std::string>(&v)) return *t;
    if (auto i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
    if (auto i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (auto d = std::get_if<Decimal>(&v)) return textoDecimal(*d, '.');
    if (auto r = std::get_if<double>(&v)) return textoReal(*r, '.');
    if (auto b = std::get_if<Blob>(&v)) return b->bytes;
    return {};
}

Valor inteiroCompacto(std::int64_t v) {
    if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::int32_t>(v);
    return v;
}

[[noreturn]] void valorInvalido(const DefCampo& def) {
    throw Erro("Valor inválido para o campo '"_w + def.nome + "'.", "EDatabaseError");
}

}  // namespace

Valor ajusta(const DefCampo& def, Valor v) {
    if (nulo(v)) return v;
    try {
        switch (def.tipo) {
        case TipoCampo::Texto: {
            if (std::holds_alternative<QDateTime>(v)) valorInvalido(def);
            std::string t = textoDoValor(v);
            if (def.tamanho > 0 && t.size() > static_cast<std::size_t>(def.tamanho))
                t.resize(static_cast<std::size_t>(def.tamanho));
            if (t.empty()) return Valor{};
            return t;
        }
        case TipoCampo::Inteiro:
            if (std::holds_alternative<std::int32_t>(v)) return v;
            if (auto i = std::get_if<std::int64_t>(&v)) return inteiroCompacto(*i);
            if (auto d = std::get_if<Decimal>(&v)) return inteiroCompacto(d->naEscala(0).unidades);
            if (auto r = std::get_if<double>(&v)) return inteiroCompacto(Decimal::deReal(*r, 0).unidades);
            if (auto t = std::get_if<std::string>(&v)) {
                if (auto i = leInteiro(*t)) return inteiroCompacto(*i);
            }
            break;
        case TipoCampo::Decimal:
            if (auto d = comoDecimalExato(v)) return d->naEscala(def.escala);
            if (auto r = std::get_if<double>(&v)) return Decimal::deReal(*r, def.escala);
            if (auto t = std::get_if<std::string>(&v)) {
                if (auto d = leDecimal(*t, '.', def.escala)) return *d;
            }
            break;
        case TipoCampo::Real:
            if (std::holds_alternative<double>(v)) return v;
            if (auto d = comoDecimalExato(v)) return d->comoReal();
            if (auto t = std::get_if<std::string>(&v)) {
                if (auto r = leReal(*t, '.')) return *r;
            }
            break;
        case TipoCampo::DataHora:
            if (std::holds_alternative<QDateTime>(v)) return v;
            break;
        case TipoCampo::Blob:
            if (std::holds_alternative<Blob>(v)) return v;
            if (auto t = std::get_if<std::string>(&v)) return Blob{std::move(*t)};
            break;
        }
    } catch (const Erro&) {
        throw;
    } catch (const std::exception&) {
        // Out of range for the field's scale or a value that is not a number.
        valorInvalido(def);
    }
    valorInvalido(def);
}

namespace {

TipoCampo tipoDaColuna(fb::TipoColuna t) {
    switch (t) {
    case fb::TipoColuna::Texto: return TipoCampo::Texto;
    case fb::TipoColuna::Inteiro:
    case fb::TipoColuna::Inteiro64:
    case fb::TipoColuna::Booleano: return TipoCampo::Inteiro;
    case fb::TipoColuna::Decimal: return TipoCampo::Decimal;
    case fb::TipoColuna::Real: return TipoCampo::Real;
    case fb::TipoColuna::DataHora:
    case fb::TipoColuna::Data:
    case fb::TipoColuna::Hora: return TipoCampo::DataHora;
    case fb::TipoColuna::Blob: return TipoCampo::Blob;
    }
    return TipoCampo::Texto;
}

}  // namespace

bool mesmasDefinicoes(const std::vector<DefCampo>& a, const std::vector<DefCampo>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].nome != b[i].nome || a[i].tipo != b[i].tipo || a[i].tamanho != b[i].tamanho ||
            a[i].escala != b[i].escala)
            return false;
    return true;
}

std::vector<DefCampo> camposDasColunas(const std::vector<fb::Coluna>& colunas) {
    std::vector<DefCampo> defs;
    defs.reserve(colunas.size());
    for (const auto& c : colunas) {
        DefCampo d;
        d.nome = c.nome;
        d.tipo = tipoDaColuna(c.tipo);
        d.tamanho = d.tipo == TipoCampo::Texto ? c.tamanho : d.tipo == TipoCampo::Decimal ? 18 : 0;
        d.escala = d.tipo == TipoCampo::Decimal ? c.escala : 0;
        defs.push_back(std::move(d));
    }
    return defs;
}

FormatoLinha formatoDe(const std::vector<DefCampo>& defs) {
    FormatoLinha f;
    f.escalas.reserve(defs.size());
    for (const auto& d : defs)
        f.escalas.push_back(static_cast<signed char>(d.tipo == TipoCampo::Decimal ? d.escala : -1));
    return f;
}

bool vazio(const Valor& v) {
    if (nulo(v)) return true;
    auto t = std::get_if<std::string>(&v);
    return t && t->empty();
}

// ---------------------------------------------------------------------------
// Campo

Campo::Campo(ClientDataSet& ds, DefCampo def, int indice) : ds_(ds), def_(std::move(def)), indice_(indice) {}

const Valor& Campo::valor() const { return ds_.valor(indice_); }

bool Campo::nulo() const { return regras::nulo(valor()); }

double Campo::comoReal() const {
    const Valor& v = valor();
    if (auto d = comoDecimalExato(v)) return d->comoReal();
    if (auto r = std::get_if<double>(&v)) return *r;
    if (auto t = std::get_if<std::string>(&v)) {
        if (auto r = leReal(*t, separadorDecimal())) return *r;
        if (auto r = leReal(*t, '.')) return *r;
    }
    return 0;
}

std::string Campo::comoTexto() const {
    const Valor& v = valor();
    if (auto d = std::get_if<Decimal>(&v)) return textoDecimal(*d, separadorDecimal());
    if (auto r = std::get_if<double>(&v)) return textoReal(*r, separadorDecimal());
    if (auto h = std::get_if<QDateTime>(&v)) return textoDataHora(*h);
    return textoDoValor(v);
}

std::string Campo::textoExibicao() const { return dados::textoExibicao(valor(), def_); }

void Campo::defineValor(Valor v) { ds_.defineValorCampo(indice_, std::move(v)); }

void Campo::defineTexto(const std::string& texto) {
    if (texto.empty()) {
        defineValor(Valor{});
        return;
    }
    auto invalido = [&]() -> Erro {
        return Erro("'" + texto + "' não é um valor válido para o campo '"_w + def_.nome + "'.",
                    "EConvertError");
    };
    switch (def_.tipo) {
    case TipoCampo::Texto: defineValor(texto); return;
    case TipoCampo::Blob: defineValor(Blob{texto}); return;
    case TipoCampo::Inteiro:
        if (auto i = leInteiro(texto)) return defineValor(inteiroCompacto(*i));
        throw invalido();
    case TipoCampo::Decimal:
        if (auto t = semSeparadorMilhar(texto, separadorDecimal(), separadorMilhar()))
            if (auto d = leDecimal(*t, separadorDecimal(), def_.escala)) return defineValor(*d);
        throw invalido();
    case TipoCampo::Real:
        if (auto t = semSeparadorMilhar(texto, separadorDecimal(), separadorMilhar()))
            if (auto r = leReal(*t, separadorDecimal())) return defineValor(*r);
        throw invalido();
    case TipoCampo::DataHora:
        if (auto h = leDataHora(texto)) return defineValor(*h);
        throw invalido();
    }
}
}  // namespace dados
