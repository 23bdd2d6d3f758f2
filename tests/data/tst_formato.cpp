// Numbers in the workstation's format: display masks, plain editing text and
// reading it back.
#include "data/dataset.h"
#include "data/formato.h"
#include "support/fuso.h"

#include <QLocale>
#include <QtTest>
#include <limits>

using namespace dados;

namespace {
Decimal dec(const char* texto, int escala = 8) { return *Decimal::deTexto(texto, '.', escala); }
}  // namespace

class TstFormato : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fusoteste::saoPaulo(); }
    void init() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void separadoresDoLocal() {
        QCOMPARE(separadorDecimal(), ',');
        QCOMPARE(separadorMilhar(), '.');
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(separadorDecimal(), '.');
        QCOMPARE(separadorMilhar(), ',');
        QCOMPARE(formataDecimal(dec("1234.5"), "#,##0.0000"), std::string("1,234.5000"));
    }

    void mascarasDosCampos_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mascara");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("milhar e casas fixas") << "1234.5" << "#,##0.0000" << "1.234,5000";
        QTest::newRow("menor que um") << "0.25" << "#,##0.0000" << "0,2500";
        QTest::newRow("zero") << "0" << "#,##0.00" << "0,00";
        QTest::newRow("sem casas, arredonda") << "1234567.5" << "#,###,##0" << "1.234.568";
        QTest::newRow("divisor um") << "1" << "#,###,##0" << "1";
        QTest::newRow("metade para longe do zero") << "1.2345" << "#,##0.000" << "1,235";
        QTest::newRow("negativo, metade para longe do zero") << "-1.2345" << "#,##0.000" << "-1,235";
        QTest::newRow("abaixo da metade") << "1.23449999" << "#,##0.000" << "1,234";
        QTest::newRow("vai um por todos os digitos") << "999.9996" << "#,##0.000" << "1.000,000";
        QTest::newRow("negativo que arredonda a zero") << "-0.00004" << "#,##0.0000" << "0,0000";
        QTest::newRow("milhoes") << "12345678.12345678" << "#,###,##0.0000" << "12.345.678,1235";
        QTest::newRow("negativo com milhar") << "-1234567" << "#,##0.00" << "-1.234.567,00";
        QTest::newRow("casas opcionais usadas") << "1.25" << "0.0#" << "1,25";
        QTest::newRow("casas opcionais dispensadas") << "1.5" << "0.0#" << "1,5";
        QTest::newRow("casas opcionais arredondadas") << "1.255" << "0.0#" << "1,26";
        QTest::newRow("sem milhar") << "1234.5" << "0.00" << "1234,50";
    }
    void mascarasDosCampos() {
        QFETCH(QString, valor);
        QFETCH(QString, mascara);
        QFETCH(QString, esperado);
        const Decimal d = dec(valor.toLatin1().constData());
        QCOMPARE(QString::fromLatin1(formataDecimal(d, mascara.toStdString())), esperado);
        // The same value held as a float shows the same text.
        QCOMPARE(QString::fromLatin1(formataNumero(d.comoReal(), mascara.toStdString())), esperado);
    }

    void decimaisExatosAlemDaPrecisaoDoDouble() {
        // 17 significant digits: a double would lose the last ones.
        QCOMPARE(formataDecimal(Decimal{1234567890123456789, 8}, "#,##0.00000000"),
                 std::string("12.345.678.901,23456789"));
        QCOMPARE(formataDecimal(Decimal{std::numeric_limits<std::int64_t>::min(), 8}, "#,##0.00"),
                 std::string("-92.233.720.368,55"));
        QCOMPARE(formataDecimal(Decimal{5, 0}, "#,##0.0000"), std::string("5,0000"));
    }

    void realPeloTextoMaisCurto() {
        // 1.005 is stored a hair below; the digits it prints as are what get rounded.
        QCOMPARE(formataNumero(1.005, "#,##0.00"), std::string("1,01"));
        QCOMPARE(formataNumero(1e15, "#,###,##0.0000"), std::string("1.000.000.000.000.000,0000"));
        QCOMPARE(formataNumero(std::numeric_limits<double>::quiet_NaN(), "#,##0.00"), std::string("NAN"));
    }

    void textoSimplesParaEdicao() {
        QCOMPARE(formataDecimal(dec("1234.5"), ""), std::string("1234,5"));
        QCOMPARE(formataDecimal(dec("1"), ""), std::string("1"));
        QCOMPARE(formataDecimal(dec("-0.25"), ""), std::string("-0,25"));
        QCOMPARE(formataNumero(0.1, ""), std::string("0,1"));
        QCOMPARE(formataNumero(1e-7, ""), std::string("0,0000001"));
        QCOMPARE(textoReal(-2.5, '.'), std::string("-2.5"));
    }

    void leituraDoTexto() {
        QCOMPARE(leDecimal("1234,5", ',', 8), std::optional<Decimal>(dec("1234.5")));
        QCOMPARE(leDecimal(" 0,25 ", ',', 8), std::optional<Decimal>(dec("0.25")));
        QCOMPARE(leDecimal("0,123456785", ',', 8), std::optional<Decimal>(dec("0.12345679")));
        QCOMPARE(leDecimal("-0,123456785", ',', 8), std::optional<Decimal>(dec("-0.12345679")));
        // The thousands separator is no part of a value: typed text is rid of it
        // first, only where it groups digits.
        QVERIFY(!leDecimal("1.234,5", ',', 8));
        QCOMPARE(semSeparadorMilhar(" -1.234.567,5 ", ',', '.'), std::optional<std::string>("-1234567,5"));
        QCOMPARE(semSeparadorMilhar("0,05", ',', '.'), std::optional<std::string>("0,05"));
        for (const char* fora : {"0,05", "1,23", "1234,567.5", ",123", "1,,234", "1.5,000"})
            QVERIFY2(!semSeparadorMilhar(fora, '.', ','), fora);
        QVERIFY(!leDecimal("", ',', 8));
        QVERIFY(!leDecimal("-", ',', 8));
        QVERIFY(!leDecimal("12a", ',', 8));
        QVERIFY(!leDecimal("99999999999999999999", ',', 8));

        QCOMPARE(leReal("1,5", ','), std::optional<double>(1.5));
        QCOMPARE(leReal("1e3", ','), std::optional<double>(1000.0));
        QVERIFY(!leReal("1.5", ','));
        QVERIFY(!leReal("1,5,", ','));
        QVERIFY(!leReal("abc", ','));

        QCOMPARE(leInteiro(" -7 "), std::optional<std::int64_t>(-7));
        QCOMPARE(leInteiro("99999999999"), std::optional<std::int64_t>(99999999999));
        QVERIFY(!leInteiro("4,2"));
        QVERIFY(!leInteiro(""));
    }

    // Typed for the day daylight saving time began in Sao Paulo (no midnight there).
    void dataSemMeiaNoiteLocal() {
        const auto dia = leDataHora("04/11/2018");
        QVERIFY(dia);
        QCOMPARE(textoDataHora(*dia), std::string("04/11/2018"));
    }

    void idaEVoltaPeloTextoDeEdicao() {
        for (const char* t : {"0", "0.00000001", "-3.5", "1234.5", "9999999999.99999999", "-0.1"}) {
            const Decimal d = dec(t);
            const auto lido = leDecimal(textoDecimal(d, separadorDecimal()), separadorDecimal(), 8);
            QVERIFY2(lido && *lido == d, t);
        }
        for (double v : {0.1, 1.0 / 3.0, -1234.5678, 1e-9, 123456789.125}) {
            const auto lido = leReal(textoReal(v, separadorDecimal()), separadorDecimal());
            QVERIFY(lido && *lido == v);
        }
    }
};

QTEST_GUILESS_MAIN(TstFormato)
#include "tst_formato.moc"
