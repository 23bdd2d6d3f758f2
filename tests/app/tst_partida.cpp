// The program's start as a process: the failures end it with code 1 after one
// message; the support check tells whether the workstation can start.
#include "platform/files.h"
#include "platform/text.h"
#include "support/dbtest.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
std::string linhaIni(const std::string& rotulo, const std::string& valor) {
    std::string l = rotulo;
    l.resize(48, ' ');
    return l + " " + valor;
}
}  // namespace

class TestPartida : public QObject {
    Q_OBJECT

    QTemporaryDir pasta_;
    QString programa_;

    // Runs the program copied into the temporary folder; returns its exit code.
    int executa(const QStringList& args, QString* saida = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("BRENVITA_MESSAGES", pasta_.filePath("mensagens.txt"));
        env.insert("BRENVITA_DIR", pasta_.filePath("suite"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(programa_, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            return -1;
        }
        if (saida) *saida = QString::fromLocal8Bit(p.readAllStandardOutput());
        return p.exitCode();
    }
    QString mensagens() {
        QFile f(pasta_.filePath("mensagens.txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void escreveIni(const std::string& ip) {
        plataforma::gravaLinhas(pasta_.filePath("BRENVITA.INI").toStdString(),
                                {linhaIni("IP DO SERVIDOR CENTRAL.........................:", ip)});
    }

private slots:
    void initTestCase() {
        const QString origem = QCoreApplication::applicationDirPath() + "/../capsulas";
        QVERIFY2(QFile::exists(origem), "the program is built beside the tests' folder");
        programa_ = pasta_.filePath("capsulas");
        QVERIFY(QFile::copy(origem, programa_));
        QDir(pasta_.path()).mkdir("suite");
    }
    void init() { QFile::remove(pasta_.filePath("mensagens.txt")); }

    void semArquivoDeConfiguracoes() {
        QFile::remove(pasta_.filePath("BRENVITA.INI"));
        QCOMPARE(executa({}), 1);
        QCOMPARE(mensagens(), QString::fromUtf8("Arquivo BRENVITA.INI não encontrado. Execute o programa "
                                                "Vorquell.exe para criá-lo."));
    }

    void servidorInalcancavelUmaMensagemSo() {
        escreveIni("127.0.0.1/1");
        QCOMPARE(executa({}), 1);
        const QString m = mensagens();
        QVERIFY(!m.contains(QChar(0x1E)));  // one message only: DM2 is never made
        QVERIFY(m.startsWith(QString::fromUtf8("Não foi possível fazer a conexão com o servidor.\r\nCertique que o "
                                               "\"Ip: 127.0.0.1/1\" informado  no arquivo de configuração "
                                               "BRENVITA.INI está correto.\r\r\nClasse: ")));
        QVERIFY(m.contains("\rErro: "));
    }

    void verificacaoDaEstacao() {
        EXIGE_BANCO();
        escreveIni(dbteste::servidor());
        dbteste::criaTutorialEmbutido(pasta_.filePath("suite").toStdString());
        QString saida;
        QCOMPARE(executa({"--check"}, &saida), 0);
        QVERIFY(saida.contains("IpServidorCentral: " + QString::fromStdString(dbteste::servidor())));
        QVERIFY(saida.contains("Conexao com o servidor: OK"));
        // The test database has the bare schema.
        QVERIFY(saida.contains("Indice recomendado IX_COMPONEN_GRUPO_COMPONENTE: ausente; para criar: CREATE INDEX"));
        QVERIFY(saida.contains("Conexao com o tutorial: OK"));

        escreveIni("127.0.0.1/1");
        QCOMPARE(executa({"--check"}, &saida), 1);
        QVERIFY(saida.contains("Conexao com o servidor: FALHOU"));
    }
};

QTEST_GUILESS_MAIN(TestPartida)
#include "tst_partida.moc"
