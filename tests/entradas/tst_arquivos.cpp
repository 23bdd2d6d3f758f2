// The files the program reads, each tried with what a damaged disk, another
// program or a careless hand may leave in it: nothing, binary garbage, a 10 MB
// line, no line end, CR-only line ends, numbers and dates that don't convert.
// Nothing crashes and each ends the way the program means it to. (The settings file
// has the same trials in tests/settings, the client library's path file in
// tests/app/tst_partida, where the server is.)
#include "data/dm.h"
#include "help/posicao.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "support/arquivos.h"
#include "support/janela.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QtTest>

using janelateste::Janela;
using namespace plataforma::literais;

using arquivosteste::grava;
using arquivosteste::lixo;

namespace {

const QDate kHoje(2024, 3, 15);
const QByteArray kHojeTexto = "15/03/24";
const QByteArray kChaveAdmin = "HCEKGKCCAK";  // ADMIN as the suite stores it; may reuse a sign-on

QByteArray junta(const QList<QByteArray>& linhas, const QByteArray& fim) {
    QByteArray r;
    for (const auto& l : linhas) r += l + fim;
    return r;
}

// A sign-on of ADMIN today at 10:00:00, written as the suite writes it.
QByteArray logonValido(const QByteArray& fim = "\r\n") {
    return junta({kChaveAdmin, "ADMIN", kHojeTexto, "10:00:00"}, fim);
}

// The bytes of a file; null when there is none.
QByteArray conteudo(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray b = f.readAll();
    if (b.isNull()) b = QByteArray("");  // present and empty
    return b;
}

}  // namespace

Q_DECLARE_METATYPE(ajuda::Posicao)

class TstArquivos : public QObject {
    Q_OBJECT

    std::unique_ptr<Janela> janela_;  // one window for every trace-file case

private slots:
    void initTestCase() {
        EXIGE_CLIENTE();
        // The trace files' dates as a pt-BR workstation writes them.
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    }
    void cleanupTestCase() { janela_.reset(); }

    // ------------------------------------------------------------ trace files

