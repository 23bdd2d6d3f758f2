#include "bench/atraso.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <list>
#include <utility>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

using Relogio = std::chrono::steady_clock;

void naoBloqueia(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    const int um = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
}

// Bytes read on one side, to be written on the other once their time comes.
struct Pedaco {
    Relogio::time_point quando;
    std::string bytes;  // empty: the side that sent them closed
    long turno;
};

// One direction of a connection.
struct Sentido {
    int de = -1, para = -1;
    std::deque<Pedaco> fila;  // waiting for their time
    std::string saida;        // due, not yet taken by the socket
    long turnoSaida = 0;      // the turn of the bytes last moved to `saida`
    bool lido = false;        // the sending side closed
    bool fechado = false;     // and that was passed on
};

struct Conexao {
    int numero;
    Sentido ida, volta;  // client to server, server to client
    long turnoEntregue = 0;  // the turn of the client's bytes the server has last been given
    long turnoEnviado = 0;   // the turn of the client's last send
    bool terminada() const { return ida.fechado && volta.fechado && ida.saida.empty() && volta.saida.empty(); }
};

}  // namespace

struct LacoProxy {
    explicit LacoProxy(ProxyAtraso& proxy) : p(proxy) {}
    ProxyAtraso& p;
    Relogio::time_point inicio = Relogio::now();
    std::list<Conexao> conexoes;
    int proxima = 1;

    double msDesde(Relogio::time_point t) const { return std::chrono::duration<double, std::milli>(t - inicio).count(); }

    // A client send: the next turn when a reply to the current one has reached the client.
    long turnoDoCliente(const Conexao& c, Relogio::time_point agora, const char* bytes, std::size_t n) {
        std::lock_guard trava(p.mutex_);
        const bool novo = p.respondido_ >= p.turno_;
        if (novo) ++p.turno_;
        if (p.registrando_) {
            // The first word of a request is its operation code, unless the
            // connection is encrypted.
            unsigned op = 0;
            for (std::size_t i = 0; i < 4 && i < n; ++i) op = op << 8 | static_cast<unsigned char>(bytes[i]);
            char linha[128];
            std::snprintf(linha, sizeof linha, "%s %ld at %.1f ms, connection %d, %zu bytes, first word %u\n",
                          novo ? "turn" : "    ", p.turno_, msDesde(agora), c.numero, n, op);
            p.registro_ += linha;
        }
        return p.turno_;
    }

    void entregue(Conexao& c, Sentido& s, long turno) {
        if (&s == &c.ida) {
            c.turnoEntregue = turno;
        } else {
            std::lock_guard trava(p.mutex_);
            if (turno > p.respondido_) p.respondido_ = turno;
        }
    }

