#pragma once
// A delaying TCP proxy between clients and the database server: every chunk of
// bytes, either way, is passed on a fixed delay after it arrived, so that a
// loopback server answers like one at the far end of a slow link (25 ms each
// way make a round trip of 50 ms).
//
// It counts turns: a client send that follows a server reply. Sends that wait
// for no reply (several connections opened at once, a request the client
// queues behind another) make one turn; a send that had to wait for a reply
// to the current turn starts the next. So the count is the round trips the
// client waited for in a row, whatever number of connections it used.

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace bench {

class ProxyAtraso {
public:
    // Listens on a free loopback port and passes to 127.0.0.1:portaServidor.
    ProxyAtraso(int portaServidor, int atrasoMs);
    ~ProxyAtraso();
    ProxyAtraso(const ProxyAtraso&) = delete;
    ProxyAtraso& operator=(const ProxyAtraso&) = delete;

    int porta() const { return porta_; }
    int atrasoMs() const { return atrasoMs_; }
    // Turns since the proxy started; the difference of two readings is the
    // turns between them.
    long turnos() const;
    // Every client send, in ms since the proxy started, one a line ("turn 12
    // at 640.2 ms, connection 3, 44 bytes, first word 63"), for looking at
    // what an operation asks.
    void registraTurnos(bool sim);
    std::string registro();

private:
    void executa();

    int escuta_ = -1;
    int porta_ = 0;
    int portaServidor_;
    int atrasoMs_;
    int parar_[2] = {-1, -1};  // a pipe that wakes the loop to end it
    std::thread laco_;

    mutable std::mutex mutex_;
    long turno_ = 0;       // the current turn
    long respondido_ = 0;  // the latest turn a reply to which reached the client
    bool registrando_ = false;
    std::string registro_;

    friend struct LacoProxy;
};

}  // namespace bench
