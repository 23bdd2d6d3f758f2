#include "platform/files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace plataforma {

bool arquivoExiste(const std::string& caminho) {
    std::error_code ec;
    return std::filesystem::is_regular_file(caminho, ec);
}

bool apagaArquivo(const std::string& caminho) {
    std::error_code ec;
    return std::filesystem::remove(caminho, ec) && !ec;
}

std::optional<std::vector<std::string>> leLinhas(const std::string& caminho, std::size_t maxLinha) {
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<std::string> linhas;
    std::string atual;
    bool temConteudo = false;
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n') {
            if (!atual.empty() && atual.back() == '\r') atual.pop_back();
            linhas.push_back(std::move(atual));
            atual.clear();
            temConteudo = false;
            continue;
        }
        temConteudo = true;
        if (atual.size() < maxLinha + 1) atual.push_back(static_cast<char>(c));
    }
    const bool erro = std::ferror(f) != 0;
    std::fclose(f);
    if (erro) return std::nullopt;
    if (temConteudo) {
        if (!atual.empty() && atual.back() == '\r') atual.pop_back();
        linhas.push_back(std::move(atual));
    }
    for (auto& l : linhas)
        if (l.size() > maxLinha) l.resize(maxLinha);
    return linhas;
}

bool gravaLinhas(const std::string& caminho, const std::vector<std::string>& linhas) {
    std::FILE* f = std::fopen(caminho.c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (const auto& l : linhas) {
        ok = ok && std::fwrite(l.data(), 1, l.size(), f) == l.size();
        ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

}  // namespace plataforma