    void aceita() {
        const int cliente = accept(p.escuta_, nullptr, nullptr);
        if (cliente < 0) return;
        const int servidor = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(p.portaServidor_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(servidor, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            close(servidor);
            close(cliente);
            return;
        }
        naoBloqueia(cliente);
        naoBloqueia(servidor);
        Conexao& c = conexoes.emplace_back();
        c.numero = proxima++;
        c.ida.de = c.volta.para = cliente;
        c.ida.para = c.volta.de = servidor;
    }

    void le(Conexao& c, Sentido& s, Relogio::time_point agora) {
        char buf[65536];
        for (;;) {
            const ssize_t n = read(s.de, buf, sizeof buf);
            if (n > 0) {
                const long turno = &s == &c.ida ? turnoDoCliente(c, agora, buf, static_cast<std::size_t>(n)) : c.turnoEntregue;
                if (&s == &c.ida) c.turnoEnviado = turno;
                s.fila.push_back({agora + std::chrono::milliseconds(p.atrasoMs_), std::string(buf, n), turno});
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                s.lido = true;
                // A client that closes waits for no reply (the last request of
                // a connection may have none): its next send starts a turn.
                if (&s == &c.ida) entregue(c, c.volta, c.turnoEnviado);
                s.fila.push_back({agora + std::chrono::milliseconds(p.atrasoMs_), {}, 0});
            }
            return;
        }
    }

    // Moves what is due to the output, writes what the socket takes.
    void escreve(Conexao& c, Sentido& s, Relogio::time_point agora) {
        while (!s.fila.empty() && s.fila.front().quando <= agora && !s.fechado) {
            Pedaco& d = s.fila.front();
            if (d.bytes.empty()) {
                if (!s.saida.empty()) break;  // the close goes after the bytes before it
                shutdown(s.para, SHUT_WR);
                s.fechado = true;
            } else {
                s.saida += d.bytes;
                s.turnoSaida = d.turno;
            }
            s.fila.pop_front();
        }
        while (!s.saida.empty()) {
            const ssize_t n = write(s.para, s.saida.data(), s.saida.size());
            if (n <= 0) {
                if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
                s.saida.clear();  // the other side is gone
                s.fechado = true;
                s.fila.clear();
                return;
            }
            s.saida.erase(0, static_cast<std::size_t>(n));
        }
        if (s.turnoSaida) entregue(c, s, std::exchange(s.turnoSaida, 0));
    }

    void executa() {
        for (;;) {
            const auto agora = Relogio::now();
            for (auto it = conexoes.begin(); it != conexoes.end();) {
                escreve(*it, it->ida, agora);
                escreve(*it, it->volta, agora);
                if (it->terminada()) {
                    close(it->ida.de);
                    close(it->ida.para);
                    it = conexoes.erase(it);
                } else {
                    ++it;
                }
            }

            std::vector<pollfd> fds{{p.escuta_, POLLIN, 0}, {p.parar_[0], POLLIN, 0}};
            std::vector<std::pair<Conexao*, Sentido*>> donos;
            auto espera = Relogio::time_point::max();
            for (Conexao& c : conexoes)
                for (Sentido* s : {&c.ida, &c.volta}) {
                    if (!s->lido) {
                        fds.push_back({s->de, POLLIN, 0});
                        donos.emplace_back(&c, s);
                    }
                    if (!s->saida.empty()) {
                        fds.push_back({s->para, POLLOUT, 0});
                        donos.emplace_back(&c, s);
                    }
                    if (!s->fila.empty() && s->saida.empty()) espera = std::min(espera, s->fila.front().quando);
                }
            int timeout = -1;
            if (espera != Relogio::time_point::max())
                timeout = static_cast<int>(std::max<long long>(
                    0, std::chrono::duration_cast<std::chrono::microseconds>(espera - Relogio::now()).count() / 1000 +
                           1));
            if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
            if (fds[1].revents) return;
            if (fds[0].revents & POLLIN) aceita();
            const auto lido = Relogio::now();
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                auto [c, s] = donos[i - 2];
                if (fds[i].events & POLLIN) le(*c, *s, lido);
            }
        }
    }
};

ProxyAtraso::ProxyAtraso(int portaServidor, int atrasoMs) : portaServidor_(portaServidor), atrasoMs_(atrasoMs) {
    escuta_ = socket(AF_INET, SOCK_STREAM, 0);
    const int um = 1;
    setsockopt(escuta_, SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    if (bind(escuta_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(escuta_, 16) != 0 ||
        getsockname(escuta_, reinterpret_cast<sockaddr*>(&a), &n) != 0 || pipe(parar_) != 0)
        throw std::runtime_error("the delaying proxy could not listen on the loopback interface");
    porta_ = ntohs(a.sin_port);
    laco_ = std::thread([this] {
        LacoProxy laco(*this);
        laco.executa();
        for (Conexao& c : laco.conexoes) {
            close(c.ida.de);
            close(c.ida.para);
        }
    });
}

ProxyAtraso::~ProxyAtraso() {
    const char c = 0;
    if (write(parar_[1], &c, 1) != 1) std::perror("proxy");
    laco_.join();
    close(parar_[0]);
    close(parar_[1]);
    close(escuta_);
}

long ProxyAtraso::turnos() const {
    std::lock_guard trava(mutex_);
    return turno_;
}

void ProxyAtraso::registraTurnos(bool sim) {
    std::lock_guard trava(mutex_);
    registrando_ = sim;
}

std::string ProxyAtraso::registro() {
    std::lock_guard trava(mutex_);
    return std::exchange(registro_, {});
}

}  // namespace bench
