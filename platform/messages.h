#pragma once
// Every message box of the program goes through these functions.
// - In the program: a modal box (installed with defineCaixas).
// - In tests: a recorder (GravadorMensagens) keeps the texts and answers at once.
// - Unattended (BRENVITA_MESSAGES names a file): each message is appended to that
//   file in UTF-8, records separated by the ASCII record separator (0x1E), and
//   answered at once: OK, and for questions the answer that changes nothing.
// Outside the tests, the messages of a start and the error messages are also
// written to the log (log.h).
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace plataforma {

enum class TipoMensagem { Informacao, Erro };

void mostraMensagem(const std::string& texto, TipoMensagem tipo = TipoMensagem::Informacao);
// Sim / Não question; true for Sim.
bool perguntaSimNao(const std::string& texto);
// OK / Cancel confirmation (record deletion); true for OK.
bool confirmaOkCancela(const std::string& texto);

// The boxes themselves, which need a widgets application: the program installs
// modal boxes at start-up. Without them (a console run) a message goes to the
// log (log.h) and a question gets the answer that changes nothing.
struct Caixas {
    std::function<void(const std::string& texto, TipoMensagem tipo)> mensagem;
    std::function<bool(const std::string& texto)> simNao;
    std::function<bool(const std::string& texto)> okCancela;
    std::function<void()> bipe;
};
void defineCaixas(Caixas caixas);
const Caixas& caixas();

// Test recorder: installed for its lifetime, it replaces the boxes (and a
// recorder installed before it, until it goes).
class GravadorMensagens {
public:
    GravadorMensagens();
    ~GravadorMensagens();
    GravadorMensagens(const GravadorMensagens&) = delete;
    GravadorMensagens& operator=(const GravadorMensagens&) = delete;

    std::vector<std::string> textos;  // every message and question shown, in order
    std::deque<bool> respostas;       // answers to questions, used first to last
    bool respostaPadrao = false;      // when respostas is empty
    // Called after each message or question, as the closing of a real box would
    // re-activate the window below it.
    std::function<void()> aoFechar;

    void limpa() { textos.clear(); }
    std::string ultima() const { return textos.empty() ? std::string() : textos.back(); }

private:
    GravadorMensagens* anterior_;
};

}  // namespace plataforma
