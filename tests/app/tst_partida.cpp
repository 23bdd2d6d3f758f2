// The program's start as a process: the failures end it with code 1 after one
// message, which the log on standard error keeps; the options answer without a
// window; the support check tells whether the workstation can start.
#include "data/dm.h"
#include "data/dm2.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "support/arquivos.h"
#include "support/dbtest.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace plataforma::literais;

using arquivosteste::grava;
using arquivosteste::lixo;

namespace {
// The folder that holds the database client library on this machine.
QString pastaDoCliente() {
    for (const char* p : {"/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu", "/usr/lib64", "/usr/lib"})
        if (QFileInfo::exists(QString::fromLatin1(p) + QStringLiteral("/libfbclient.so.2"))) return QString::fromLatin1(p);
    return {};
}

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

    // Runs the program copied into the temporary folder, from that folder, with
    // the environment variable `ligada` set if named; returns its exit code.
    int executa(const QStringList& args, QString* saida = nullptr, QString* erros = nullptr,
                const QString& ligada = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("BRENVITA_MESSAGES", pasta_.filePath("mensagens.txt"));
        env.insert("BRENVITA_DIR", pasta_.filePath("suite"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", pasta_.filePath("runtime"));  // as a desktop session has it
        if (!ligada.isEmpty()) env.insert(ligada, "1");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(pasta_.path());
        p.start(programa_, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            return -1;
        }
        if (saida) *saida = QString::fromUtf8(p.readAllStandardOutput());
        if (erros) *erros = QString::fromUtf8(p.readAllStandardError());
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
        // capsulas, or capsulas.exe as the tests are named on Windows.
        const QString sufixo = QFileInfo(QCoreApplication::applicationFilePath()).suffix();
        const QString nome = sufixo.isEmpty() ? "capsulas" : "capsulas." + sufixo;
        const QString origem = QCoreApplication::applicationDirPath() + "/../" + nome;
        QVERIFY2(QFile::exists(origem), "the program is built beside the tests' folder");
        programa_ = pasta_.filePath(nome);
        QVERIFY(QFile::copy(origem, programa_));
        // Qt's Portuguese texts go along where the build has them beside the
        // program (Windows), as the installer puts them.
        const QString traducao = QFileInfo(origem).path() + "/translations/qtbase_pt_BR.qm";
        if (QFile::exists(traducao)) {
            QDir(pasta_.path()).mkdir("translations");
            QVERIFY(QFile::copy(traducao, pasta_.filePath("translations/qtbase_pt_BR.qm")));
        }
        QDir(pasta_.path()).mkdir("suite");
        QDir(pasta_.path()).mkdir("runtime");
        QFile::setPermissions(pasta_.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void init() { QFile::remove(pasta_.filePath("mensagens.txt")); }

    void semArquivoDeConfiguracoes() {
        QFile::remove(pasta_.filePath("BRENVITA.INI"));
        QString erros;
        QCOMPARE(executa({}, nullptr, &erros), 1);
        const QString texto = QString::fromUtf8("Arquivo BRENVITA.INI não encontrado. Execute o programa "
                                                "Vorquell.exe para criá-lo.");
        QCOMPARE(mensagens(), texto);
        QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d capsulas: " +
                                    QRegularExpression::escape(texto) + "\r?\n$")  // CR LF on Windows
                     .match(erros)
                     .hasMatch(),
                 qPrintable(erros));
    }

    void servidorInalcancavelUmaMensagemSo() {
        escreveIni("127.0.0.1/1");
        QString erros;
        QCOMPARE(executa({}, nullptr, &erros), 1);
        QCOMPARE(erros.count('\n'), 1);  // the log: one line for the one message
        QVERIFY(erros.contains(QString::fromUtf8("capsulas: Não foi possível fazer a conexão com o servidor. / "
                                                 "Certique que o \"Ip: 127.0.0.1/1\"")));
        const QString m = mensagens();
        QVERIFY(!m.contains(QChar(0x1E)));  // one message only: DM2 is never made
        QVERIFY(m.startsWith(QString::fromUtf8("Não foi possível fazer a conexão com o servidor.\r\nCertique que o "
                                               "\"Ip: 127.0.0.1/1\" informado  no arquivo de configuração "
                                               "BRENVITA.INI está correto.\r\r\nClasse: ")));
        QVERIFY(m.contains("\rErro: "));
#ifdef _WIN32
        // Without a client installed the error names both files tried.
        QVERIFY2(m.contains("network request") || (m.contains("\"gds32.dll\" (") && m.contains("\"fbclient.dll\" (")),
                 qPrintable(m));
#endif
    }

    // No window, no connection (the settings name no server), nothing shown.
    void opcoes() {
        escreveIni("127.0.0.1/1");
        QString saida, erros;
        QCOMPARE(executa({"--help"}, &saida, &erros), 0);
        QVERIFY(saida.startsWith("Uso: capsulas"));
        for (const char* opcao : {"--check", "--help", "--version", "BRENVITA_DIR"}) QVERIFY(saida.contains(opcao));
        QCOMPARE(executa({"-h"}, &saida), 0);
        QVERIFY(saida.startsWith("Uso: capsulas"));
        QCOMPARE(executa({"--version"}, &saida, &erros), 0);
        QVERIFY(QRegularExpression("^capsulas \\d+\\.\\d+\\.\\d+\r?\n$").match(saida).hasMatch());
        QVERIFY(erros.isEmpty());
        QCOMPARE(executa({"--bogus"}, &saida, &erros), 2);
        QVERIFY(saida.isEmpty());
        QCOMPARE(erros.count('\n'), 1);
        QVERIFY(erros.contains("--bogus"));
        QVERIFY(mensagens().isEmpty());
    }

    // Started up to its editing state and ended: the data modules outlive the
    // window, whose end still reaches them.
    void partidaEFimNormais() {
        EXIGE_BANCO();
        escreveIni(dbteste::servidor());
        QVERIFY(plataforma::gravaLinhas(pasta_.filePath("SaltaCad.db").toStdString(), {}));
        QString saida, erros;
        QCOMPARE(executa({}, &saida, &erros, "CAPSULAS_MEDE_PARTIDA"), 0);
        QVERIFY(saida.startsWith("partida_ms="));
        QVERIFY2(erros.isEmpty(), qPrintable(erros));  // nothing logged
        QCOMPARE(mensagens(), QString());
    }

    // A login from the environment that the server refuses: one message, and
    // neither it nor the log names the user or the password.
    void loginDoAmbienteRecusado() {
        EXIGE_BANCO();
        escreveIni(dbteste::servidor());
        qputenv("ISC_USER", "FULANO");
        qputenv("ISC_PASSWORD", "segredo123");
        QString erros;
        const int codigo = executa({}, nullptr, &erros);
        qunsetenv("ISC_USER");
        qunsetenv("ISC_PASSWORD");
        QCOMPARE(codigo, 1);
        QVERIFY2(mensagens().contains("Erro: Your user name and password are not defined"), qPrintable(mensagens()));
        for (const QString& t : {mensagens(), erros}) QVERIFY(!t.contains("FULANO") && !t.contains("segredo123"));
    }

    void verificacaoDaEstacao() {
        EXIGE_BANCO();
        escreveIni(dbteste::servidor());
        dbteste::criaTutorialEmbutido(pasta_.filePath("suite").toStdString());
        QString versao, saida, erros;
        executa({"--version"}, &versao);
        QCOMPARE(executa({"--check"}, &saida, &erros), 0);
        QVERIFY2(saida.contains(QString::fromUtf8("OK    Versão: ") + versao), qPrintable(saida));
        QVERIFY(saida.contains("OK    Login: SYSDBA com a senha do programa"));
        QVERIFY(saida.contains("AVISO Login: o servidor aceita SYSDBA"));
        QVERIFY(saida.contains("OK    Servidor: conectado a " + QString::fromStdString(dbteste::servidor())));
        QVERIFY(saida.contains("OK    TUTORIAL.BD: "));
        // The test database has the bare schema: the recommended indexes are missing.
        QVERIFY(saida.contains(QString::fromUtf8("AVISO Índice IX_COMPONEN_GRUPO_COMPONENTE: ausente; ")));
        QVERIFY(saida.contains("CREATE INDEX IX_COMPONEN_GRUPO_COMPONENTE"));
        QVERIFY(!saida.contains("FALHA"));
        QVERIFY(erros.isEmpty());

        escreveIni("127.0.0.1/1");
        QCOMPARE(executa({"--check"}, &saida), 1);
        QVERIFY(saida.contains("FALHA Servidor: sem resposta em 127.0.0.1/1"));
        QVERIFY(saida.contains("OK    TUTORIAL.BD: "));  // went on past the failure
    }
    // The client library path file, with what a careless hand may leave in it.
    void caminhoGds_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<bool>("conecta");
        const QByteArray pasta = pastaDoCliente().toLocal8Bit();
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("empty first line") << QByteArray("\r\n" + pasta + "\r\n") << true;
        QTest::newRow("no line end") << pasta << true;
        QTest::newRow("separator at the end, LF only") << QByteArray(pasta + "/\nlixo\n") << true;
        QTest::newRow("garbage") << lixo(2048, 3) << false;
        QTest::newRow("10 MB line") << QByteArray(10 << 20, 'x') << false;
        QTest::newRow("CR-only line ends") << QByteArray(pasta + "\r" + "segunda linha\r") << false;
    }
    // The folder of the client library: a usable one connects; anything else
    // ends in the connection failure message and the end of the program, never
    // in a crash.
    void caminhoGds() {
        EXIGE_BANCO();
        QFETCH(QByteArray, conteudo);
        QFETCH(bool, conecta);
        QVERIFY2(!pastaDoCliente().isEmpty(), "the database client library was not found");
        QTemporaryDir pasta;
        plataforma::definePastaSuite(pasta.path().toStdString());
        grava(pasta.filePath(QStringLiteral("CaminhoGDS.txt")), conteudo);
        IpServidorCentral = dbteste::servidor();
        plataforma::GravadorMensagens mensagens;
        int codigo = -1;
        plataforma::interceptaEncerramento([&](int c) { codigo = c; });
        const auto cria = [](auto&& passos) {
            try {
                passos();
            } catch (const plataforma::ProgramaEncerrado&) {
            }
        };
        dados::DM dm;
        dados::DM2 dm2;
        cria([&] { dm.DataModuleCreate(); });
        cria([&] {  // on a thread of its own, as the start-up opens it
            dm2.comecaAbertura();
            dm2.DataModuleCreate();
        });
        plataforma::interceptaEncerramento(nullptr);
        plataforma::definePastaSuite({});
        for (const dados::fb::Conexao* c : {&dm.sqlcon1, &dm2.SQLConnection1}) QCOMPARE(c->aberta(), conecta);
        if (conecta) {
            QCOMPARE(mensagens.textos, std::vector<std::string>{});
            QCOMPARE(codigo, -1);
        } else {
            QCOMPARE(mensagens.textos.size(), std::size_t{2});
            for (const std::string& m : mensagens.textos) {
                QVERIFY(m.starts_with("Não foi possível fazer a conexão com o servidor."_w));
                QVERIFY(m.find("\rErro: ") != std::string::npos);
            }
            QCOMPARE(codigo, 1);
        }
    }

};

QTEST_GUILESS_MAIN(TestPartida)
#include "tst_partida.moc"
