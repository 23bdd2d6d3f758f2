// Exact decimals: text in and out, scale changes, doubles brought to a scale.
#include "rules/value.h"

#include <QTest>
#include <limits>

using regras::Decimal;

class TstDecimal : public QObject {
    Q_OBJECT

private slots:
    void textoKeepsScaleAndSign() {
        QCOMPARE(Decimal({1, 8}).comoTexto(), std::string("0.00000001"));
        QCOMPARE(Decimal({999999999999999999LL, 8}).comoTexto(), std::string("9999999999.99999999"));
        QCOMPARE(Decimal({-25, 2}).comoTexto(','), std::string("-0,25"));
        QCOMPARE(Decimal({-3, 0}).comoTexto(), std::string("-3"));
        QCOMPARE(Decimal({0, 2}).comoTexto(), std::string("0.00"));
        QCOMPARE(Decimal({std::numeric_limits<std::int64_t>::min(), 0}).comoTexto(),
                 std::string("-9223372036854775808"));
    }

    void deTextoReadsPlainNumbers() {
        auto d = Decimal::deTexto("1.00000000");
        QVERIFY(d);
        QCOMPARE(d->unidades, 100000000LL);
        QCOMPARE(d->escala, 8);
        d = Decimal::deTexto(" -0,25 ", ',');
        QVERIFY(d);
        QCOMPARE(d->comoTexto(), std::string("-0.25"));
        QCOMPARE(Decimal::deTexto(".5")->comoTexto(), std::string("0.5"));
        QCOMPARE(Decimal::deTexto("+7")->comoTexto(), std::string("7"));
        QCOMPARE(Decimal::deTexto("9223372036854775807")->unidades, std::numeric_limits<std::int64_t>::max());
        QCOMPARE(Decimal::deTexto("-9223372036854775808")->unidades, std::numeric_limits<std::int64_t>::min());
    }

    void deTextoRefusesWhatIsNoNumber() {
        for (const char* t : {"", "-", ".", "1.2.3", "1,5", "abc", "1e5", "1 000", "9223372036854775808"})
            QVERIFY2(!Decimal::deTexto(t), t);
        QVERIFY(!Decimal::deTexto("99999999999.5", '.', 8));  // 11 digits + 8 places do not fit
    }

    void deTextoRoundsToTheRequestedScale() {
        QCOMPARE(Decimal::deTexto("0.125", '.', 2)->comoTexto(), std::string("0.13"));
        QCOMPARE(Decimal::deTexto("-0.125", '.', 2)->comoTexto(), std::string("-0.13"));
        QCOMPARE(Decimal::deTexto("0.12499999", '.', 2)->comoTexto(), std::string("0.12"));
        QCOMPARE(Decimal::deTexto("2", '.', 4)->comoTexto(), std::string("2.0000"));
        QCOMPARE(Decimal::deTexto("0.000000015")->escala, 9);
    }

    void naEscalaRoundsHalfAwayFromZero() {
        QCOMPARE(Decimal({1005, 3}).naEscala(2).comoTexto(), std::string("1.01"));
        QCOMPARE(Decimal({-1005, 3}).naEscala(2).comoTexto(), std::string("-1.01"));
        QCOMPARE(Decimal({1004, 3}).naEscala(2).comoTexto(), std::string("1.00"));
        QCOMPARE(Decimal({15, 1}).naEscala(0).comoTexto(), std::string("2"));
        QCOMPARE(Decimal({-15, 1}).naEscala(0).comoTexto(), std::string("-2"));
        QCOMPARE(Decimal({25, 2}).naEscala(8).unidades, 25000000LL);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, Decimal({std::numeric_limits<std::int64_t>::max(), 0}).naEscala(1));
    }

    void deRealUsesTheDigitsTheDoublePrintsAs() {
        QCOMPARE(Decimal::deReal(0.25 * 2 / 4 * 1.2, 8).comoTexto(), std::string("0.15000000"));
        QCOMPARE(Decimal::deReal(1.005, 2).comoTexto(), std::string("1.01"));  // 1.00499999... as stored
        QCOMPARE(Decimal::deReal(-2.5, 0).comoTexto(), std::string("-3"));
        QCOMPARE(Decimal::deReal(0.1 + 0.2, 8).comoTexto(), std::string("0.30000000"));
        QCOMPARE(Decimal::deReal(1e-300, 8).unidades, 0LL);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, Decimal::deReal(1e30, 8));
        QVERIFY_THROWS_EXCEPTION(std::domain_error,
                                 Decimal::deReal(std::numeric_limits<double>::quiet_NaN(), 2));
    }

    void comoRealIsTheNearestDouble() {
        QCOMPARE(Decimal({1, 8}).comoReal(), 1e-8);
        QCOMPARE(Decimal({225, 3}).comoReal(), 0.225);
        QCOMPARE(Decimal({999999999999999999LL, 8}).comoReal(), 9999999999.99999999);
        QCOMPARE(Decimal({-123456789012345678LL, 18}).comoReal(), -0.123456789012345678);
    }

    void equalityComparesValuesAcrossScales() {
        QVERIFY(Decimal({25, 2}) == Decimal({2500, 4}));
        QVERIFY(!(Decimal({25, 2}) == Decimal({2501, 4})));
        QVERIFY(Decimal({0, 0}) == Decimal({0, 8}));
        QVERIFY(Decimal({std::numeric_limits<std::int64_t>::max(), 0}) ==
                Decimal({std::numeric_limits<std::int64_t>::max(), 0}));
    }
};

QTEST_APPLESS_MAIN(TstDecimal)
#include "tst_decimal.moc"
