// Where the suite's files are, and the clock with its date and time texts.
#include "platform/clock.h"
#include "platform/localidade.h"
#include "platform/suite.h"
#include "platform/user.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace plataforma;

class TstSuite : public QObject {
    Q_OBJECT
    QByteArray homeOriginal_ = qgetenv("HOME");

private slots:
    void cleanup() {
        qunsetenv("BRENVITA_DIR");
        qputenv("HOME", homeOriginal_);
        definePastaSuite("");
        definePastaExecutavel("");
        defineRelogio(std::nullopt);
        QLocale::setDefault(QLocale::c());
    }

    void pastaDaSuite() {
        qunsetenv("BRENVITA_DIR");
        qputenv("HOME", "/home/farmacia");
#ifdef _WIN32
        const std::string padrao = "c:\\brenvita\\", outra = "d:\\suite", teste = "c:\\teste";
#else
        const std::string padrao = "/home/farmacia/brenvita/", outra = "/srv/suite", teste = "/tmp/teste";
#endif
        const char separador = padrao.back();
        QCOMPARE(pastaSuite(), padrao);

        qputenv("BRENVITA_DIR", outra.c_str());
        QCOMPARE(pastaSuite(), outra + separador);
        qputenv("BRENVITA_DIR", (outra + separador).c_str());
        QCOMPARE(pastaSuite(), outra + separador);
        qputenv("BRENVITA_DIR", "");  // empty counts as unset
        QCOMPARE(pastaSuite(), padrao);

        qputenv("BRENVITA_DIR", outra.c_str());
        definePastaSuite(teste);
        QCOMPARE(pastaSuite(), teste + separador);
        definePastaSuite("");
        QCOMPARE(pastaSuite(), outra + separador);
    }

    // The suite's names are Windows paths; elsewhere their separators change.
    void nomesDaSuite() {
#ifdef _WIN32
        definePastaSuite("d:\\s");
        QCOMPARE(caminhoSuite("LOGON.QVF"), "d:\\s\\LOGON.QVF");
        QCOMPARE(caminhoSuite("manual\\video2.mp4"), "d:\\s\\manual\\video2.mp4");
#else
        definePastaSuite("/s");
        QCOMPARE(caminhoSuite("LOGON.QVF"), "/s/LOGON.QVF");
        QCOMPARE(caminhoSuite("manual\\video2.mp4"), "/s/manual/video2.mp4");
        QCOMPARE(caminhoSuite("dados\\sub\\x.bd"), "/s/dados/sub/x.bd");
#endif
    }

    // As the system names files: on Windows with backslashes only.
    void pastaDoExecutavel() {
        const QString pasta = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
        QCOMPARE(pastaExecutavel(), pasta.toLocal8Bit().toStdString() + QDir::separator().toLatin1());
#ifdef _WIN32
        QVERIFY(pastaExecutavel().find('/') == std::string::npos);
#endif
        definePastaExecutavel("/opt/capsulas");
        QCOMPARE(pastaExecutavel(), std::string("/opt/capsulas") + QDir::separator().toLatin1());
    }

    // GetUserNameA on Windows: the name the session gives the user.
    void usuarioDoSistema() {
#ifdef _WIN32
        QCOMPARE(usuarioSistema(), qEnvironmentVariable("USERNAME").toStdString());
#endif
        QVERIFY(!usuarioSistema().empty());
        defineUsuarioSistema(std::string("operador"));
        QCOMPARE(usuarioSistema(), "operador");
        defineUsuarioSistema(std::nullopt);
    }

    void relogio() {
        const QDateTime fixo(QDate(2024, 2, 29), QTime(23, 59, 58));
        defineRelogio(fixo);
        QCOMPARE(agora(), fixo);
        defineRelogio(std::nullopt);
        QVERIFY(qAbs(agora().secsTo(QDateTime::currentDateTime())) < 5);
    }

    void formatos() {
        QCOMPARE(formataData(QDate(2024, 3, 5)), "05/03/24");
        QCOMPARE(formataData(QDate(2000, 12, 31)), "31/12/00");
        QCOMPARE(formataHora(QTime(9, 4, 5)), "09:04:05");
        QCOMPARE(formataHora(QTime(23, 59, 59)), "23:59:59");
        for (QDate d(2000, 1, 1); d.year() < 2100; d = d.addDays(37))
            QCOMPARE(converteData(formataData(d)), std::optional<QDate>(d));
    }

