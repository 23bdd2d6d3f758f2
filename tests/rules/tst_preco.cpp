#include "rules/preco.h"
#include "platform/text.h"

#include <QtTest>

using namespace regras;
using regras::Decimal;
using namespace plataforma::literais;

namespace {
// The decimal the column ends up holding, or nothing when the price is kept.
std::optional<Decimal> precoGuardado(double custo, double mult, double div, double fc, double dil, bool usarFC,
                                     bool usarDil) {
    const auto p = calculaPrecoVenda({custo, mult, div, fc, dil, usarFC, usarDil});
    if (!p) return std::nullopt;
    return precoNaColuna(*p);
}
}  // namespace

class TstPreco : public QObject {
    Q_OBJECT
private slots:
    void exemplo_data() {
        QTest::addColumn<bool>("usarFC");
        QTest::addColumn<bool>("usarDil");
        QTest::addColumn<qint64>("unidades");  // at 8 places
        QTest::newRow("nenhum") << false << false << qint64(12500000);
        QTest::newRow("so FC") << true << false << qint64(15000000);
        QTest::newRow("ambos") << true << true << qint64(22500000);
        QTest::newRow("so diluicao") << false << true << qint64(18750000);
    }
    void exemplo() {
        QFETCH(bool, usarFC);
        QFETCH(bool, usarDil);
        QFETCH(qint64, unidades);
        const auto preco = precoGuardado(0.25, 2, 4, 1.2, 1.5, usarFC, usarDil);
        QVERIFY(preco.has_value());
        QCOMPARE(preco->naEscala(kCasasPreco).unidades, unidades);
        // Leaving the field again computes from the same columns: the same price.
        QCOMPARE(precoGuardado(0.25, 2, 4, 1.2, 1.5, usarFC, usarDil)->unidades, preco->unidades);
        QCOMPARE(preco->comoTexto(), precoNaColuna(preco->comoReal()).comoTexto());
    }

    void divisorZeroMantemOPreco() {
        QVERIFY(!calculaPrecoVenda({0.25, 2, 0, 1.2, 1.5, true, true}).has_value());
        QVERIFY(!precoSemDiluicao(0.25, 2, -0.0, 1.2, false).has_value());
    }

    void diluicaoSobreOValorGuardado() {
        // 1/3 is stored as 0.33333333; the dilution multiplies that, not 1/3.
        QCOMPARE(precoGuardado(1, 1, 3, 1, 3, false, true)->comoTexto(), std::string("0.99999999"));
        QCOMPARE(precoSemDiluicao(1, 1, 3, 1, false).value(), 1.0 / 3.0);
    }

    void arredondamentoMeioParaLonge() {
        QCOMPARE(precoNaColuna(0.000000005).comoTexto(), std::string("0.00000001"));
        QCOMPARE(precoNaColuna(-0.000000005).comoTexto(), std::string("-0.00000001"));
        QCOMPARE(precoNaColuna(0.123456784).comoTexto(), std::string("0.12345678"));
    }

    void configuracoes() {
        QVERIFY(configuracaoLigada("Sim"));
        QVERIFY(!configuracaoLigada("SIM"));
        QVERIFY(!configuracaoLigada("sim"));
        QVERIFY(!configuracaoLigada("Sim "));
        QVERIFY(!configuracaoLigada(""));
        QVERIFY(!configuracaoLigada("Não"_w));
    }

    void custoMinimo() {
        const QLocale br(QLocale::Portuguese, QLocale::Brazil);
        QVERIFY(!custoAbaixoDoMinimo("0,0001", br));
        QVERIFY(custoAbaixoDoMinimo("0,00009", br));
        QVERIFY(custoAbaixoDoMinimo("0", br));
        QVERIFY(custoAbaixoDoMinimo("-5,00", br));
        QCOMPARE(leCustoDigitado("1.234,5678", br), 1234.5678);
        QCOMPARE(leCustoDigitado(" 2,5 ", br), 2.5);
        // Not a number: counts as the minimum and passes.
        QCOMPARE(leCustoDigitado("", br), kCustoMinimo);
        QCOMPARE(leCustoDigitado("abc", br), kCustoMinimo);
        QVERIFY(!custoAbaixoDoMinimo("", br));
        QVERIFY(!custoAbaixoDoMinimo("R$ 0,00", br));
        // Read as the cost's field reads it: what the field refuses is no cost at all.
        QCOMPARE(leCustoDigitado("1e-9", br), kCustoMinimo);
        QCOMPARE(leCustoDigitado("1.23,4", br), kCustoMinimo);

        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QVERIFY(!custoAbaixoDoMinimo("0.0001", us));
        QVERIFY(custoAbaixoDoMinimo("0.00009", us));
        QCOMPARE(leCustoDigitado("1,234.5", us), 1234.5);
    }
};

QTEST_GUILESS_MAIN(TstPreco)
#include "tst_preco.moc"
