#include "platform/text.h"

#include <algorithm>

namespace plataforma {
namespace {
char16_t paraUnicode(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F && kCp1252Alto[c - 0x80] != 0) return kCp1252Alto[c - 0x80];
    return c;
}

char deUnicode(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (kCp1252Alto[i] == u) return static_cast<char>(0x80 + i);
    if (u >= 0x80 && u <= 0x9F && kCp1252Alto[u - 0x80] == 0) return static_cast<char>(u);
    return '?';
}
}  // namespace

QString paraQString(std::string_view s) {
    QString r;
    r.reserve(static_cast<qsizetype>(s.size()));
    for (char c : s) r.append(QChar(paraUnicode(static_cast<unsigned char>(c))));
    return r;
}

std::string deQString(const QString& texto) {
    std::string r;
    r.reserve(static_cast<std::size_t>(texto.size()));
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar ch = texto.at(i);
        if (ch.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate()) {
            r.push_back('?');
            ++i;
            continue;
        }
        r.push_back(deUnicode(ch.unicode()));
    }
    return r;
}

std::string maiusculasAscii(std::string t) {
    for (char& c : t)
        c = maiusculaAscii(c);
    return t;
}

std::string minusculasAscii(std::string t) {
    for (char& c : t)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return t;
}

std::string corta(std::string_view texto, std::size_t n) { return std::string(texto.substr(0, n)); }

bool iguaisSemCaixaAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return maiusculaAscii(x) == maiusculaAscii(y); });
}

std::string_view aparaInicio(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

std::string_view aparaFim(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace plataforma
