// Faults the program must survive: the server lost and back, several
// workstations at once, a row locked by another workstation.
#include "form/widgets/dbedit.h"
#include "form/widgets/dbnavigator.h"
#include "platform/text.h"
#include "support/janela.h"

#include "data/dm.h"
#include "rules/normalizacao.h"
#include "platform/messages.h"
#include "platform/suite.h"
#include "settings/settings.h"
#include "support/dbtest.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <atomic>
#include <optional>
#include <set>
#include <thread>

using namespace plataforma::literais;

namespace {
std::string porta() {
    const std::string h = dbteste::servidor();
    return h.substr(h.find('/') + 1);
}

void servidor(const char* acao) {
    QStringList args{QString::fromLatin1(acao), QString::fromStdString(dbteste::variavel("FB_TEST_DIR"))};
    if (std::string(acao) == "start") args << QString::fromStdString(porta());
    QProcess p;
    p.start(QString::fromStdString(dbteste::caminhoProjeto("scripts/fbserver")), args);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
}

// A workstation without a window: the data module alone.
std::unique_ptr<dados::DM> estacao(int esperaBloqueio = 30) {
    auto dm = std::make_unique<dados::DM>();
    dm->sqlcon1.parametros().esperaBloqueioSegundos = esperaBloqueio;
    dm->DataModuleCreate();
    dm->Componentes.open();
    return dm;
}

std::string codigoAtual(dados::DM& dm) { return dm.ComponentesCODIGO->comoTexto(); }

// The message of a new capsule stored under another code than it showed.
bool avisoDeCodigo(const std::string& mensagem, const std::string& mostrado) {
    return mensagem.rfind("O código "_w + mostrado + " já estava em uso;"_w, 0) == 0;
}
}  // namespace

class TestFalhas : public QObject {
    Q_OBJECT

    std::unique_ptr<dados::fb::Conexao> direta_;
    // Below the window the messages are recorded; the window shows its real boxes.
    std::optional<plataforma::GravadorMensagens> mensagens_;

    regras::Valor consulta(const std::string& sql, const std::vector<regras::Valor>& p = {}) {
        return dbteste::valor(*direta_, sql, p);
    }
    long long conta(const std::string& sql, const std::vector<regras::Valor>& p = {}) {
        return std::get<std::int64_t>(consulta(sql, p));
    }

private slots:
    void initTestCase() {
        EXIGE_BANCO();
        dbteste::preparaAmbiente();
        IpServidorCentral = dbteste::servidor();
        plataforma::definePastaSuite(QDir::tempPath().toStdString());
    }

    void init() {
        direta_ = dbteste::conectaSuite("Teste");
        dbteste::limpaSuite(*direta_);
        dbteste::carregaDemo(*direta_);
        mensagens_.emplace();
    }

    void cleanup() {
        direta_.reset();
        mensagens_.reset();
    }

    void servidorPerdidoEVolta() {
        auto dm = estacao();
        const std::string codigo = codigoAtual(*dm);
        direta_.reset();
        servidor("stop");

        dm->Componentes.edit();
        dm->ComponentesCUSTOFIXO->defineTexto("12");
        dm->Componentes.post();  // the apply fails: reported, kept
        QCOMPARE(dm->Componentes.changeCount(), 1);
        QVERIFY(!mensagens_->textos.empty());
        QVERIFY(mensagens_->ultima().rfind("Não foi possível gravar a alteração no banco de dados."_w, 0) == 0);

        servidor("start");
        // The next operation reconnects by itself and stores the pending change.
        dm->Componentes.edit();
        dm->ComponentesESTOQUEMAXIMO->defineTexto("99");
        mensagens_->textos.clear();
        dm->Componentes.post();
        QVERIFY2(mensagens_->textos.empty(), mensagens_->ultima().c_str());
        QCOMPARE(dm->Componentes.changeCount(), 0);
        direta_ = dbteste::conectaSuite("Teste");
        QCOMPARE(std::get<regras::Decimal>(consulta("select CUSTOFIXO from COMPONEN where CODIGO = ?", {codigo}))
                     .comoReal(),
                 12.0);
        QCOMPARE(std::get<double>(consulta("select ESTOQUEMAXIMO from COMPONEN where CODIGO = ?", {codigo})), 99.0);
    }

