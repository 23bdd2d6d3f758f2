#include "help/posicao.h"

#include "platform/files.h"
#include "platform/program.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ajuda;

class TstPosicao : public QObject {
    Q_OBJECT
private slots:
    void arquivoPadrao() {
        const std::vector<std::string> esperado = {
            "POSICAO E FORMATO DO TUTORIAL", "=============================",
            "MARGEM SUPERIOR.......: 200",   "MARGEM ESQUERDA.......: 300",
            "ALTURA................: 272",   "LARGURA...............: 513"};
        QCOMPARE(linhasPosicao(Posicao{}), esperado);
        QCOMPARE(lePosicao(esperado), Posicao{});
    }

    void gravadaERelidaDoDisco() {
        QTemporaryDir pasta;
        QVERIFY(pasta.isValid());
        const std::string caminho = pasta.filePath(kArquivoPosicao).toStdString();
        const Posicao p{95, 7, 1000, -4};
        QVERIFY(plataforma::gravaLinhas(caminho, linhasPosicao(p)));
        const auto linhas = plataforma::leLinhas(caminho);
        QVERIFY(linhas.has_value());
        QCOMPARE((*linhas)[2], std::string("MARGEM SUPERIOR.......: 095"));
        QCOMPARE((*linhas)[3], std::string("MARGEM ESQUERDA.......: 007"));
        QCOMPARE((*linhas)[4], std::string("ALTURA................: 1000"));
        QCOMPARE((*linhas)[5], std::string("LARGURA...............: -004"));
        QCOMPARE(lePosicao(*linhas), p);
    }

    void linhasAusentesOuAlheias() {
        QCOMPARE(lePosicao({}), Posicao{});
        Posicao soAltura;
        soAltura.altura = 400;
        QCOMPARE(lePosicao({"ALTURA................: 400", "qualquer coisa", ""}), soAltura);
        // Labels are compared exactly, case included; the last occurrence wins.
        Posicao repetida;
        repetida.topo = 20;
        QCOMPARE(lePosicao({"margem superior.......: 10", "MARGEM SUPERIOR.......: 30",
                            "MARGEM SUPERIOR.......: 20"}),
                 repetida);
        // The value starts at character 25 whatever the 24th holds.
        Posicao colada;
        colada.largura = 5;
        QCOMPARE(lePosicao({"LARGURA...............:95"}), colada);
        // Blanks around the value and a sign are accepted.
        Posicao comSinal;
        comSinal.esquerda = -12;
        QCOMPARE(lePosicao({"MARGEM ESQUERDA.......:  -12  "}), comSinal);
    }

    void valorQueNaoEInteiro() {
        for (const char* linha : {"MARGEM SUPERIOR.......: abc", "ALTURA................: 2,5",
                                  "LARGURA...............: ", "LARGURA...............:",
                                  "MARGEM ESQUERDA.......: -", "ALTURA................: 99999999999",
                                  "ALTURA................: 1 2"}) {
            bool lancou = false;
            try {
                lePosicao({"POSICAO E FORMATO DO TUTORIAL", linha});
            } catch (const plataforma::Erro& e) {
                lancou = true;
                QVERIFY(std::string(e.what()).find("inteiro") != std::string::npos);
            }
            QVERIFY2(lancou, linha);
        }
    }

    void redimensionamento() {
        const Layout l = layoutTutorial(272, 513);
        QCOMPARE(l.alturaTexto, 142);
        QCOMPARE(l.larguraTexto, 489);
        QCOMPARE(l.larguraTitulo, 489);
        QCOMPARE(l.topoBotoes, 212);
        QCOMPARE(l.larguraBotoes, 245);
        QCOMPARE(l.esquerdaProxima, 248);  // N = 256: the half goes to the even neighbour
        // 515 / 2 = 257.5 goes up to 258; even widths halve exactly.
        QCOMPARE(layoutTutorial(272, 515).esquerdaProxima, 250);
        QCOMPARE(layoutTutorial(272, 514).esquerdaProxima, 249);
        QCOMPARE(layoutTutorial(272, 1).esquerdaProxima, -8);
        QCOMPARE(layoutTutorial(272, 3).esquerdaProxima, -6);
    }
};

QTEST_GUILESS_MAIN(TstPosicao)
#include "tst_posicao.moc"
