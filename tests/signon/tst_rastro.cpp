#include "signon/rastro.h"

#include "platform/files.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace identificacao;

namespace {

const QDate kHoje(2025, 3, 10);

QDateTime em(const QDate& d, int h, int m, int s, int ms = 0) { return QDateTime(d, QTime(h, m, s, ms)); }

ArquivoRastro logon(const std::string& data, const std::string& hora) {
    return ArquivoRastro::lido({"BKBCAK", "ABC", data, hora});
}

DecisaoLogon decide(const ArquivoRastro& l, const std::string& tempo, const QDateTime& agora,
                    const ArquivoRastro& atividade = ArquivoRastro::ausente()) {
    return decideLogon(l, atividade, tempo, agora);
}

void confereNaoReusavel(const DecisaoLogon& d, MotivoLogon motivo) {
    QCOMPARE(d.motivo, motivo);
    QVERIFY(!d.candidato);
    QVERIFY(!d.apagarArquivos);
}

}  // namespace

class TstRastro : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::system()); }

    void limiteDoLogoff() {
        const auto l = logon("10/03/25", "10:00:00");
        const DecisaoLogon valido = decide(l, "5", em(kHoje, 10, 4, 59));
        QVERIFY(valido.candidato);
        QVERIFY(!valido.apagarArquivos);
        QCOMPARE(valido.motivo, MotivoLogon::Valido);
        QCOMPARE(valido.usuario, std::string("BKBCAK"));
        QCOMPARE(valido.nome, std::string("ABC"));

        const DecisaoLogon expirado = decide(l, "5", em(kHoje, 10, 5, 1));
        QVERIFY(!expirado.candidato);
        QVERIFY(expirado.apagarArquivos);
        QCOMPARE(expirado.motivo, MotivoLogon::Expirado);

        // Exactly n minutes ago counts as valid, also with milliseconds on the clock.
        QVERIFY(decide(l, "5", em(kHoje, 10, 5, 0)).candidato);
        QVERIFY(decide(l, "5", em(kHoje, 10, 5, 0, 999)).candidato);
        // Zero minutes: only the same second keeps it.
        QVERIFY(decide(l, "0", em(kHoje, 10, 0, 0, 500)).candidato);
        QVERIFY(!decide(l, "0", em(kHoje, 10, 0, 1)).candidato);
    }

    void logonDeOutroDia() {
        const DecisaoLogon d = decide(logon("09/03/25", "23:59:59"), "59", em(kHoje, 0, 0, 10));
        QVERIFY(!d.candidato);
        QVERIFY(d.apagarArquivos);
        QCOMPARE(d.motivo, MotivoLogon::LogonDeOutroDia);
        // Stale whatever the other inputs hold.
        QVERIFY(decide(logon("09/03/25", "10:00:00"), "abc", em(kHoje, 10, 0, 0),
                       ArquivoRastro::lido({"lixo"})).apagarArquivos);
        // A sign-on dated in the future is not today's either.
        QVERIFY(decide(logon("11/03/25", "10:00:00"), "5", em(kHoje, 10, 0, 0)).apagarArquivos);
    }

    // The logon file's date is in the workstation's short date format; the
    // last-activity file's is always day first, as the program writes it.
    void dataDoLogonNoFormatoDaLocalidade() {
        const QDateTime agora = em(QDate(2026, 3, 4), 10, 2, 0);
        QVERIFY(decide(logon("04/03/2026", "10:00:00"), "5", agora).candidato);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(decide(logon("3/4/26", "10:00:00"), "5", agora,
                       ArquivoRastro::lido(linhasUltimaAtividade(agora.addSecs(-60)))).candidato);
        QVERIFY(decide(logon("3/3/26", "10:00:00"), "5", agora).apagarArquivos);
        // A date that cannot be read leaves the suite's files alone.
        confereNaoReusavel(decide(logon("13/3/26", "10:00:00"), "5", agora), MotivoLogon::DataHoraInvalida);
    }

    void atravessandoAMeiaNoite() {
        // Signed on two minutes ago, just after midnight: still valid.
        QVERIFY(decide(logon("10/03/25", "00:01:00"), "5", em(kHoje, 0, 3, 0)).candidato);
        // Last activity yesterday 23:59, two minutes ago.
        const auto ontem = ArquivoRastro::lido({"09/03/25", "23:59:00"});
        QVERIFY(decide(logon("10/03/25", "00:00:05"), "5", em(kHoje, 0, 1, 0), ontem).candidato);
        // A last activity of yesterday 23:00 left over: the sign-on of today
        // 09:58 is two minutes old.
        QVERIFY(decide(logon("10/03/25", "09:58:00"), "5", em(kHoje, 10, 0, 0),
                       ArquivoRastro::lido({"09/03/25", "23:00:00"})).candidato);
    }

    void atividadeSubstituiAHoraDoLogon() {
        const auto l = logon("10/03/25", "08:00:00");
        QVERIFY(!decide(l, "5", em(kHoje, 10, 33, 0)).candidato);
        QVERIFY(decide(l, "5", em(kHoje, 10, 33, 0), ArquivoRastro::lido({"10/03/25", "10:30:00"})).candidato);
        // ... but never makes the sign-on older than it is.
        QVERIFY(decide(l, "5", em(kHoje, 8, 1, 0), ArquivoRastro::lido({"10/03/25", "07:00:00"})).candidato);
    }

    void tempoDeLogoffInvalido() {
        const auto l = logon("10/03/25", "10:00:00");
        for (const char* t : {"abc", "60", "-1", "", "   ", "5.0", "+5", "5 min", "0x5"})
            confereNaoReusavel(decide(l, t, em(kHoje, 10, 0, 1)), MotivoLogon::TempoLogoffInvalido);
        QCOMPARE(minutosLogoff(" 5 "), std::optional<int>(5));
        QCOMPARE(minutosLogoff("05"), std::optional<int>(5));
        QCOMPARE(minutosLogoff("0"), std::optional<int>(0));
        QCOMPARE(minutosLogoff("59"), std::optional<int>(59));
        QCOMPARE(minutosLogoff("0000000000000000000000000007"), std::optional<int>(7));
        QCOMPARE(minutosLogoff("99999999999999999999"), std::optional<int>());
    }

    void textosQueNaoConvertem() {
        const QDateTime agora = em(kHoje, 10, 0, 1);
        confereNaoReusavel(decide(logon("32/03/25", "10:00:00"), "5", agora), MotivoLogon::DataHoraInvalida);
        confereNaoReusavel(decide(logon("hoje", "10:00:00"), "5", agora), MotivoLogon::DataHoraInvalida);
        confereNaoReusavel(decide(logon("10/03/25", "25:00:00"), "5", agora), MotivoLogon::DataHoraInvalida);
        // A file cut short: the missing lines read empty.
        confereNaoReusavel(decide(ArquivoRastro::lido({"BKBCAK", "ABC", "10/03/25"}), "5", agora),
                           MotivoLogon::DataHoraInvalida);
        confereNaoReusavel(decide(ArquivoRastro::lido({}), "5", agora), MotivoLogon::DataHoraInvalida);
        confereNaoReusavel(decide(logon("10/03/25", "10:00:00"), "5", agora, ArquivoRastro::lido({"10/03/25"})),
                           MotivoLogon::DataHoraInvalida);
        confereNaoReusavel(decide(logon("10/03/25", "10:00:00"), "5", agora, ArquivoRastro::lido({"x", "10:00:00"})),
                           MotivoLogon::DataHoraInvalida);
    }

    void arquivosAusentesOuIlegiveis() {
        const QDateTime agora = em(kHoje, 10, 0, 1);
        confereNaoReusavel(decide(ArquivoRastro::ausente(), "5", agora), MotivoLogon::SemArquivoLogon);
        confereNaoReusavel(decide(ArquivoRastro::ilegivel(), "5", agora), MotivoLogon::ArquivoIlegivel);
        confereNaoReusavel(decide(logon("10/03/25", "10:00:00"), "5", agora, ArquivoRastro::ilegivel()),
                           MotivoLogon::ArquivoIlegivel);
    }

    void capacidadeDasLinhas() {
        // Date and time lines are read into 20 characters: what follows is skipped.
        const std::string data = std::string("10/03/25") + std::string(12, ' ') + "lixo";
        QVERIFY(decide(logon(data, "10:00:00            !!"), "5", em(kHoje, 10, 1, 0)).candidato);
        // Key and name are cut to 60.
        const DecisaoLogon d =
            decide(ArquivoRastro::lido({std::string(70, 'K'), std::string(61, 'N'), "10/03/25", "10:00:00"}), "5",
                   em(kHoje, 10, 1, 0));
        QCOMPARE(d.usuario, std::string(60, 'K'));
        QCOMPARE(d.nome, std::string(60, 'N'));
    }

    void ultimaAtividadeEscritaEReLida() {
        const QDateTime agora = em(kHoje, 9, 5, 7);
        const auto linhas = linhasUltimaAtividade(agora);
        QCOMPARE(linhas, (std::vector<std::string>{"10/03/25", "09:05:07"}));
        QVERIFY(decide(logon("10/03/25", "08:00:00"), "0", agora, ArquivoRastro::lido(linhas)).candidato);
    }

    void leituraDoDisco() {
        QTemporaryDir pasta;
        QVERIFY(pasta.isValid());
        const std::string caminho = pasta.filePath("LOGON.QVF").toStdString();
        QCOMPARE(leArquivoRastro(caminho).estado, ArquivoRastro::Estado::Ausente);
        QVERIFY(plataforma::gravaLinhas(caminho, {"BKBCAK", "ABC", "10/03/25", "10:00:00"}));
        const ArquivoRastro lido = leArquivoRastro(caminho);
        QCOMPARE(lido.estado, ArquivoRastro::Estado::Lido);
        QVERIFY(decide(lido, "5", em(kHoje, 10, 2, 0)).candidato);
    }
};

QTEST_GUILESS_MAIN(TstRastro)
#include "tst_rastro.moc"
