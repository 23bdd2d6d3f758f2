#include "platform/espera.h"

namespace plataforma {
namespace {
std::function<void(bool)> g_indicador;
int g_profundidade = 0;
}  // namespace

void defineIndicadorEspera(std::function<void(bool)> indicador) { g_indicador = std::move(indicador); }
const std::function<void(bool)>& indicadorEspera() { return g_indicador; }

Espera::Espera() {
    if (g_profundidade++ == 0 && g_indicador) g_indicador(true);
}

Espera::~Espera() {
    if (--g_profundidade == 0 && g_indicador) g_indicador(false);
}

}  // namespace plataforma
