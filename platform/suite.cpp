#include "platform/suite.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>
#include <filesystem>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#endif

namespace plataforma {
namespace {
std::optional<std::string> g_pastaSuite;
std::optional<std::string> g_pastaExecutavel;

std::string comSeparador(std::string p) {
#ifdef _WIN32
    if (!p.empty() && p.back() != '\\' && p.back() != '/') p += '\\';
#else
    if (!p.empty() && p.back() != '/') p += '/';
#endif
    return p;
}

// The folder of the running executable as the system names files (the local
// 8-bit code page, native separators), without its final separator.
std::string pastaDoProcesso() {
    if (QCoreApplication::instance())
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toLocal8Bit().toStdString();
#ifdef _WIN32
    char caminho[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, caminho, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        const std::string exe(caminho, n);
        return exe.substr(0, exe.find_last_of("\\/"));
    }
#else
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return p.parent_path().string();
#endif
    return ".";
}
}  // namespace

std::string pastaSuite() {
    if (g_pastaSuite) return *g_pastaSuite;
    if (const char* d = std::getenv("BRENVITA_DIR"); d && *d) return comSeparador(d);
#ifdef _WIN32
    return "c:\\brenvita\\";
#else
    const char* home = std::getenv("HOME");
    return comSeparador(std::string(home && *home ? home : ".") + "/brenvita");
#endif
}

std::string caminhoSuite(const std::string& nome) {
#ifndef _WIN32
    std::string n = nome;
    for (char& c : n)
        if (c == '\\') c = '/';
    return pastaSuite() + n;
#else
    return pastaSuite() + nome;
#endif
}

void definePastaSuite(const std::string& pasta) {
    if (pasta.empty())
        g_pastaSuite.reset();
    else
        g_pastaSuite = comSeparador(pasta);
}

std::string pastaExecutavel() {
    if (g_pastaExecutavel) return *g_pastaExecutavel;
    return comSeparador(pastaDoProcesso());
}

void definePastaExecutavel(const std::string& pasta) {
    if (pasta.empty())
        g_pastaExecutavel.reset();
    else
        g_pastaExecutavel = comSeparador(pasta);
}

}  // namespace plataforma
