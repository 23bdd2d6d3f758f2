// The settings file reader over arbitrary bytes, read both from lines in memory
// and from a real file (so that the line reader is part of the run).
#include "comum.h"
#include "settings/settings.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using namespace configuracoes;
    const std::string t = fuzz::texto(dados, tamanho);
    const Leitura emMemoria = leConfiguracoes(fuzz::linhas(t));

    // In memory when the system offers it: a file on disk costs milliseconds a run.
    static const std::string arquivo =
        ((std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path()) /
         ("fuzz-brenvita-" + std::to_string(getpid()) + ".ini"))
            .string();
    static const struct Limpeza {
        ~Limpeza() { std::filesystem::remove(arquivo); }
    } limpeza;
    {
        std::ofstream f(arquivo, std::ios::binary | std::ios::trunc);
        f.write(t.data(), static_cast<std::streamsize>(t.size()));
    }
    const Leitura doArquivo = leArquivoConfiguracoes(arquivo);

    for (const Leitura* l : {&emMemoria, &doArquivo}) {
        for (std::size_t i = 0; i < l->valores.size(); ++i) {
            if (!l->valores[i]) continue;
            const Definicao& d = definicoes()[i];
            if (d.tipo == Tipo::Inteiro) {
                EXIGE(std::holds_alternative<std::int32_t>(*l->valores[i]));
            } else {
                const auto& v = std::get<std::string>(*l->valores[i]);
                EXIGE(v.size() <= d.capacidade && v.size() <= kTamanhoValor);
                EXIGE(v.empty() || v.front() != ' ');  // cut after trimming: a blank may end it
            }
        }
    }
    // Lines longer than the value's last column read the same cut on reading.
    for (std::size_t i = 0; i < emMemoria.valores.size(); ++i) EXIGE(emMemoria.valores[i] == doArquivo.valores[i]);
    EXIGE(emMemoria.erro.has_value() == doArquivo.erro.has_value());

    // Storing and reading back through the program's settings.
    restauraPadroes();
    guarda(doArquivo);
    for (int n = 1; n <= kQuantidade; ++n) {
        const auto& v = doArquivo.valores[static_cast<std::size_t>(n - 1)];
        if (v && std::holds_alternative<std::string>(*v)) EXIGE(valor(n) == std::get<std::string>(*v));
    }
    return 0;
}
