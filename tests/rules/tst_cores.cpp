#include "rules/cores.h"
#include "platform/text.h"

#include <QtTest>

using namespace regras;
using namespace plataforma::literais;

namespace {
const std::vector<std::string> kCores = {"amarelo", "azul", "verde"};
}

class TstCores : public QObject {
    Q_OBJECT
private slots:
    void exemplos_data() {
        QTest::addColumn<QByteArray>("descricao");
        QTest::addColumn<QByteArray>("sufixo");
        QTest::addColumn<bool>("invalida");
        QTest::addColumn<QByteArray>("semCor");
        QTest::addColumn<QByteArray>("mensagem");
        QTest::newRow("azul") << QByteArray("Capsula 0 azul") << QByteArray(" azul") << false
                              << QByteArray("Capsula 0") << QByteArray("AZUL");
        QTest::newRow("azul claro") << QByteArray("Capsula 00 azul claro") << QByteArray(" azul claro") << true
                                    << QByteArray("Capsula 00") << QByteArray("AZUL CLARO");
        QTest::newRow("rosa") << QByteArray("Capsula 3 rosa") << QByteArray(" rosa") << true
                              << QByteArray("Capsula 3") << QByteArray("ROSA");
        QTest::newRow("so Capsula") << QByteArray("Capsula") << QByteArray("") << false
                                    << QByteArray("Capsula") << QByteArray("");
        QTest::newRow("sem cor") << QByteArray("Capsula 1") << QByteArray("") << false
                                 << QByteArray("Capsula 1") << QByteArray("");
        QTest::newRow("caixa exata") << QByteArray("Capsula 0 AZUL") << QByteArray(" AZUL") << true
                                     << QByteArray("Capsula 0") << QByteArray("AZUL");
        QTest::newRow("sem numero") << QByteArray("Capsula verde") << QByteArray(" verde") << false
                                    << QByteArray("Capsula") << QByteArray("VERDE");
        // 6 to 9 are no markers: the suffix runs back to the last 0 to 5.
        QTest::newRow("digito 7") << QByteArray("Capsula 0 azul 7") << QByteArray(" azul 7") << true
                                  << QByteArray("Capsula 0") << QByteArray("AZUL 7");
        QTest::newRow("digitos 6 a 9") << QByteArray("Capsula 6789") << QByteArray(" 6789") << true
                                       << QByteArray("Capsula") << QByteArray("6789");
        // "sula" is case-sensitive: an unnormalised CAPSULA is no marker.
        QTest::newRow("CAPSULA") << QByteArray("CAPSULA 2 azul") << QByteArray(" azul") << false
                                 << QByteArray("CAPSULA 2") << QByteArray("AZUL");
        QTest::newRow("brancos finais") << QByteArray("Capsula 0 azul   ") << QByteArray(" azul   ") << false
                                        << QByteArray("Capsula 0") << QByteArray("AZUL");
        QTest::newRow("brancos iniciais") << QByteArray("  Capsula 5 verde") << QByteArray(" verde") << false
                                          << QByteArray("Capsula 5") << QByteArray("VERDE");
        QTest::newRow("so brancos de cor") << QByteArray("Capsula 4   ") << QByteArray("   ") << false
                                           << QByteArray("Capsula 4") << QByteArray("");
        // No marker anywhere: no colour, the whole text stays.
        QTest::newRow("sem marcador") << QByteArray(" Gelatina azul ") << QByteArray("") << false
                                      << QByteArray("Gelatina azul ") << QByteArray("");
        QTest::newRow("vazia") << QByteArray("") << QByteArray("") << false << QByteArray("") << QByteArray("");
        QTest::newRow("menor que sula") << QByteArray("ula") << QByteArray("") << false << QByteArray("ula")
                                        << QByteArray("");
        QTest::newRow("acentuada") << QByteArray("Capsula 1 lilás"_w) << QByteArray(" lilás"_w) << true
                                   << QByteArray("Capsula 1") << QByteArray("LILáS"_w);
    }
    void exemplos() {
        QFETCH(QByteArray, descricao);
        QFETCH(QByteArray, sufixo);
        QFETCH(bool, invalida);
        QFETCH(QByteArray, semCor);
        QFETCH(QByteArray, mensagem);
        const std::string d = descricao.toStdString();
        const VarreduraCor v = varreCor(d);
        QCOMPARE(QByteArray::fromStdString(v.sufixo), sufixo);
        QCOMPARE(v.restante + v.sufixo, d);
        QCOMPARE(corDescricaoInvalida(d, kCores), invalida);
        QCOMPARE(QByteArray::fromStdString(removeCorDescricao(d)), semCor);
        QCOMPARE(QByteArray::fromStdString(ExtraiCorDescricao(d)), mensagem);
    }

    void listaDeCores() {
        // The walk stops at the first empty entry: "verde" after it never matches.
        const std::vector<std::string> comVazia = {"amarelo", "", "verde"};
        QVERIFY(!corDescricaoInvalida("Capsula 0 amarelo", comVazia));
        QVERIFY(corDescricaoInvalida("Capsula 0 verde", comVazia));
        // An empty list refuses every colour, but not a description without one.
        QVERIFY(corDescricaoInvalida("Capsula 0 verde", {}));
        QVERIFY(!corDescricaoInvalida("Capsula 0", {}));
        // Entries are compared as stored, blanks included.
        QVERIFY(corDescricaoInvalida("Capsula 0 azul", {"azul "}));
    }

    void usarEstaCor() {
        QCOMPARE(descricaoComCor("Capsula 3 rosa", "verde"), std::string("Capsula 3 verde"));
        QCOMPARE(descricaoComCor("Capsula 00 azul claro", "amarelo"), std::string("Capsula 00 amarelo"));
        QCOMPARE(descricaoComCor("Capsula 2", "azul"), std::string("Capsula 2 azul"));
        QCOMPARE(descricaoComCor("Capsula verde", "azul"), std::string("Capsula azul"));
        // Leading blanks stay (normalisation at the post deals with the text).
        QCOMPARE(descricaoComCor("  Capsula 1 azul", "verde"), std::string("  Capsula 1 verde"));
        // Without a marker nothing is dropped; the colour is appended.
        QCOMPARE(descricaoComCor("Gelatina  ", "azul"), std::string("Gelatina azul"));
        // An empty selector leaves one trailing blank and no colour.
        const std::string semCor = descricaoComCor("Capsula 3 rosa", "");
        QCOMPARE(semCor, std::string("Capsula 3 "));
        QVERIFY(!corDescricaoInvalida(semCor, kCores));
        QCOMPARE(ExtraiCorDescricao(semCor), std::string());
    }
};

QTEST_GUILESS_MAIN(TstCores)
#include "tst_cores.moc"
