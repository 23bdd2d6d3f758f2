#include "platform/files.h"

#include "platform/log.h"
#include "platform/text.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <thread>

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
enum class Gravacao { Feita, Ocupado, Falhou };

// One attempt; `motivo` gets the system's words when it fails.
Gravacao tentaGravar(const std::string& caminho, const QByteArray& conteudo, QString& motivo) {
    // Written beside the file under a name of its own and put in its place only
    // when whole: a full disk leaves the old file rather than an empty one, and
    // two programs writing the same file at once (the same user twice) each put
    // in a whole file of their own. A folder that takes no new file still lets
    // the file itself be rewritten (where Qt does so: not on Windows).
    QSaveFile arquivo(QFile::decodeName(caminho.c_str()));
    arquivo.setDirectWriteFallback(true);
    // Unbuffered, so that a failed write is seen here: the write buffer's own
    // failure at commit() would go unnoticed and the short file take the place
    // of the old one.
    bool gravado = arquivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qsizetype feito = 0; gravado && feito < conteudo.size();) {
        const qint64 n = arquivo.write(conteudo.constData() + feito, conteudo.size() - feito);
        gravado = n > 0;
        feito += gravado ? n : 0;
    }
    if (gravado && arquivo.commit()) return Gravacao::Feita;
    motivo = arquivo.errorString();
    if (!gravado || arquivo.error() != QFileDevice::RenameError) return Gravacao::Falhou;
    // Whole, but it cannot take the old file's place: on Windows another program
    // of the suite reading the file at this moment holds it. It is rewritten in
    // place, as it was before files were replaced.
    QFile noLugar(QFile::decodeName(caminho.c_str()));
    if (noLugar.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
        noLugar.write(conteudo) == conteudo.size())
        return Gravacao::Feita;
    motivo = noLugar.errorString();
    return Gravacao::Ocupado;
}
}  // namespace

bool gravaLinhas(const std::string& caminho, const std::vector<std::string>& linhas) {
    QByteArray conteudo;
    for (const auto& l : linhas) conteudo.append(l.data(), static_cast<qsizetype>(l.size())).append("\r\n");
    // On Windows a file is held for a moment by whoever just wrote or is reading
    // it (the other program, a virus scanner): neither replaced nor opened then.
    // A few more tries over about half a second get past that moment.
    QString motivo;
    for (int tentativa = 1;; ++tentativa) {
        const Gravacao g = tentaGravar(caminho, conteudo, motivo);
        if (g == Gravacao::Feita) return true;
        if (g == Gravacao::Falhou || tentativa == 6) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(30 * tentativa));
    }
    // The system's own words for the reason (a half-written file is already gone).
    anotaNoLog("Não foi possível gravar o arquivo "_w + caminho + ": " + deQString(motivo));
    return false;
}

}  // namespace plataforma
