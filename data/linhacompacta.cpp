#include "data/linhacompacta.h"

#include <cstring>

namespace dados {

namespace {

// What a field's four bits say its value is, and so how many bytes follow.
enum Tipo : unsigned char {
    kNulo,
    kTexto,            // length (7 bits a byte), bytes
    kInteiro32,        // 4 bytes
    kInteiro64,        // 8 bytes
    kDecimalDoCampo,   // 8 bytes of units at the field's scale
    kDecimal,          // 1 byte of scale, 8 bytes of units
    kReal,             // 8 bytes
    kDataHora,         // 8 bytes of Julian day, 4 of milliseconds of the day (the wall clock's)
    kDataHoraInvalida,
    kBlob,             // length, bytes
};

Tipo tipoDe(const Valor& v, signed char escalaCampo) {
    switch (v.index()) {
    case 1: return kTexto;
    case 2: return kInteiro32;
    case 3: return kInteiro64;
    case 4: return std::get<Decimal>(v).escala == escalaCampo ? kDecimalDoCampo : kDecimal;
    case 5: return kReal;
    case 6: return std::get<QDateTime>(v).isValid() ? kDataHora : kDataHoraInvalida;
    case 7: return kBlob;
    default: return kNulo;
    }
}

std::size_t bytesComprimento(std::size_t n) {
    std::size_t b = 1;
    while (n >= 0x80) {
        n >>= 7;
        ++b;
    }
    return b;
}

template <class T>
unsigned char* poe(unsigned char* p, const T& v) {
    std::memcpy(p, &v, sizeof v);
    return p + sizeof v;
}

template <class T>
T tira(const unsigned char*& p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

unsigned char* poeBytes(unsigned char* p, const std::string& s) {
    std::size_t n = s.size();
    while (n >= 0x80) {
        *p++ = static_cast<unsigned char>(n | 0x80);
        n >>= 7;
    }
    *p++ = static_cast<unsigned char>(n);
    std::memcpy(p, s.data(), s.size());
    return p + s.size();
}

std::size_t comprimento(const unsigned char*& p) {
    std::size_t n = 0;
    for (int desloca = 0;; desloca += 7) {
        const unsigned char b = *p++;
        n |= static_cast<std::size_t>(b & 0x7F) << desloca;
        if (!(b & 0x80)) return n;
    }
}

std::size_t bytesDo(const Valor& v, Tipo t) {
    switch (t) {
    case kTexto: {
        const std::size_t n = std::get<std::string>(v).size();
        return bytesComprimento(n) + n;
    }
    case kBlob: {
        const std::size_t n = std::get<Blob>(v).bytes.size();
        return bytesComprimento(n) + n;
    }
    case kInteiro32: return 4;
    case kDecimal: return 9;
    case kDataHora: return 12;
    case kInteiro64:
    case kDecimalDoCampo:
    case kReal: return 8;
    default: return 0;
    }
}

unsigned char* escreve(unsigned char* p, const Valor& v, Tipo t) {
    switch (t) {
    case kTexto: return poeBytes(p, std::get<std::string>(v));
    case kBlob: return poeBytes(p, std::get<Blob>(v).bytes);
    case kInteiro32: return poe(p, std::get<std::int32_t>(v));
    case kInteiro64: return poe(p, std::get<std::int64_t>(v));
    case kDecimal: *p++ = static_cast<unsigned char>(std::get<Decimal>(v).escala); [[fallthrough]];
    case kDecimalDoCampo: return poe(p, std::get<Decimal>(v).unidades);
    case kReal: return poe(p, std::get<double>(v));
    case kDataHora: {
        const QDateTime& h = std::get<QDateTime>(v);
        p = poe(p, static_cast<std::int64_t>(h.date().toJulianDay()));
        return poe(p, static_cast<std::int32_t>(h.time().msecsSinceStartOfDay()));
    }
    default: return p;
    }
}

// Reads one value into `v`, leaving `p` past it.
void le(const unsigned char*& p, Tipo t, signed char escalaCampo, Valor& v) {
    switch (t) {
    case kTexto: {
        const std::size_t n = comprimento(p);
        const char* bytes = reinterpret_cast<const char*>(p);
        if (auto s = std::get_if<std::string>(&v)) s->assign(bytes, n);
        else v.emplace<std::string>(bytes, n);
        p += n;
        return;
    }
    case kBlob: {
        const std::size_t n = comprimento(p);
        v = Blob{std::string(reinterpret_cast<const char*>(p), n)};
        p += n;
        return;
    }
    case kInteiro32: v = tira<std::int32_t>(p); return;
    case kInteiro64: v = tira<std::int64_t>(p); return;
    case kDecimalDoCampo: v = Decimal{tira<std::int64_t>(p), escalaCampo}; return;
    case kDecimal: {
        const int escala = *p++;
        v = Decimal{tira<std::int64_t>(p), escala};
        return;
    }
    case kReal: v = tira<double>(p); return;
    case kDataHora: {
        const QDate d = QDate::fromJulianDay(tira<std::int64_t>(p));
        v = dataHora(d, QTime::fromMSecsSinceStartOfDay(tira<std::int32_t>(p)));
        return;
    }
    case kDataHoraInvalida: v = QDateTime(); return;
    default: v = std::monostate{}; return;
    }
}

void pula(const unsigned char*& p, Tipo t) {
    switch (t) {
    case kTexto:
    case kBlob: p += comprimento(p); return;
    case kInteiro32: p += 4; return;
    case kDecimal: p += 9; return;
    case kDataHora: p += 12; return;
    case kInteiro64:
    case kDecimalDoCampo:
    case kReal: p += 8; return;
    default: return;
    }
}

std::size_t bytesMapa(std::size_t campos) { return (campos + 1) / 2; }

Tipo tipoNoMapa(const unsigned char* bloco, std::size_t campo) {
    const unsigned char b = bloco[campo / 2];
    return static_cast<Tipo>(campo % 2 ? b >> 4 : b & 0x0F);
}

}  // namespace

LinhaCompacta::LinhaCompacta(const std::vector<Valor>& valores, const FormatoLinha& formato) {
    const std::size_t n = formato.campos();
    std::size_t tamanho = bytesMapa(n);
    for (std::size_t i = 0; i < n; ++i) tamanho += bytesDo(valores[i], tipoDe(valores[i], formato.escalas[i]));
    bloco_.reset(new unsigned char[tamanho]);
    std::memset(bloco_.get(), 0, bytesMapa(n));
    unsigned char* p = bloco_.get() + bytesMapa(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Tipo t = tipoDe(valores[i], formato.escalas[i]);
        bloco_[i / 2] |= static_cast<unsigned char>(i % 2 ? t << 4 : t);
        p = escreve(p, valores[i], t);
    }
}

Valor LinhaCompacta::valor(std::size_t campo, const FormatoLinha& formato) const {
    Valor v;
    if (!bloco_ || campo >= formato.campos()) return v;
    const unsigned char* p = bloco_.get() + bytesMapa(formato.campos());
    for (std::size_t i = 0; i < campo; ++i) pula(p, tipoNoMapa(bloco_.get(), i));
    le(p, tipoNoMapa(bloco_.get(), campo), formato.escalas[campo], v);
    return v;
}

void LinhaCompacta::desempacota(std::vector<Valor>& destino, const FormatoLinha& formato) const {
    const std::size_t n = formato.campos();
    destino.resize(n);
    if (!bloco_) {
        for (Valor& v : destino) v = std::monostate{};
        return;
    }
    const unsigned char* p = bloco_.get() + bytesMapa(n);
    for (std::size_t i = 0; i < n; ++i) le(p, tipoNoMapa(bloco_.get(), i), formato.escalas[i], destino[i]);
}

std::vector<Valor> LinhaCompacta::valores(const FormatoLinha& formato) const {
    std::vector<Valor> v;
    desempacota(v, formato);
    return v;
}

}  // namespace dados
