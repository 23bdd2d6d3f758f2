#include "platform/suite.h"

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <optional>

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
}  // namespace

std::string pastaSuite() {
    if (g_pastaSuite) return *g_pastaSuite;
#ifdef _WIN32
    return "c:\\brenvita\\";
#else
    if (const char* d = std::getenv("BRENVITA_DIR"); d && *d) return comSeparador(d);
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
    if (QCoreApplication::instance())
        return comSeparador(QCoreApplication::applicationDirPath().toStdString());
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return comSeparador(p.parent_path().string());
    return comSeparador(".");
}

void definePastaExecutavel(const std::string& pasta) {
    if (pasta.empty())
        g_pastaExecutavel.reset();
    else
        g_pastaExecutavel = comSeparador(pasta);
}

}  // namespace plataforma
