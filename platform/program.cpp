#include "platform/program.h"

#include "platform/messages.h"

#include <cstdlib>

namespace plataforma {
namespace {
std::function<void(int)> g_gancho;
int g_bipes = 0;
}  // namespace

void encerraPrograma(int codigo) {
    if (g_gancho) {
        g_gancho(codigo);
        throw ProgramaEncerrado{codigo};
    }
    std::exit(codigo);
}

void interceptaEncerramento(std::function<void(int)> gancho) { g_gancho = std::move(gancho); }

void bipe() {
    ++g_bipes;
    // Only the installed boxes (a widgets application) can sound it.
    if (caixas().bipe && !std::getenv("BRENVITA_MESSAGES")) caixas().bipe();
}

int contagemBipes() { return g_bipes; }

void trataErro(const std::exception& e) {
    if (dynamic_cast<const Abortado*>(&e)) return;
    mostraMensagem(e.what(), TipoMensagem::Erro);
}

}  // namespace plataforma
