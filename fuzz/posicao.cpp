// The help window's placement file over arbitrary bytes: a value that is not
// an integer is refused with the conversion error, anything read writes back
// and reads again the same, and the resize arithmetic holds for any window
// size the toolkit can give.
#include "comum.h"
#include "help/posicao.h"
#include "platform/program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using namespace ajuda;
    Posicao p;
    try {
        p = lePosicao(fuzz::linhas(fuzz::texto(dados, tamanho)));
    } catch (const plataforma::Erro&) {
        return 0;
    }
    EXIGE(lePosicao(linhasPosicao(p)) == p);

    // Window sizes stay within 0..16777215 (the toolkit's limit).
    auto tamanhoJanela = [](int v) { return v < 0 ? 0 : (v > 16777215 ? 16777215 : v); };
    const int altura = tamanhoJanela(p.altura), largura = tamanhoJanela(p.largura);
    const Layout l = layoutTutorial(altura, largura);
    EXIGE(l.larguraTexto == largura - 24 && l.alturaTexto == altura - 130);
    EXIGE(l.esquerdaProxima - l.larguraBotoes == 3);
    EXIGE(2 * (l.larguraBotoes + 11) - largura <= 1 && largura - 2 * (l.larguraBotoes + 11) <= 1);
    return 0;
}
