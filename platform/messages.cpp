#include "platform/messages.h"

#include "platform/text.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>

namespace plataforma {
namespace {
GravadorMensagens* g_gravador = nullptr;

const char* arquivoAutomatico() {
    const char* f = std::getenv("BRENVITA_MESSAGES");
    return (f && *f) ? f : nullptr;
}

void anotaNoArquivo(const char* caminho, const std::string& texto) {
    QFile f(QString::fromLocal8Bit(caminho));
    if (!f.open(QIODevice::Append)) return;
    QByteArray registro;
    if (f.size() > 0) registro.append('\x1e');
    registro.append(paraQString(texto).toUtf8());
    f.write(registro);
}

// Returns true when the message was handled without a box (recorder or file).
bool registra(const std::string& texto) {
    if (g_gravador) {
        g_gravador->textos.push_back(texto);
        return true;
    }
    if (const char* f = arquivoAutomatico()) {
        anotaNoArquivo(f, texto);
        return true;
    }
    return false;
}

void aposFechar() {
    if (g_gravador && g_gravador->aoFechar) g_gravador->aoFechar();
}

bool respostaGravada() {
    if (!g_gravador) return false;
    if (g_gravador->respostas.empty()) return g_gravador->respostaPadrao;
    const bool r = g_gravador->respostas.front();
    g_gravador->respostas.pop_front();
    return r;
}

QWidget* janelaAtiva() { return QApplication::activeWindow(); }

// The boxes carry the program's name; it is not set as the application's display
// name, which the desktop would append to every window title.
QString tituloMensagens() { return QStringLiteral("Cadastro de C\u00e1psulas"); }
}  // namespace

void mostraMensagem(const std::string& texto, TipoMensagem tipo) {
    if (registra(texto)) {
        aposFechar();
        return;
    }
    QMessageBox box(tipo == TipoMensagem::Erro ? QMessageBox::Critical : QMessageBox::NoIcon,
                    tituloMensagens(), paraQString(texto), QMessageBox::Ok,
                    janelaAtiva());
    box.exec();
}

bool perguntaSimNao(const std::string& texto) {
    if (registra(texto)) {
        const bool r = respostaGravada();
        aposFechar();
        return r;
    }
    QMessageBox box(QMessageBox::Question, tituloMensagens(), paraQString(texto),
                    QMessageBox::NoButton, janelaAtiva());
    QPushButton* sim = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* nao = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    box.setDefaultButton(nao);
    box.setEscapeButton(nao);
    box.exec();
    return box.clickedButton() == sim;
}

bool confirmaOkCancela(const std::string& texto) {
    if (registra(texto)) {
        const bool r = respostaGravada();
        aposFechar();
        return r;
    }
    QMessageBox box(QMessageBox::Question, tituloMensagens(), paraQString(texto),
                    QMessageBox::Ok | QMessageBox::Cancel, janelaAtiva());
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

GravadorMensagens::GravadorMensagens() { g_gravador = this; }
GravadorMensagens::~GravadorMensagens() {
    if (g_gravador == this) g_gravador = nullptr;
}

}  // namespace plataforma
