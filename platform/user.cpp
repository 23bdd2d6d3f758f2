#include "platform/user.h"

#include <cstring>
#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace plataforma {
namespace {
std::optional<std::string> g_usuario;
}

std::string usuarioSistema() {
    if (g_usuario) return *g_usuario;
    char buffer[50] = {};
#ifdef _WIN32
    DWORD tamanho = sizeof buffer;
    if (!GetUserNameA(buffer, &tamanho)) return {};
#else
    // Mirrors a 50-byte buffer: a name that does not fit gives the empty text.
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) {
        if (std::strlen(pw->pw_name) > 49) return {};
        std::strncpy(buffer, pw->pw_name, 49);
    } else if (getlogin_r(buffer, sizeof buffer) != 0) {
        return {};
    }
#endif
    return std::string(buffer);
}

void defineUsuarioSistema(std::optional<std::string> nome) { g_usuario = std::move(nome); }
}  // namespace plataforma
