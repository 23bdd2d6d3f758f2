// The capsule record's life in the data module, against the database server.
#include "data/dm.h"
#include "platform/messages.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "support/dbtest.h"

#include <QScopeGuard>
#include <QTest>

using namespace plataforma::literais;

class TestDM : public QObject {
    Q_OBJECT

    std::unique_ptr<dados::fb::Conexao> direta_;
    plataforma::GravadorMensagens mensagens_;

    regras::Valor consulta(const std::string& sql, const std::vector<regras::Valor>& p = {}) {
        return dbteste::valor(*direta_, sql, p);
    }
    void insereCodigo(const std::string& codigo, const char* grupo = "MP") {
        direta_->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values (?, ?, ?)",
                         {codigo, std::string("Materia ") + codigo, std::string(grupo)});
    }
    std::unique_ptr<dados::DM> modulo() {
        auto dm = std::make_unique<dados::DM>();
        dm->DataModuleCreate();
        dm->Componentes.open();
        return dm;
    }

private slots:
    void initTestCase() {
        EXIGE_BANCO();
        IpServidorCentral = dbteste::servidor();
        plataforma::definePastaSuite(QDir::tempPath().toStdString());
    }
    void init() {
        direta_ = dbteste::conectaSuite("Teste");
        dbteste::limpaSuite(*direta_);
        mensagens_.textos.clear();
    }

    void proximoCodigo() {
        auto dm = modulo();
        QCOMPARE(dm->ProximoCodigo(), std::string("000001"));  // empty table
        insereCodigo("ABC");
        QCOMPARE(dm->ProximoCodigo(), std::string("000001"));  // not a whole number: ignored
        insereCodigo("000123");
        insereCodigo("99");
        QCOMPARE(dm->ProximoCodigo(), std::string("000124"));  // numbers, not texts, compared
        insereCodigo("999999", "CAP");
        QCOMPARE(dm->ProximoCodigo(), std::string("1000000"));
    }

    void novaCapsulaRecebeCodigoEPadroes() {
        insereCodigo("000041");
        auto dm = modulo();
        dm->Componentes.append();
        auto& ds = dm->Componentes;
        QCOMPARE(ds.fieldByName("CODIGO").comoTexto(), std::string("000042"));
        QCOMPARE(ds.fieldByName("GRUPO").comoTexto(), std::string("CAP"));
        QCOMPARE(ds.fieldByName("UNID").comoTexto(), std::string("un"));
        QCOMPARE(ds.fieldByName("UNID_VENDA").comoTexto(), std::string("un"));
        QCOMPARE(ds.fieldByName("DIVISORUNID").comoReal(), 1.0);
        QCOMPARE(ds.fieldByName("FATORCORRECAO").comoReal(), 1.0);
        QCOMPARE(ds.fieldByName("FATORDILUICAO").comoReal(), 1.0);
        QCOMPARE(ds.fieldByName("DENSIDADE").comoReal(), 1.0);
        QCOMPARE(ds.fieldByName("USAR_FORMPRECO").comoTexto(), std::string("S"));
        QCOMPARE(ds.fieldByName("GRUPOF").comoTexto(), std::string("N"));
        QCOMPARE(ds.fieldByName("USOCONTINUO").comoTexto(), std::string("N"));
        QCOMPARE(ds.fieldByName("USAEXCIPIENTE").comoTexto(), std::string("N"));
        QCOMPARE(ds.fieldByName("CONTROLADA").comoTexto(), std::string("Não"_w));
        QVERIFY(ds.fieldByName("CUSTOUNITR").nulo());
    }

    void gravaNormalizadoReleEMantemORegistro() {
        auto dm = modulo();
        auto& ds = dm->Componentes;
        for (const char* d : {"CAPSULA 2 AZUL", "cápsula 0 rosa"_w, "CAPSULA 1 VERDE"}) {
            ds.append();
            ds.fieldByName("COMPONENTE").defineValor(std::string(d));
            ds.post();
        }
        QCOMPARE(ds.changeCount(), 0);
        QCOMPARE(ds.recordCount(), 3);
        // Re-read in description order, the last one posted still current.
        QCOMPARE(std::get<std::string>(ds.linha(0)[1]), std::string("Capsula 0 rosa"));
        QCOMPARE(std::get<std::string>(ds.linha(2)[1]), std::string("Capsula 2 azul"));
        QCOMPARE(ds.fieldByName("COMPONENTE").comoTexto(), std::string("Capsula 1 verde"));
        QCOMPARE(std::get<std::string>(consulta("select COMPONENTE from COMPONEN where CODIGO = '000001'")),
                 std::string("Capsula 2 azul"));
    }

    void descricaoEmBrancoNaoGrava() {
        auto dm = modulo();
        dm->Componentes.append();
        try {
            dm->Componentes.post();
            QFAIL("the post should have been abandoned");
        } catch (const plataforma::Abortado&) {
        }
        QCOMPARE(mensagens_.ultima(),
                 std::string("Descrição e/ou Código em branco. Cadastro será Cancelado."_w));
        QCOMPARE(dm->Componentes.recordCount(), 0);
        QCOMPARE(std::get<std::int64_t>(consulta("select count(*) from COMPONEN")), std::int64_t(0));
    }

    void exclusaoGravadaNaHora() {
        insereCodigo("000007", "CAP");
        auto dm = modulo();
        QCOMPARE(dm->Componentes.recordCount(), 1);
        dm->Componentes.remove();
        QCOMPARE(std::get<std::int64_t>(consulta("select count(*) from COMPONEN")), std::int64_t(0));
    }

    // Workstation 2 edits a capsule that workstation 1 then deletes: the post
    // says so and drops the change, which holds back no later change.
    void capsulaExcluidaEmOutraEstacao() {
        insereCodigo("000007", "CAP");
        insereCodigo("000008", "CAP");
        auto estacao1 = modulo();
        auto estacao2 = modulo();
        estacao2->Componentes.edit();
        estacao2->ComponentesCUSTOFIXO->defineTexto("2");
        estacao1->Componentes.remove();
        estacao2->Componentes.post();
        QCOMPARE(mensagens_.textos, std::vector<std::string>{"Não foi possível gravar a alteração no banco de dados.\r\n"
                                                             "A cápsula foi excluída em outra estação."_w});
        QCOMPARE(estacao2->Componentes.changeCount(), 0);
        QCOMPARE(estacao2->Componentes.recordCount(), 1);  // the re-read took it away
        estacao2->Componentes.edit();
        estacao2->ComponentesCUSTOFIXO->defineTexto("3");
        estacao2->Componentes.post();
        QCOMPARE(mensagens_.textos.size(), std::size_t(1));
        QCOMPARE(std::get<regras::Decimal>(consulta("select CUSTOFIXO from COMPONEN where CODIGO = '000008'")).comoReal(),
                 3.0);
    }

    // A change refused for now (its row locked by another workstation) stays
    // pending without holding back the next one; closing asks, and stores it
    // once the row is free.
    void recusadaFicaSemSegurarAsOutras() {
        insereCodigo("000007", "CAP");
        insereCodigo("000008", "CAP");
        auto dm = std::make_unique<dados::DM>();
        dm->sqlcon1.parametros().esperaBloqueioSegundos = 0;
        dm->DataModuleCreate();
        dm->Componentes.open();
        auto outra = direta_->iniciaTransacao();
        outra->executa("update COMPONEN set FAMILIA = 'X' where CODIGO = '000007'");
        dm->Componentes.edit();
        dm->ComponentesCUSTOFIXO->defineTexto("2");
        dm->Componentes.post();
        QVERIFY(mensagens_.ultima().rfind("Não foi possível gravar a alteração no banco de dados.\r\n"_w, 0) == 0);
        QCOMPARE(dm->Componentes.changeCount(), 1);
        dm->Componentes.next();
        dm->Componentes.edit();
        dm->ComponentesCUSTOFIXO->defineTexto("3");
        dm->Componentes.post();
        QCOMPARE(std::get<regras::Decimal>(consulta("select CUSTOFIXO from COMPONEN where CODIGO = '000008'")).comoReal(),
                 3.0);
        QCOMPARE(dm->Componentes.changeCount(), 1);

        // "Não" keeps the change and the dataset open.
        mensagens_.respostas = {false};
        QVERIFY_THROWS_EXCEPTION(plataforma::Abortado, dm->Componentes.close());
        QVERIFY(dm->Componentes.active());
        outra->desfaz();
        dm->Componentes.close();
        QVERIFY(!dm->Componentes.active());
        QCOMPARE(std::get<regras::Decimal>(consulta("select CUSTOFIXO from COMPONEN where CODIGO = '000007'")).comoReal(),
                 2.0);
    }

    // A pharmacy's own unique index on the description: a repeated description
    // is refused once, and the capsule keeps the code it shows.
    void outraChaveUnicaNaoTrocaOCodigo() {
        direta_->executa("create unique index IX_TESTE_DESCRICAO on COMPONEN (COMPONENTE)");
        const auto remove = qScopeGuard([this] { direta_->executa("drop index IX_TESTE_DESCRICAO"); });
        insereCodigo("000001", "CAP");
        auto dm = modulo();
        dm->Componentes.append();
        dm->ComponentesCOMPONENTE->defineValor(std::string("Materia 000001"));
        dm->Componentes.post();
        QCOMPARE(mensagens_.textos.size(), std::size_t(1));
        QCOMPARE(dm->ComponentesCODIGO->comoTexto(), std::string("000002"));
    }

    void codigoTomadoPorOutraEstacaoRecebeOProximo() {
        auto a = modulo();
        auto b = modulo();
        a->Componentes.append();
        b->Componentes.append();
        QCOMPARE(a->ComponentesCODIGO->comoTexto(), b->ComponentesCODIGO->comoTexto());
        a->ComponentesCOMPONENTE->defineValor(std::string("Capsula 0 azul"));
        b->ComponentesCOMPONENTE->defineValor(std::string("Capsula 1 azul"));
        a->Componentes.post();
        b->Componentes.post();
        QCOMPARE(mensagens_.textos, std::vector<std::string>{"O código 000001 já estava em uso; a cápsula "_w
                                                             "foi gravada com o código 000002."_w});
        QCOMPARE(b->Componentes.changeCount(), 0);
        QCOMPARE(std::get<std::int64_t>(consulta("select count(distinct CODIGO) from COMPONEN")), std::int64_t(2));
        QCOMPARE(b->ComponentesCODIGO->comoTexto(), std::string("000002"));
    }
};

QTEST_MAIN(TestDM)
#include "tst_dm.moc"
