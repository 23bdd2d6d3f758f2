#pragma once
// Program text is Windows-1252 bytes held in std::string, as the suite stores it.
// It becomes QString only at the widgets' edge.
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace plataforma {

// Code points of bytes 0x80..0x9F in Windows-1252; 0 marks the five unassigned
// bytes, which map to the C1 control of the same value so that every byte survives.
inline constexpr char16_t kCp1252Alto[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// A UTF-8 literal as Windows-1252 bytes, converted while compiling, so that
// program text is written as people read it: "Não foi possível"_w. A character
// that Windows-1252 lacks, or a malformed sequence, does not compile.
template <std::size_t N>
struct LiteralCp1252 {
    char bytes[N]{};
    consteval LiteralCp1252(const char (&utf8)[N]) {  // NOLINT: implicit by design
        std::size_t o = 0;
        for (std::size_t i = 0; i < N && utf8[i] != '\0';) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            char32_t u = 0;
            std::size_t n = 0;
            if (c < 0x80) { u = c; n = 1; }
            else if ((c & 0xE0) == 0xC0) { u = c & 0x1F; n = 2; }
            else if ((c & 0xF0) == 0xE0) { u = c & 0x0F; n = 3; }
            else throw "malformed UTF-8 or a character outside Windows-1252";
            for (std::size_t k = 1; k < n; ++k) {
                if (i + k >= N || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) throw "malformed UTF-8";
                u = (u << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            i += n;
            bytes[o++] = paraByte(u);
        }
    }
    static consteval char paraByte(char32_t u) {
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
        for (int k = 0; k < 32; ++k)
            if (kCp1252Alto[k] == u) return static_cast<char>(0x80 + k);
        throw "a character outside Windows-1252";
    }
};

namespace literais {
template <LiteralCp1252 T>
consteval const char* operator""_w() { return T.bytes; }
}  // namespace literais

QString paraQString(std::string_view cp1252);
// Characters outside Windows-1252 become '?'.
std::string deQString(const QString& texto);

// Only a-z / A-Z change; accented letters are left alone.
constexpr char maiusculaAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
std::string maiusculasAscii(std::string texto);
bool iguaisSemCaixaAscii(std::string_view a, std::string_view b);
std::string minusculasAscii(std::string texto);

// Without the leading and/or trailing blanks (spaces only, as the suite's files
// and the form's fields pad them).
std::string_view aparaInicio(std::string_view texto);
std::string_view aparaFim(std::string_view texto);
inline std::string_view apara(std::string_view texto) { return aparaFim(aparaInicio(texto)); }

// The first n bytes of a text (a short string of capacity n).
std::string corta(std::string_view texto, std::size_t n);

}  // namespace plataforma

// A text of at most N single-byte characters: a longer text keeps its first N.
template <std::size_t N>
class ShortString {
public:
    ShortString() = default;
    ShortString(std::string_view s) : valor_(s.substr(0, N)) {}  // NOLINT: implicit by design
    ShortString& operator=(std::string_view s) { valor_.assign(s.substr(0, N)); return *this; }
    const std::string& str() const { return valor_; }
    operator const std::string&() const { return valor_; }  // NOLINT
    bool empty() const { return valor_.empty(); }
    std::size_t size() const { return valor_.size(); }
    static constexpr std::size_t capacidade = N;
    friend bool operator==(const ShortString& a, const ShortString& b) = default;
    friend bool operator==(const ShortString& a, std::string_view b) { return a.valor_ == b; }

private:
    std::string valor_;
};