    void rastro_data() {
        QTest::addColumn<QByteArray>("logon");
        QTest::addColumn<QByteArray>("atividade");  // null: no last-activity file
        QTest::addColumn<bool>("reusa");
        const QByteArray semArquivo;
        QTest::newRow("empty logon") << QByteArray("") << semArquivo << false;
        QTest::newRow("garbage logon") << lixo(4096, 7) << semArquivo << false;
        QTest::newRow("10 MB key") << (QByteArray(10 << 20, 'K') + "\r\n" + logonValido().mid(kChaveAdmin.size() + 2))
                                   << semArquivo << false;
        QTest::newRow("no line end") << logonValido().chopped(2) << semArquivo << true;
        QTest::newRow("LF only") << logonValido("\n") << semArquivo << true;
        QTest::newRow("CR-only line ends") << logonValido("\r") << semArquivo << false;
        QTest::newRow("impossible date") << junta({kChaveAdmin, "ADMIN", "31/02/24", "10:00:00"}, "\r\n") << semArquivo
                                         << false;
        QTest::newRow("impossible time") << junta({kChaveAdmin, "ADMIN", kHojeTexto, "10:61:00"}, "\r\n") << semArquivo
                                         << false;
        QTest::newRow("date as text") << junta({kChaveAdmin, "ADMIN", "hoje", "10:00:00"}, "\r\n") << semArquivo
                                      << false;
        QTest::newRow("empty activity") << logonValido() << QByteArray("") << false;
        QTest::newRow("garbage activity") << logonValido() << lixo(512, 11) << false;
        QTest::newRow("CR-only activity") << logonValido() << junta({kHojeTexto, "10:02:00"}, "\r") << false;
        QTest::newRow("activity without line end") << logonValido() << (kHojeTexto + "\r\n10:02:00") << true;
        QTest::newRow("10 MB activity") << logonValido() << (kHojeTexto + QByteArray(10 << 20, ' ') + "\r\n10:02:00")
                                        << true;
    }
    // At activation: a sign-on that can't be read is not reused and its files
    // stay as they are (they may belong to a module that can read them); the
    // last-activity file is written only when the window goes into editing.
    void rastro() {
        QFETCH(QByteArray, logon);
        QFETCH(QByteArray, atividade);
        QFETCH(bool, reusa);
        if (!janela_) {
            janelateste::Opcoes o;
            o.marcaSaltaLogin = false;
            janela_ = std::make_unique<Janela>(o);
        }
        Janela& j = *janela_;
        plataforma::definePastaSuite(j.pasta.path().toStdString());
        const QString arquivoLogon = QString::fromStdString(j.caminho("LOGON.QVF"));
        const QString arquivoAtividade = QString::fromStdString(j.caminho("ULTATIV.QVF"));
        QFile::remove(arquivoAtividade);
        grava(arquivoLogon, logon);
        if (!atividade.isNull()) grava(arquivoAtividade, atividade);
        plataforma::defineRelogio(QDateTime(kHoje, QTime(10, 3, 0)));
        TempoLogoff = "5";
        j.mensagens.limpa();

        j.reativa();

        auto& f = *j.form;
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{});
        QCOMPARE(conteudo(arquivoLogon), logon);
        if (reusa) {
            QVERIFY(!f.PainelLogin->isVisible());
            QVERIFY(f.PainelComponentes->isVisible());
            QCOMPARE(UsuarioAtual.str(), kChaveAdmin.toStdString());
            QCOMPARE(conteudo(arquivoAtividade), QByteArray(kHojeTexto + "\r\n10:03:00\r\n"));
        } else {
            QVERIFY(f.PainelLogin->isVisible());
            QVERIFY(!f.PainelComponentes->isVisible());
            QCOMPARE(conteudo(arquivoAtividade), atividade);
        }
    }

    // ------------------------------------------------------------ help window placement

    void posicaoDaAjuda_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<bool>("recusado");  // the conversion error: designed placement, no page
        QTest::addColumn<ajuda::Posicao>("posicao");
        const ajuda::Posicao padrao;
        ajuda::Posicao gravada{95, 10, 480, 640};
        QList<QByteArray> linhas;
        for (const auto& l : ajuda::linhasPosicao(gravada)) linhas << QByteArray::fromStdString(l);
        ajuda::Posicao altura400;
        altura400.altura = 400;

        QTest::newRow("empty") << QByteArray("") << false << padrao;
        QTest::newRow("garbage") << lixo(4096, 5) << false << padrao;
        QTest::newRow("as written") << junta(linhas, "\r\n") << false << gravada;
        QTest::newRow("no line end") << junta(linhas, "\r\n").chopped(2) << false << gravada;
        QTest::newRow("10 MB of blanks after a value")
            << QByteArray("ALTURA................: 400" + QByteArray(10 << 20, ' ')) << false << altura400;
        QTest::newRow("10 MB number") << QByteArray("ALTURA................: " + QByteArray(10 << 20, '4')) << true
                                      << padrao;
        // One line: the title is no label, so nothing counts; a label first
        // takes the rest of the file as its value, which is no number.
        QTest::newRow("CR-only line ends") << junta(linhas, "\r") << false << padrao;
        QTest::newRow("CR-only, a label first") << junta(linhas.mid(2), "\r") << true << padrao;
        QTest::newRow("decimal") << QByteArray("LARGURA...............: 6,4\r\n") << true << padrao;
        QTest::newRow("exponent") << QByteArray("LARGURA...............: 6e2\r\n") << true << padrao;
        QTest::newRow("beyond an int") << QByteArray("MARGEM SUPERIOR.......: 2147483648\r\n") << true << padrao;
    }
    // Read from the disk as the help window reads it at activation.
    void posicaoDaAjuda() {
        QFETCH(QByteArray, conteudo);
        QFETCH(bool, recusado);
        QFETCH(ajuda::Posicao, posicao);
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QString::fromLatin1(ajuda::kArquivoPosicao));
        grava(arquivo, conteudo);
        const auto linhas = plataforma::leLinhas(arquivo.toStdString());
        QVERIFY(linhas.has_value());
        try {
            const ajuda::Posicao lida = ajuda::lePosicao(*linhas);
            QVERIFY2(!recusado, "the value was taken as a number");
            QCOMPARE(lida, posicao);
        } catch (const plataforma::Erro& e) {
            QVERIFY2(recusado, e.what());
            QVERIFY(std::string(e.what()).find("inteiro") != std::string::npos);
        }
    }
};

QTEST_MAIN(TstArquivos)
#include "tst_arquivos.moc"
