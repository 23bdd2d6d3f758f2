// Windows-1252 text, ASCII casing, short strings and the text files of the suite.
#include "platform/files.h"
#include "platform/text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

#include <cstdio>

using namespace plataforma;

class TstTexto : public QObject {
    Q_OBJECT
    QTemporaryDir pasta_;

    std::string caminho(const char* nome) const { return pasta_.filePath(nome).toStdString(); }
    void escreve(const char* nome, const QByteArray& conteudo) {
        QFile f(pasta_.filePath(nome));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(conteudo);
    }
    QByteArray conteudo(const char* nome) {
        QFile f(pasta_.filePath(nome));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void todosOsBytesIdaEVolta() {
        std::string todos;
        for (int b = 0; b < 256; ++b) {
            const std::string um(1, static_cast<char>(b));
            const QString q = paraQString(um);
            QCOMPARE(q.size(), 1);
            QCOMPARE(deQString(q), um);
            todos += um;
        }
        QCOMPARE(deQString(paraQString(todos)), todos);
    }

    void pontosDeCodigo() {
        QCOMPARE(paraQString("\x80").at(0).unicode(), char16_t(0x20AC));  // euro
        QCOMPARE(paraQString("\x9F").at(0).unicode(), char16_t(0x0178));
        QCOMPARE(paraQString("\xE3").at(0).unicode(), char16_t(0x00E3));
        QCOMPARE(paraQString("\x81").at(0).unicode(), char16_t(0x0081));  // unassigned: kept as is
        QCOMPARE(paraQString("Cadastro de C\xE1psulas"), QString::fromUtf16(u"Cadastro de C\u00E1psulas"));
        QCOMPARE(deQString(QString::fromUtf16(u"a\u00E7\u00E3o \u2013 \u201Cx\u201D \u20AC")), "a\xE7\xE3o \x96 \x93x\x94 \x80");
    }

    void foraDoWindows1252() {
        QCOMPARE(deQString(QString(QChar(0x4E2D))), "?");
        QCOMPARE(deQString(QString::fromUtf16(u"a\U0001F600b")), "a?b");  // one '?' for the pair
        QCOMPARE(deQString(QString(QChar(0xD800))), "?");             // lone surrogate
        QCOMPARE(deQString(QString(QChar(0x0080))), "?");             // C1 code that 1252 reassigns
        QCOMPARE(deQString(QString(QChar(0x0100))), "?");
    }

    void caixaAscii() {
        QCOMPARE(maiusculasAscii("c\xE1psula \xE7\xE3o z9"), "C\xE1PSULA \xE7\xE3O Z9");
        QCOMPARE(minusculasAscii("C\xC1PSULA \xC7\xC3O"), "c\xC1psula \xC7\xC3o");
    }

    void textoCurto() {
        ShortString<3> s("abcdef");
        QCOMPARE(s.str(), "abc");
        s = "xy";
        QCOMPARE(s.str(), "xy");
        QVERIFY(s == "xy");
        s = std::string(10, '\xE7');
        QCOMPARE(s.size(), std::size_t(3));
        QCOMPARE(corta("abcdef", 4), "abcd");
        QCOMPARE(corta("ab", 4), "ab");
    }

    void leituraDeLinhas_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("linhas");
        const QStringList ab = {"a", "b"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << ab;
        QTest::newRow("LF") << QByteArray("a\nb\n") << ab;
        QTest::newRow("mixed") << QByteArray("a\r\nb\n") << ab;
        QTest::newRow("no final end") << QByteArray("a\r\nb") << ab;
        QTest::newRow("final CR only") << QByteArray("a\nb\r") << ab;
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("blank lines kept") << QByteArray("a\n\n\nb\n") << QStringList{"a", "", "", "b"};
        QTest::newRow("inner CR kept") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    }
    void leituraDeLinhas() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, linhas);
        escreve("l.txt", bytes);
        const auto lidas = leLinhas(caminho("l.txt"));
        QVERIFY(lidas);
        QStringList r;
        for (const auto& l : *lidas) r << paraQString(l);
        QCOMPARE(r, linhas);
    }

    void bytesPreservados() {
        QByteArray todos;
        for (int b = 0; b < 256; ++b)
            if (b != '\n' && b != '\r') todos.append(static_cast<char>(b));
        escreve("b.txt", todos + "\r\n");
        const auto lidas = leLinhas(caminho("b.txt"));
        QVERIFY(lidas);
        QCOMPARE(lidas->size(), std::size_t(1));
        QCOMPARE(QByteArray::fromStdString(lidas->front()), todos);
    }

    void linhaLongaCortada() {
        escreve("g.txt", QByteArray(100000, 'x') + "\r\nfim\r\n");
        const auto lidas = leLinhas(caminho("g.txt"), 10);
        QVERIFY(lidas);
        QCOMPARE(*lidas, (std::vector<std::string>{std::string(10, 'x'), "fim"}));
    }

    void gravacao() {
        QVERIFY(gravaLinhas(caminho("w.txt"), {"a\xE7\xE3o", "", "fim"}));
        QCOMPARE(conteudo("w.txt"), QByteArray("a\xE7\xE3o\r\n\r\nfim\r\n"));
        QVERIFY(gravaLinhas(caminho("w.txt"), {}));  // written anew
        QCOMPARE(conteudo("w.txt"), QByteArray());
        QVERIFY(!gravaLinhas(caminho("nao/existe/w.txt"), {"x"}));
    }

    // The same user twice on one computer: each program's file goes in whole,
    // and neither takes the other's half-written one for its own.
    void doisGravadoresAoMesmoTempo() {
        std::atomic<int> falhas{0};
        auto grava = [&](const char* linha) {
            for (int i = 0; i < 100; ++i) falhas += !gravaLinhas(caminho("ULTATIV.QVF"), std::vector<std::string>(2000, linha));
        };
        std::thread a(grava, "aaaaaaaa"), b(grava, "bbbbbbbb");
        a.join();
        b.join();
        QCOMPARE(falhas.load(), 0);
        const auto lidas = leLinhas(caminho("ULTATIV.QVF")).value_or(std::vector<std::string>{""});
        QCOMPARE(lidas, std::vector<std::string>(2000, lidas.front()));
        QCOMPARE(QDir(pasta_.path()).entryList({"ULTATIV*"}), QStringList{"ULTATIV.QVF"});
    }

    // Another program of the suite reading the file at that moment: on Windows
    // it can't be replaced then, and is written in place instead.
    void gravacaoComOArquivoAberto() {
        QVERIFY(gravaLinhas(caminho("aberto.txt"), {"antes"}));
        std::FILE* leitor = std::fopen(caminho("aberto.txt").c_str(), "rb");
        QVERIFY(leitor);
        const bool gravou = gravaLinhas(caminho("aberto.txt"), {"depois"});
        std::fclose(leitor);
        QVERIFY(gravou);
        QCOMPARE(conteudo("aberto.txt"), QByteArray("depois\r\n"));
    }

    void existenciaEApagamento() {
        QVERIFY(!leLinhas(caminho("ausente.txt")));
        QVERIFY(!arquivoExiste(caminho("ausente.txt")));
        QVERIFY(!arquivoExiste(pasta_.path().toStdString()));  // a folder is not a file
        QVERIFY(!leLinhas(pasta_.path().toStdString()));
        escreve("x.txt", "x");
        QVERIFY(arquivoExiste(caminho("x.txt")));
        QVERIFY(apagaArquivo(caminho("x.txt")));
        QVERIFY(!arquivoExiste(caminho("x.txt")));
        QVERIFY(!apagaArquivo(caminho("x.txt")));
    }
};

QTEST_GUILESS_MAIN(TstTexto)
#include "tst_texto.moc"
