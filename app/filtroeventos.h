#pragma once
// Lets the window's handlers see the events of a plain Qt control without a
// subclass of it: the function runs before the control gets each event and
// returns true to swallow it. The filter lives as long as the control.
#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace aparencia {

class FiltroEventos : public QObject {
public:
    FiltroEventos(QObject* alvo, std::function<bool(QEvent*)> funcao)
        : QObject(alvo), funcao_(std::move(funcao)) {
        alvo->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override { return funcao_(e); }

private:
    std::function<bool(QEvent*)> funcao_;
};

inline void filtraEventos(QObject* alvo, std::function<bool(QEvent*)> funcao) {
    new FiltroEventos(alvo, std::move(funcao));
}

}  // namespace aparencia
