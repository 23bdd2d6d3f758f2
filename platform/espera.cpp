#include "platform/espera.h"

#include <thread>

namespace plataforma {
namespace {
std::function<void(bool)> g_indicador;
std::thread::id g_threadDoIndicador;
// A connection may open on a thread of its own beside the window's work; the
// sign belongs to the thread that installed it, and only its waits show.
thread_local int t_profundidade = 0;

bool mostraAqui() { return g_indicador && std::this_thread::get_id() == g_threadDoIndicador; }
}  // namespace

void defineIndicadorEspera(std::function<void(bool)> indicador) {
    g_indicador = std::move(indicador);
    g_threadDoIndicador = std::this_thread::get_id();
}
const std::function<void(bool)>& indicadorEspera() { return g_indicador; }

Espera::Espera() {
    if (t_profundidade++ == 0 && mostraAqui()) g_indicador(true);
}

Espera::~Espera() {
    if (--t_profundidade == 0 && mostraAqui()) g_indicador(false);
}

}  // namespace plataforma
