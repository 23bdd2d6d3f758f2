#include "platform/messages.h"

#include "platform/log.h"
#include "platform/text.h"

#include <QFile>
#include <cstdlib>
#include <mutex>

namespace plataforma {
namespace {
GravadorMensagens* g_gravador = nullptr;
// Tests post from several workstations' threads at once into one recorder.
std::mutex g_gravando;

const char* arquivoAutomatico() {
    const char* f = std::getenv("BRENVITA_MESSAGES");
    return (f && *f) ? f : nullptr;
}

void anotaNoArquivo(const char* caminho, const std::string& texto) {
    QFile f(QString::fromLocal8Bit(caminho));
    if (!f.open(QIODevice::Append)) return;
    QByteArray registro;
    if (f.size() > 0) registro.append('\x1e');
    registro.append(paraQString(texto).toUtf8());
    f.write(registro);
}

// Returns true when the message was handled without a box (recorder or file).
bool registra(const std::string& texto) {
    std::lock_guard trava(g_gravando);
    if (g_gravador) {
        g_gravador->textos.push_back(texto);
        return true;
    }
    if (const char* f = arquivoAutomatico()) {
        anotaNoArquivo(f, texto);
        return true;
    }
    return false;
}

void aposFechar() {
    if (g_gravador && g_gravador->aoFechar) g_gravador->aoFechar();
}

bool respostaGravada() {
    std::lock_guard trava(g_gravando);
    if (!g_gravador) return false;
    if (g_gravador->respostas.empty()) return g_gravador->respostaPadrao;
    const bool r = g_gravador->respostas.front();
    g_gravador->respostas.pop_front();
    return r;
}

Caixas g_caixas;

// What the technician needs afterwards (see log.h), and whatever no box can show.
void anota(const std::string& texto, bool erro, bool temCaixa) {
    if (erro || emPartida() || !temCaixa) anotaNoLog(texto);
}
}  // namespace

void defineCaixas(Caixas c) { g_caixas = std::move(c); }
const Caixas& caixas() { return g_caixas; }

void mostraMensagem(const std::string& texto, TipoMensagem tipo) {
    if (!g_gravador) anota(texto, tipo == TipoMensagem::Erro, g_caixas.mensagem || arquivoAutomatico());
    if (registra(texto)) {
        aposFechar();
        return;
    }
    if (g_caixas.mensagem) g_caixas.mensagem(texto, tipo);
}

namespace {
// A question asked with no one to answer it gets the answer that changes nothing.
bool pergunta(const std::string& texto, const std::function<bool(const std::string&)>& caixa) {
    if (!g_gravador) anota(texto, false, caixa || arquivoAutomatico());
    if (registra(texto)) {
        const bool r = respostaGravada();
        aposFechar();
        return r;
    }
    return caixa ? caixa(texto) : false;
}
}  // namespace

bool perguntaSimNao(const std::string& texto) { return pergunta(texto, g_caixas.simNao); }
bool confirmaOkCancela(const std::string& texto) { return pergunta(texto, g_caixas.okCancela); }

GravadorMensagens::GravadorMensagens() : anterior_(g_gravador) { g_gravador = this; }
GravadorMensagens::~GravadorMensagens() {
    if (g_gravador == this) g_gravador = anterior_;
}

}  // namespace plataforma
