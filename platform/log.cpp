#include "platform/log.h"

#include "platform/text.h"

#include <cstdio>

namespace plataforma {
namespace {
std::function<void(const std::string&)> g_destino;
bool g_partida = false;
}  // namespace

std::string linhaLog(const QDateTime& momento, const std::string& texto) {
    std::string umaLinha;
    bool quebra = false;
    for (char c : texto) {
        if (c == '\r' || c == '\n') {
            quebra = true;
            continue;
        }
        if (quebra && !umaLinha.empty()) umaLinha += " / ";
        quebra = false;
        umaLinha += c;
    }
    return momento.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString() + " capsulas: " +
           paraQString(umaLinha).toStdString();
}

void anotaNoLog(const std::string& texto) {
    const std::string linha = linhaLog(QDateTime::currentDateTime(), texto);
    if (g_destino) {
        g_destino(linha);
        return;
    }
    std::fprintf(stderr, "%s\n", linha.c_str());
    std::fflush(stderr);
}

void defineDestinoLog(std::function<void(const std::string&)> destino) { g_destino = std::move(destino); }

void definePartida(bool emPartida) { g_partida = emPartida; }
bool emPartida() { return g_partida; }

}  // namespace plataforma
