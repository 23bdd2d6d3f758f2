#include "platform/program.h"

#include "platform/messages.h"

#include <QApplication>
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
    // Only a widgets application can sound it; a console or GUI-less test has none.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !std::getenv("BRENVITA_MESSAGES"))
        QApplication::beep();
}

int contagemBipes() { return g_bipes; }

void trataErro(const std::exception& e) {
    if (dynamic_cast<const Abortado*>(&e)) return;
    mostraMensagem(e.what(), TipoMensagem::Erro);
}

}  // namespace plataforma