    // The window while the server is stopped: one box for the post and none from
    // the activations after it; the window stays usable, closes only when told
    // to lose the change, and stores it once the server is back.
    void janelaComOServidorParado() {
        direta_.reset();
        mensagens_.reset();
        janelateste::Janela j;
        auto& f = *j.form;
        auto clica = [&f](widgets::DBNavigator::Botao b) {
            QTest::mouseClick(f.DBNavigator1->botao(b), Qt::LeftButton);
        };
        const std::string codigo = codigoAtual(*j.dm);
        j.conexao.reset();
        servidor("stop");

        clica(widgets::DBNavigator::Editar);
        QTest::mouseClick(f.DBEdit25, Qt::LeftButton);
        f.DBEdit25->selectAll();
        QTest::keyClicks(f.DBEdit25, "77");
        clica(widgets::DBNavigator::Gravar);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QVERIFY(j.mensagens.ultima().rfind("Não foi possível gravar a alteração no banco de dados."_w, 0) == 0);
        QVERIFY(f.BotFecharComp->isEnabled());
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);

        // Another capsule deleted, confirmed: one box for the one failure (the
        // re-read after the apply fails too, and says nothing more).
        clica(widgets::DBNavigator::Proximo);
        j.mensagens.limpa();
        j.mensagens.respostas = {true};
        clica(widgets::DBNavigator::Excluir);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(2));
        QVERIFY(j.mensagens.ultima().rfind("Não foi possível gravar a alteração no banco de dados."_w, 0) == 0);
        QVERIFY(j.volta());

        const std::string fecharMesmoAssim = "Fechar mesmo assim? A alteração não gravada será perdida."_w;
        j.mensagens.limpa();
        j.mensagens.respostas = {false, false};
        QTest::mouseClick(f.BotFecharComp, Qt::LeftButton);
        f.close();  // the close box
        QCOMPARE(j.mensagens.textos, (std::vector<std::string>{fecharMesmoAssim, fecharMesmoAssim}));
        QVERIFY(f.isVisible());
        QVERIFY(f.BotFecharComp->isEnabled());

        servidor("start");
        j.mensagens.limpa();
        QTest::mouseClick(f.BotFecharComp, Qt::LeftButton);
        QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
        QVERIFY(!f.isVisible());
        direta_ = dbteste::conectaSuite("Teste");
        QCOMPARE(std::get<double>(consulta("select ESTOQUECRITICO from COMPONEN where CODIGO = ?", {codigo})), 77.0);
    }

    // Eight workstations inserting capsules as fast as they can: every capsule is
    // stored, each with its own code, however often their codes meet.
    void oitoEstacoesInserindoAoMesmoTempo() {
        const long long antes = conta("select count(*) from COMPONEN");
        std::vector<std::unique_ptr<dados::DM>> estacoes;
        // A short lock wait: an insert waiting on another workstation's uncommitted
        // code ends soon and takes the next code instead of queueing behind it.
        for (int i = 0; i < 8; ++i) estacoes.push_back(estacao(5));
        std::atomic<int> falhas{0};
        std::vector<std::thread> threads;
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&, i] {
                auto& dm = *estacoes[static_cast<std::size_t>(i)];
                try {
                    for (int n = 0; n < 125; ++n) {
                        dm.Componentes.append();
                        dm.ComponentesCOMPONENTE->defineValor(
                            std::string("Capsula 0 teste ") + std::to_string(i) + "-" + std::to_string(n));
                        dm.Componentes.post();
                        if (dm.Componentes.changeCount() != 0) ++falhas;
                    }
                } catch (const std::exception& e) {
                    qWarning("%s", e.what());
                    ++falhas;
                }
            });
        for (auto& t : threads) t.join();
        QCOMPARE(falhas.load(), 0);
        QCOMPARE(conta("select count(*) from COMPONEN"), antes + 8 * 125);
        QCOMPARE(conta("select count(distinct CODIGO) from COMPONEN"), antes + 8 * 125);
    }

    // Another workstation holds an uncommitted capsule with the code this one
    // picks: the new capsule goes past that code instead of waiting on it again.
    void codigoPresoPorTransacaoAberta() {
        auto dm = estacao(1);
        const std::string preso = dm->ProximoCodigo();
        auto outra = direta_->iniciaTransacao();
        outra->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values (?, 'Capsula de outra estacao', 'CAP')",
                       {preso});

        QElapsedTimer relogio;
        relogio.start();
        dm->Componentes.append();
        dm->ComponentesCOMPONENTE->defineValor(std::string("Capsula 0 desta estacao"));
        dm->Componentes.post();
        QVERIFY(relogio.elapsed() < 10000);
        QVERIFY2(mensagens_->textos.size() == 1 && avisoDeCodigo(mensagens_->ultima(), preso),
                 mensagens_->ultima().c_str());
        QCOMPARE(dm->Componentes.changeCount(), 0);
        QVERIFY(codigoAtual(*dm) != preso);
        QCOMPARE(dm->ComponentesCOMPONENTE->comoTexto(), regras::NormalizaDescricao("Capsula 0 desta estacao"));
        outra->confirma();
        QCOMPARE(conta("select count(distinct CODIGO) from COMPONEN"), conta("select count(*) from COMPONEN"));
    }

    // A new capsule left pending while the server was away; meanwhile another
    // workstation stored its code, and this one read that row back. Only the
    // pending capsule may change code: the other workstation's row stays as it is.
    void insercaoPendenteComCodigoTomado() {
        auto dm = estacao();
        const long long antes = conta("select count(*) from COMPONEN");
        dm->Componentes.append();
        const std::string codigo = codigoAtual(*dm);
        dm->ComponentesCOMPONENTE->defineValor(std::string("Capsula 0 desta estacao"));
        direta_.reset();
        servidor("stop");
        dm->Componentes.post();
        QCOMPARE(dm->Componentes.changeCount(), 1);
        servidor("start");

        direta_ = dbteste::conectaSuite("Teste");
        direta_->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values (?, 'Capsula de outra estacao', 'CAP')",
                         {codigo});
        dm->Componentes.refresh();
        mensagens_->textos.clear();
        dm->Componentes.append();
        dm->ComponentesCOMPONENTE->defineValor(std::string("Capsula 0 segunda"));
        dm->Componentes.post();
        // Each change is applied on its own: the second capsule is stored under
        // the code it shows, and only the pending one moves on, past both.
        QCOMPARE(mensagens_->textos.size(), std::size_t(1));
        QVERIFY(avisoDeCodigo(mensagens_->textos[0], codigo));
        QCOMPARE(dm->Componentes.changeCount(), 0);
        QCOMPARE(conta("select count(*) from COMPONEN"), antes + 3);
        QCOMPARE(conta("select count(distinct CODIGO) from COMPONEN"), antes + 3);
        QCOMPARE(std::get<std::string>(consulta("select COMPONENTE from COMPONEN where CODIGO = ?", {codigo})),
                 std::string("Capsula de outra estacao"));
        QCOMPARE(conta("select count(*) from COMPONEN where COMPONENTE = ?",
                       {regras::NormalizaDescricao("Capsula 0 desta estacao")}),
                 1LL);
    }

    void duasEstacoesColunasDiferentes() {
        auto a = estacao();
        auto b = estacao();
        const std::string codigo = codigoAtual(*a);
        QCOMPARE(codigoAtual(*b), codigo);
        a->Componentes.edit();
        a->ComponentesCUSTOFIXO->defineTexto("3");
        b->Componentes.edit();
        b->ComponentesESTOQUECRITICO->defineTexto("44");
        a->Componentes.post();
        b->Componentes.post();
        QVERIFY2(mensagens_->textos.empty(), mensagens_->ultima().c_str());
        QCOMPARE(std::get<regras::Decimal>(consulta("select CUSTOFIXO from COMPONEN where CODIGO = ?", {codigo}))
                     .comoReal(),
                 3.0);
        QCOMPARE(std::get<double>(consulta("select ESTOQUECRITICO from COMPONEN where CODIGO = ?", {codigo})), 44.0);
    }

    void linhaBloqueadaTerminaPorTempo() {
        auto dm = estacao(2);
        const std::string codigo = codigoAtual(*dm);
        auto outra = direta_->iniciaTransacao();
        outra->executa("update COMPONEN set CUSTOFIXO = 1 where CODIGO = ?", {codigo});

        QElapsedTimer relogio;
        relogio.start();
        dm->Componentes.edit();
        dm->ComponentesESTOQUEMAXIMO->defineTexto("5");
        dm->Componentes.post();
        QVERIFY(relogio.elapsed() < 15000);
        QCOMPARE(dm->Componentes.changeCount(), 1);
        QVERIFY(mensagens_->ultima().rfind("Não foi possível gravar"_w, 0) == 0);

        outra->desfaz();
        mensagens_->textos.clear();
        dm->Componentes.edit();
        dm->ComponentesESTOQUECRITICO->defineTexto("1");
        dm->Componentes.post();
        QCOMPARE(dm->Componentes.changeCount(), 0);
        QCOMPARE(std::get<double>(consulta("select ESTOQUEMAXIMO from COMPONEN where CODIGO = ?", {codigo})), 5.0);
    }
};

QTEST_MAIN(TestFalhas)
#include "tst_falhas.moc"
