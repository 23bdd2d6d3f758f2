// Description normalisation over arbitrary Windows-1252 bytes: the length stays,
// no mapped accent survives, and from the second pass on nothing changes.
#include "comum.h"
#include "rules/normalizacao.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using regras::NormalizaDescricao;
    const std::string t = fuzz::texto(dados, tamanho);
    const std::string uma = NormalizaDescricao(t);
    const std::string duas = NormalizaDescricao(uma);
    EXIGE(uma.size() == t.size() && duas.size() == t.size());
    EXIGE(NormalizaDescricao(duas) == duas);

    const std::string semAcento = regras::RemoveAcentos(t);
    EXIGE(semAcento.size() == t.size());
    static const unsigned char mapeados[] = {192, 193, 194, 195, 199, 201, 202, 205, 209, 211, 212, 213, 218, 219, 220,
                                             224, 225, 226, 227, 231, 233, 234, 237, 241, 243, 244, 245, 250, 251, 252};
    for (unsigned char c : semAcento) EXIGE(std::memchr(mapeados, c, sizeof mapeados) == nullptr);
    for (std::size_t i = 1; i < uma.size(); ++i) EXIGE(uma[i] < 'A' || uma[i] > 'Z' || i == 9);
    return 0;
}
