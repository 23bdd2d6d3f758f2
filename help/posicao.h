#pragma once
// The help window's placement file (Tutorial.ini) and the arithmetic that lays
// out its controls when it is resized.
#include <string>
#include <vector>

namespace ajuda {

inline constexpr const char* kArquivoPosicao = "Tutorial.ini";

struct Posicao {
    int topo = 200;
    int esquerda = 300;
    int altura = 272;
    int largura = 513;
    friend bool operator==(const Posicao&, const Posicao&) = default;
};

// Values from the lines whose first 23 characters are one of the four labels,
// read from character 25 to the end; other lines are ignored, a missing label
// keeps its default and a repeated one takes the last value. A value that is
// not an integer throws plataforma::Erro with the conversion message.
Posicao lePosicao(const std::vector<std::string>& linhas);

// The six lines of the file, values with at least three digits ("095").
std::vector<std::string> linhasPosicao(const Posicao& posicao);

// Sizes of the help window's controls for a window of the given size.
struct Layout {
    int alturaTexto;      // DBRichEdit1
    int larguraTexto;     // DBRichEdit1
    int larguraTitulo;    // DBEdit1
    int topoBotoes;       // BitBtn2 and BitBtn1
    int larguraBotoes;    // BitBtn2 and BitBtn1
    int esquerdaProxima;  // BitBtn1 (next page); BitBtn2 keeps its left
    friend bool operator==(const Layout&, const Layout&) = default;
};
Layout layoutTutorial(int altura, int largura);

}  // namespace ajuda
