#pragma once
// Ending the program, the system beep and the general error handler.
#include "platform/text.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace plataforma {

// Thrown by encerraPrograma when a test has intercepted the end of the program,
// so that nothing after the call runs. Deliberately not a std::exception: the
// general error handler must let it through.
struct ProgramaEncerrado {
    int codigo;
};

// Ends the program at once with the exit code.
[[noreturn]] void encerraPrograma(int codigo);
// Tests: intercept the end of the program (nullptr restores std::exit).
void interceptaEncerramento(std::function<void(int)> gancho);

void bipe();
int contagemBipes();  // beeps sounded so far (tests)

// An error of the program or of the database, with the name of its type as the
// suite's messages show it ("Classe: ...").
class Erro : public std::runtime_error {
public:
    explicit Erro(const std::string& mensagem, std::string classe = "Erro")
        : std::runtime_error(mensagem), classe_(std::move(classe)) {}
    const std::string& classe() const { return classe_; }

private:
    std::string classe_;
};

// A silent stop of the operation under way (a refused post, a cancelled close):
// the general error handler shows nothing for it.
class Abortado : public std::exception {
public:
    const char* what() const noexcept override {
        using namespace literais;
        return "Operação cancelada"_w;
    }
};

// The general error handler: shows the error's own message and lets the program go on.
void trataErro(const std::exception& e);

// Runs an event handler under the general error handler.
template <class F>
void protegido(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        trataErro(e);
    }
}

}  // namespace plataforma
