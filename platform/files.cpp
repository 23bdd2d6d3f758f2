#include "platform/files.h"

#include "platform/log.h"
#include "platform/text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace plataforma::literais;

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
    const int motivo = errno;
    std::fclose(f);
    if (erro) {
        errno = motivo;  // the reason of the failed read, not of the close
        return std::nullopt;
    }
    if (temConteudo) {
        if (!atual.empty() && atual.back() == '\r') atual.pop_back();
        linhas.push_back(std::move(atual));
    }
    for (auto& l : linhas)
        if (l.size() > maxLinha) l.resize(maxLinha);
    return linhas;
}

namespace {
// Creates the file anew with the lines; 0, or the reason of the failure.
int escreveArquivo(const std::string& caminho, const std::vector<std::string>& linhas) {
    std::FILE* f = std::fopen(caminho.c_str(), "wb");
    if (!f) return errno;
    int motivo = 0;
    for (const auto& l : linhas)
        if (std::fwrite(l.data(), 1, l.size(), f) != l.size() || std::fwrite("\r\n", 1, 2, f) != 2) {
            motivo = errno;
            break;
        }
    if (std::fclose(f) != 0 && motivo == 0) motivo = errno;
    return motivo;
}
}  // namespace

bool gravaLinhas(const std::string& caminho, const std::vector<std::string>& linhas) {
    // Written beside the file and put in its place only when whole, so that a
    // full disk leaves the old file rather than an empty one. A folder that
    // takes no new file still lets the file itself be rewritten.
    const std::string novo = caminho + ".novo";
    int motivo = escreveArquivo(novo, linhas);
    std::error_code ec;
    if (motivo == 0) {
        std::filesystem::rename(novo, caminho, ec);
        motivo = ec.value();
    }
    if (motivo != 0) {
        std::filesystem::remove(novo, ec);
        if (motivo == EACCES || motivo == EPERM) motivo = escreveArquivo(caminho, linhas);
    }
    if (motivo != 0) {
        anotaNoLog("Não foi possível gravar o arquivo "_w + caminho + ": " + std::strerror(motivo));
        return false;
    }
    return true;
}

}  // namespace plataforma
