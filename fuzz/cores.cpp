// The colour scan of capsule descriptions over arbitrary bytes. The input is
// cut at the byte 0x01 into the description and the colour list (one colour a
// line).
#include "comum.h"
#include "rules/cores.h"

namespace {
bool terminaEmMarcador(const std::string& t) {
    if (t.empty()) return false;
    const char c = t.back();
    return (c >= '0' && c <= '5') || (t.size() >= 4 && t.compare(t.size() - 4, 4, "sula") == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using namespace regras;
    const std::string t = fuzz::texto(dados, tamanho);
    const auto corte = t.find('\x01');
    const std::string descricao = t.substr(0, corte);
    const std::vector<std::string> cores =
        corte == std::string::npos ? std::vector<std::string>{} : fuzz::linhas(t.substr(corte + 1));

    const VarreduraCor v = varreCor(descricao);
    EXIGE(v.restante + v.sufixo == descricao);
    if (v.sufixo.empty() && v.restante == descricao) {
        // No colour, or a description that ends in its marker.
    } else {
        EXIGE(terminaEmMarcador(v.restante));
    }
    // The marker found is the last one: none ends inside the suffix.
    for (std::size_t i = 1; i <= v.sufixo.size(); ++i) EXIGE(!terminaEmMarcador(v.restante + v.sufixo.substr(0, i)));

    const std::string cor = ExtraiCorDescricao(descricao);
    EXIGE(cor.empty() || (cor.front() != ' ' && cor.back() != ' '));
    for (char c : cor) EXIGE(c < 'a' || c > 'z');
    const bool invalida = corDescricaoInvalida(descricao, cores);
    if (invalida) EXIGE(!cor.empty());

    const std::string semCor = removeCorDescricao(descricao);
    EXIGE(semCor.empty() || semCor.front() != ' ');
    EXIGE(descricao.find(semCor) != std::string::npos);

    // A colour from the list written into the description is found there again.
    const std::string escolhida = cores.empty() ? std::string("azul") : cores.front();
    const std::string comCor = descricaoComCor(descricao, escolhida);
    EXIGE(comCor.size() >= escolhida.size() + 1);
    EXIGE(comCor.compare(comCor.size() - escolhida.size(), escolhida.size(), escolhida) == 0);
    return 0;
}
