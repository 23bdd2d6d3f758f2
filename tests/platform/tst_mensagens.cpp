// Message boxes replaced by the test recorder and by the unattended mode, and
// the end of the program and the general error handler.
#include "platform/files.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/text.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace plataforma;
using namespace plataforma::literais;

class TstMensagens : public QObject {
    Q_OBJECT
    QTemporaryDir pasta_;

    QByteArray arquivo() const { return pasta_.filePath("mensagens.txt").toLocal8Bit(); }
    QByteArray conteudo() const {
        QFile f(QString::fromLocal8Bit(arquivo()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void cleanup() {
        defineDestinoLog(nullptr);
        definePartida(false);
        defineCaixas({});
        qunsetenv("BRENVITA_MESSAGES");
        QFile::remove(QString::fromLocal8Bit(arquivo()));
    }

    void gravadorGuardaOrdemERespostas() {
        GravadorMensagens g;
        int fechamentos = 0;
        g.aoFechar = [&] { ++fechamentos; };
        g.respostas = {true, false};
        g.respostaPadrao = true;
        mostraMensagem("um");
        QCOMPARE(perguntaSimNao("dois"), true);
        QCOMPARE(confirmaOkCancela("três"_w), false);
        QCOMPARE(perguntaSimNao("quatro"), true);  // answers used up: the default
        QCOMPARE(g.textos, (std::vector<std::string>{"um", "dois", "três"_w, "quatro"}));
        QCOMPARE(g.ultima(), "quatro");
        QCOMPARE(fechamentos, 4);
    }

    // Scripted runs: every message appended in UTF-8, records apart by 0x1E,
    // questions answered with the answer that changes nothing.
    void modoAutomatico() {
        qputenv("BRENVITA_MESSAGES", arquivo());
        mostraMensagem("A\xE7\xE3o\r\nlinha 2");
        QCOMPARE(perguntaSimNao("Excluir?"), false);
        QCOMPARE(confirmaOkCancela("Delete record?"), false);
        QCOMPARE(conteudo(), QByteArray("A\xC3\xA7\xC3\xA3o\r\nlinha 2\x1e"
                                        "Excluir?\x1e"
                                        "Delete record?"));
        mostraMensagem("\x80");  // a later run appends to what is there
        QVERIFY(conteudo().endsWith("Delete record?\x1e\xE2\x82\xAC"));
    }

    void gravadorTemPrecedencia() {
        qputenv("BRENVITA_MESSAGES", arquivo());
        GravadorMensagens g;
        mostraMensagem("x");
        QCOMPARE(g.textos.size(), std::size_t(1));
        QVERIFY(!QFile::exists(QString::fromLocal8Bit(arquivo())));
    }

    void trataErroMostraAMensagem() {
        GravadorMensagens g;
        protegido([] { throw Erro("falhou", "ErroTeste"); });
        protegido([] { throw Abortado(); });  // a silent stop shows nothing
        QCOMPARE(g.textos, std::vector<std::string>{"falhou"});
    }

    // The end of the program passes through the general error handler untouched.
    void encerramentoInterceptado() {
        GravadorMensagens g;
        int codigo = -1;
        interceptaEncerramento([&](int c) { codigo = c; });
        bool chegou = false;
        try {
            protegido([&] {
                encerraPrograma(3);
                chegou = true;
            });
            QFAIL("not ended");
        } catch (const ProgramaEncerrado& e) {
            QCOMPARE(e.codigo, 3);
        }
        interceptaEncerramento(nullptr);
        QCOMPARE(codigo, 3);
        QVERIFY(!chegou);
        QVERIFY(g.textos.empty());
    }

    void bipeContado() {
        const int antes = contagemBipes();
        bipe();  // no GUI here: counted only
        QCOMPARE(contagemBipes(), antes + 1);
    }

    // The log keeps what a start showed, the errors and the failed writes;
    // ordinary messages of a running program stay out of it.
    void log() {
        QCOMPARE(linhaLog(QDateTime(QDate(2024, 5, 2), QTime(14, 3, 11)), "A\xE7\xE3o\r\r\nClasse: X\rErro: Y"),
                 "2024-05-02 14:03:11 capsulas: A\xC3\xA7\xC3\xA3o / Classe: X / Erro: Y");
        std::vector<std::string> linhas;
        defineDestinoLog([&](const std::string& l) { linhas.push_back(l); });
        Caixas c;
        int caixas = 0;
        c.mensagem = [&](const std::string&, TipoMensagem) { ++caixas; };
        defineCaixas(c);

        definePartida(true);
        mostraMensagem("na partida");
        definePartida(false);
        mostraMensagem("em uso");
        mostraMensagem("erro", TipoMensagem::Erro);
        QCOMPARE(caixas, 3);
        QCOMPARE(linhas.size(), 2u);
        QVERIFY(linhas[0].ends_with(" capsulas: na partida"));
        QVERIFY(linhas[1].ends_with(" capsulas: erro"));

#ifndef _WIN32
        // A full disk: the old file stays whole, the log says why.
        const std::string arquivo = pasta_.filePath("ULTATIV.QVF").toStdString();
        QVERIFY(gravaLinhas(arquivo, {"antes"}));
        QVERIFY(QFile::link("/dev/full", QString::fromStdString(arquivo + ".novo")));
        QVERIFY(!gravaLinhas(arquivo, {"depois"}));
        QCOMPARE(*leLinhas(arquivo), std::vector<std::string>{"antes"});
        QVERIFY(!QFile::exists(QString::fromStdString(arquivo + ".novo")));
        QCOMPARE(linhas.size(), 3u);
        QVERIFY(linhas[2].ends_with(arquivo + ": No space left on device"));
#endif
    }
};

QTEST_GUILESS_MAIN(TstMensagens)
#include "tst_mensagens.moc"
