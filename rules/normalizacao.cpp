#include "rules/normalizacao.h"

#include "platform/text.h"

#include <array>

namespace regras {
namespace {

constexpr std::array<char, 256> montaMapa() {
    std::array<char, 256> m{};
    for (int i = 0; i < 256; ++i) m[static_cast<std::size_t>(i)] = static_cast<char>(i);
    // Only these codes are mapped; other accented letters (è, ö, ý...) stay.
    struct Par {
        unsigned char codigo;
        char letra;
    };
    constexpr Par pares[] = {
        {192, 'a'}, {193, 'a'}, {194, 'a'}, {195, 'a'}, {199, 'c'}, {201, 'e'}, {202, 'e'},
        {205, 'i'}, {209, 'n'}, {211, 'o'}, {212, 'o'}, {213, 'o'}, {218, 'u'}, {219, 'u'},
        {220, 'u'}, {224, 'a'}, {225, 'a'}, {226, 'a'}, {227, 'a'}, {231, 'c'}, {233, 'e'},
        {234, 'e'}, {237, 'i'}, {241, 'n'}, {243, 'o'}, {244, 'o'}, {245, 'o'}, {250, 'u'},
        {251, 'u'}, {252, 'u'}};
    for (const Par& p : pares) m[p.codigo] = p.letra;
    return m;
}

constexpr std::array<char, 256> kSemAcento = montaMapa();

}  // namespace

std::string RemoveAcentos(std::string texto) {
    for (char& c : texto) c = kSemAcento[static_cast<unsigned char>(c)];
    return texto;
}

std::string NormalizaDescricao(std::string texto) {
    texto = plataforma::minusculasAscii(std::move(texto));
    if (!texto.empty()) texto[0] = plataforma::maiusculaAscii(texto[0]);
    // "Vitamina c" -> "Vitamina C": the letter after the word and its blank.
    if (texto.size() >= 10 && plataforma::minusculasAscii(texto.substr(0, 8)) == "vitamina")
        texto[9] = plataforma::maiusculaAscii(texto[9]);
    return RemoveAcentos(std::move(texto));
}

}  // namespace regras
