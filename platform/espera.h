#pragma once
// The sign that the program is waiting on the database for the user (the
// window's busy cursor). The database client marks each wait with an Espera;
// the program installs what shows the sign. Nested waits show it once.
#include <functional>

namespace plataforma {

// `indicador(true)` when the outermost wait begins, `indicador(false)` when it
// ends, however it ends. Without one nothing is shown.
void defineIndicadorEspera(std::function<void(bool)> indicador);
const std::function<void(bool)>& indicadorEspera();

class Espera {
public:
    Espera();
    ~Espera();
    Espera(const Espera&) = delete;
    Espera& operator=(const Espera&) = delete;
};

}  // namespace plataforma
