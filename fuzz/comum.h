#pragma once
// What the fuzz targets share: the input cut into lines the way the suite's
// text files are read, and a check that stops the run when a property fails.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

inline std::string texto(const std::uint8_t* dados, std::size_t tamanho) {
    return std::string(reinterpret_cast<const char*>(dados), tamanho);
}

// Lines as the program reads them: LF or CR LF end a line, a bare CR stays in
// it; the last line needs no line end (a CR at the very end is dropped).
inline std::vector<std::string> linhas(const std::string& t) {
    std::vector<std::string> r;
    std::string atual;
    bool aberta = false;
    auto fecha = [&] {
        if (!atual.empty() && atual.back() == '\r') atual.pop_back();
        r.push_back(std::move(atual));
        atual.clear();
        aberta = false;
    };
    for (char c : t) {
        if (c == '\n') {
            fecha();
        } else {
            atual += c;
            aberta = true;
        }
    }
    if (aberta) fecha();
    return r;
}

#define EXIGE(condicao)                                                                          \
    do {                                                                                         \
        if (!(condicao)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condicao); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)

}  // namespace fuzz