    // The first variable set decides, as the system reads numbers: C and POSIX
    // name no locale of the user's.
    void localidadeDoUsuarioOuPtBr() {
        QVERIFY(!localidadeDoUsuario("", "", ""));
        QVERIFY(!localidadeDoUsuario("", "", "C.UTF-8"));
        QVERIFY(!localidadeDoUsuario("", "POSIX", "de_DE.UTF-8"));
        QVERIFY(!localidadeDoUsuario("C", "", "de_DE.UTF-8"));
        QVERIFY(localidadeDoUsuario("", "", "en_US.UTF-8"));
        QVERIFY(localidadeDoUsuario("", "de_DE", "C"));
        QVERIFY(localidadeDoUsuario("pt_BR", "", ""));
    }

    void separadoresDaLocalidade() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(formataData(QDate(2024, 3, 5)), "05.03.24");
        QCOMPARE(converteData("05.03.24"), std::optional<QDate>(QDate(2024, 3, 5)));
        QVERIFY(!converteData("05/03/24"));
        QLocale::setDefault(QLocale(QLocale::Finnish, QLocale::Finland));
        QCOMPARE(formataHora(QTime(9, 4, 5)), "09.04.05");
        QCOMPARE(converteHora("09.04.05"), std::optional<QTime>(QTime(9, 4, 5)));
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));  // yyyy-MM-dd
        QCOMPARE(converteDataCurta("2024-03-05"), std::optional<QDate>(QDate(2024, 3, 5)));
        QVERIFY(!converteDataCurta("05-03-2024"));
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        QCOMPARE(formataData(QDate(2024, 3, 5)) + " " + formataHora(QTime(9, 4, 5)), "05/03/24 09:04:05");
    }

    void conversaoDeData_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QDate>("esperada");  // invalid: no conversion
        QTest::newRow("dd/mm/yy") << "05/03/24" << QDate(2024, 3, 5);
        QTest::newRow("short fields") << "5/3/24" << QDate(2024, 3, 5);
        QTest::newRow("four-digit year") << "05/03/2024" << QDate(2024, 3, 5);
        QTest::newRow("blanks around") << " 05/03/24 " << QDate(2024, 3, 5);
        QTest::newRow("29 Feb leap") << "29/02/24" << QDate(2024, 2, 29);
        QTest::newRow("29 Feb common") << "29/02/23" << QDate();
        QTest::newRow("31 Feb") << "31/02/24" << QDate();
        QTest::newRow("month 13") << "01/13/24" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("dashes") << "05-03-24" << QDate();
        QTest::newRow("letters") << "aa/bb/cc" << QDate();
        QTest::newRow("trailing text") << "05/03/24x" << QDate();
        QTest::newRow("no year") << "05/03/" << QDate();
    }
    void conversaoDeData() {
        QFETCH(QString, texto);
        QFETCH(QDate, esperada);
        const auto d = converteData(texto.toStdString());
        QCOMPARE(d.has_value(), esperada.isValid());
        if (d) QCOMPARE(*d, esperada);
    }

    void conversaoDeHora_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QTime>("esperada");
        QTest::newRow("hh:nn:ss") << "10:04:59" << QTime(10, 4, 59);
        QTest::newRow("without seconds") << "10:04" << QTime(10, 4);
        QTest::newRow("midnight") << "00:00:00" << QTime(0, 0);
        QTest::newRow("hour 24") << "24:00:00" << QTime();
        QTest::newRow("minute 60") << "10:60:00" << QTime();
        QTest::newRow("hour only") << "10" << QTime();
        QTest::newRow("four fields") << "10:04:59:00" << QTime();
        QTest::newRow("empty") << "" << QTime();
        QTest::newRow("letters") << "ab:cd:ef" << QTime();
    }
    void conversaoDeHora() {
        QFETCH(QString, texto);
        QFETCH(QTime, esperada);
        const auto t = converteHora(texto.toStdString());
        QCOMPARE(t.has_value(), esperada.isValid());
        if (t) QCOMPARE(*t, esperada);
    }
};

QTEST_GUILESS_MAIN(TstSuite)
#include "tst_suite.moc"
