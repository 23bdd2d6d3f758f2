#include "signon/codificacao.h"

namespace identificacao {

std::string CodificarTexto(std::string_view texto) {
    const std::size_t n = texto.size();
    std::string resultado;
    resultado.reserve(2 * n);
    auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(texto[i])); };
    // Rotating the whole bit string by 3 makes byte i the low 5 bits of byte i
    // followed by the high 3 bits of the next one (wrapping to the first).
    for (std::size_t k = n; k-- > 0;) {
        const unsigned grupo = ((byte(k) << 3) | (byte((k + 1) % n) >> 5)) & 0xFFu;
        resultado.push_back(static_cast<char>('A' + (grupo >> 4)));
        resultado.push_back(static_cast<char>('A' + (grupo & 0x0Fu)));
    }
    return resultado;
}

bool temDireito(std::string_view acesso, std::string_view nomeMaiusculo, int posicao) {
    if (nomeMaiusculo.empty() || posicao < 1 || static_cast<std::size_t>(posicao) > acesso.size())
        return false;
    const unsigned inicial = static_cast<unsigned char>(nomeMaiusculo.front());
    const unsigned esperado = (inicial + static_cast<unsigned>(posicao) + 1u) % 256u;
    return static_cast<unsigned char>(acesso[static_cast<std::size_t>(posicao) - 1]) == esperado;
}

}  // namespace identificacao
