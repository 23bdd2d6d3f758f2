#include "help/posicao.h"

#include "platform/program.h"

#include <cstdio>
#include <limits>
#include "platform/text.h"

using namespace plataforma::literais;

namespace ajuda {
namespace {

constexpr std::size_t kTamanhoRotulo = 23;
constexpr const char* kTitulo = "POSICAO E FORMATO DO TUTORIAL";
constexpr const char* kRotuloTopo = "MARGEM SUPERIOR.......:";
constexpr const char* kRotuloEsquerda = "MARGEM ESQUERDA.......:";
constexpr const char* kRotuloAltura = "ALTURA................:";
constexpr const char* kRotuloLargura = "LARGURA...............:";

// A whole number with an optional sign; blanks around it are tolerated since
// the file is sometimes edited by hand.
int inteiro(const std::string& texto) {
    const auto erro = [&] {
        return plataforma::Erro("\"" + texto + "\" não é um número inteiro válido."_w, "ErroConversao");
    };
    const std::string_view t = plataforma::apara(texto);
    if (t.empty()) throw erro();
    std::size_t i = 0;
    const bool negativo = t[i] == '-';
    if (t[i] == '-' || t[i] == '+') ++i;
    if (i == t.size()) throw erro();
    long long v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c < '0' || c > '9') throw erro();
        v = v * 10 + (c - '0');
        if (v > std::numeric_limits<int>::max()) throw erro();
    }
    return static_cast<int>(negativo ? -v : v);
}

// At least three digits, zero-padded; a negative position (a window on a
// monitor left of or above the main one) keeps the padding after its sign.
std::string tresDigitos(int v) {
    const long long magnitude = v < 0 ? -static_cast<long long>(v) : v;
    char b[24];
    std::snprintf(b, sizeof b, "%s%03lld", v < 0 ? "-" : "", magnitude);
    return b;
}

}  // namespace

Posicao lePosicao(const std::vector<std::string>& linhas) {
    Posicao p;
    for (const std::string& l : linhas) {
        if (l.size() < kTamanhoRotulo) continue;
        const std::string rotulo = l.substr(0, kTamanhoRotulo);
        int* destino = nullptr;
        if (rotulo == kRotuloTopo) destino = &p.topo;
        else if (rotulo == kRotuloEsquerda) destino = &p.esquerda;
        else if (rotulo == kRotuloAltura) destino = &p.altura;
        else if (rotulo == kRotuloLargura) destino = &p.largura;
        if (!destino) continue;
        // The value starts at character 25, after the blank that follows the label.
        *destino = inteiro(l.size() > kTamanhoRotulo + 1 ? l.substr(kTamanhoRotulo + 1) : std::string());
    }
    return p;
}

std::vector<std::string> linhasPosicao(const Posicao& p) {
    return {kTitulo,
            std::string(29, '='),
            std::string(kRotuloTopo) + " " + tresDigitos(p.topo),
            std::string(kRotuloEsquerda) + " " + tresDigitos(p.esquerda),
            std::string(kRotuloAltura) + " " + tresDigitos(p.altura),
            std::string(kRotuloLargura) + " " + tresDigitos(p.largura)};
}

Layout layoutTutorial(int altura, int largura) {
    // The integer nearest to W / 2, a half going to the even neighbour (513 -> 256).
    int meio = largura / 2;
    if (largura % 2 != 0) {
        const int abaixo = largura < 0 ? meio - 1 : meio;  // floor(W / 2)
        meio = abaixo % 2 == 0 ? abaixo : abaixo + 1;
    }
    return {altura - 130, largura - 24, largura - 24, altura - 60, meio - 11, meio - 8};
}

}  // namespace ajuda
