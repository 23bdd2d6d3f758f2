// The letter encoding of user names and passwords over arbitrary bytes: two
// letters A to P a byte, and the encoding can be undone (no two texts share one).
#include "comum.h"
#include "signon/codificacao.h"

namespace {

// Undoes the encoding: the letter pairs, read from the last to the first, are
// the bit string rotated left by 3; rotating back by 3 gives the text.
std::string decodifica(const std::string& c) {
    const std::size_t n = c.size() / 2;
    std::vector<unsigned> g(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t par = n - 1 - k;
        g[k] = static_cast<unsigned>((c[2 * par] - 'A') << 4 | (c[2 * par + 1] - 'A'));
    }
    std::string t(n, '\0');
    for (std::size_t k = 0; k < n; ++k) t[k] = static_cast<char>(((g[k] >> 3) | (g[(k + n - 1) % n] << 5)) & 0xFFu);
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string t = fuzz::texto(dados, tamanho);
    const std::string c = identificacao::CodificarTexto(t);
    EXIGE(c.size() == 2 * t.size());
    for (char letra : c) EXIGE(letra >= 'A' && letra <= 'P');
    EXIGE(decodifica(c) == t);

    // The rights rule never reads outside the access string.
    for (int posicao = -1; posicao <= static_cast<int>(t.size()) + 1; ++posicao)
        (void)identificacao::temDireito(t, c, posicao);
    return 0;
}
