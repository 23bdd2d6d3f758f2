#include "platform/localidade.h"

#include <QLocale>
#include <cstdlib>

namespace plataforma {

bool localidadeDoUsuario(std::string_view lcAll, std::string_view lcNumeric, std::string_view lang) {
    for (std::string_view v : {lcAll, lcNumeric, lang}) {
        if (v.empty()) continue;
        // "C.UTF-8" and "POSIX" carry no language either.
        const std::string_view nome = v.substr(0, v.find_first_of(".@"));
        return nome != "C" && nome != "POSIX";
    }
    return false;
}

void adotaLocalidadePadrao() {
// Windows always has the user's regional settings (the system locale); the
// locale variables are a POSIX convention it doesn't use.
#ifndef _WIN32
    auto variavel = [](const char* nome) {
        const char* v = std::getenv(nome);
        return std::string_view(v ? v : "");
    };
    if (!localidadeDoUsuario(variavel("LC_ALL"), variavel("LC_NUMERIC"), variavel("LANG")))
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
#endif
}

}  // namespace plataforma
