#pragma once
// Program text is Windows-1252 bytes held in std::string, as the suite stores it.
// It becomes QString only at the widgets' edge.
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace plataforma {

QString paraQString(std::string_view cp1252);
// Characters outside Windows-1252 become '?'.
std::string deQString(const QString& texto);

// Only a-z / A-Z change; accented letters are left alone.
std::string maiusculasAscii(std::string texto);
std::string minusculasAscii(std::string texto);

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
