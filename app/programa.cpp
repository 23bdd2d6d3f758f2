#include "app/programa.h"

#include "platform/messages.h"
#include "platform/program.h"

#include <QApplication>

namespace {
// The general error handler: an error that escapes an event handler is shown
// with its own message and the program goes on.
class Aplicacao : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override {
        try {
            return QApplication::notify(receptor, evento);
        } catch (const std::exception& e) {
            plataforma::trataErro(e);
        }
        return false;
    }
};
}  // namespace

int executaPrograma(int argc, char* argv[]) {
    Aplicacao app(argc, argv);
    return app.exec();
}
