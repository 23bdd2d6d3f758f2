// The cached dataset chain against the test run's database server: moves,
// the change log, apply by key or by all columns, refresh and field rules.
#include "data/catalogo.h"
#include "data/dataset.h"
#include "platform/program.h"
#include "support/dbtest.h"

#include <QLocale>
#include <QtTest>

using namespace dados;

namespace {

Decimal dec(const char* t) { return *Decimal::deTexto(t, '.', 8); }
Valor txt(const char* t) { return std::string(t); }

// The capsule chain as the data module builds it.
struct Capsulas {
    explicit Capsulas(fb::Conexao* c, ModoAtualizacao modo = ModoAtualizacao::SomenteChave)
        : sqlds{"SQLDS_Componen", c, sqlComponentes(), {}}, dsp("DSP_Componen", &sqlds, "COMPONEN", modo),
          cds("Componentes", &dsp) {
        cds.defineCampos(camposComponen());
    }
    SQLDataSet sqlds;
    Provider dsp;
    ClientDataSet cds;
};

struct Contador : Observador {
    int registros = 0, estados = 0, campos = 0;
    void registroMudou() override { ++registros; }
    void estadoMudou() override { ++estados; }
    void campoMudou(const Campo&) override { ++campos; }
};

std::string codigoAtual(const ClientDataSet& ds) { return std::get<std::string>(ds.fieldByName("CODIGO").valor()); }

}  // namespace

class TstDataset : public QObject {
    Q_OBJECT

    std::unique_ptr<fb::Conexao> con_, outra_;  // this workstation and another one

    void insere(const char* codigo, const char* descricao, const char* grupo, const char* custo) {
        con_->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, CUSTOUNITR, DIVISORUNID, FAMILIA) "
                      "values (?, ?, ?, ?, ?, ?)",
                      {txt(codigo), txt(descricao), txt(grupo), dec(custo), dec("1"), txt("F")});
    }
    Valor noBanco(const char* coluna, const char* codigo) {
        const auto r = outra_->consulta(std::string("select ") + coluna + " from COMPONEN where CODIGO = ?",
                                        {txt(codigo)});
        return r.linhas.empty() ? Valor{} : r.linhas[0][0];
    }
    int linhasNoBanco() {
        return static_cast<int>(std::get<std::int64_t>(outra_->consulta("select count(*) from COMPONEN").linhas[0][0]));
    }

private slots:
    void initTestCase() {
        EXIGE_BANCO();
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        con_ = dbteste::conectaSuite();
        outra_ = dbteste::conectaSuite("Outra");
    }

    void init() {
        dbteste::limpaSuite(*con_);
        insere("000001", "Capsula 0 azul", "CAP", "0.25");
        insere("000002", "Capsula 1 branca", "CAP", "1.5");
        insere("000003", "Capsula 2 verde", "CAP", "2");
        insere("000900", "Acido ascorbico", "MP", "9");
    }

    void abreNavegaEFormata() {
        Capsulas c(con_.get());
        Contador obs;
        c.cds.adicionaObservador(&obs);
        int rolagens = 0;
        c.cds.AfterScroll = [&](ClientDataSet&) { ++rolagens; };
        c.cds.open();
        QCOMPARE(c.cds.state(), Estado::Navegando);
        QCOMPARE(c.cds.recordCount(), 3);  // only capsules, in description order
        QCOMPARE(c.cds.recNo(), 1);
        QVERIFY(c.cds.bof() && !c.cds.eof());
        QCOMPARE(codigoAtual(c.cds), std::string("000001"));
        c.cds.next();
        c.cds.next();
        QVERIFY(!c.cds.eof());
        c.cds.next();  // past the last row: stays there
        QVERIFY(c.cds.eof());
        QCOMPARE(c.cds.recNo(), 3);
        c.cds.moveTo(2);
        QCOMPARE(codigoAtual(c.cds), std::string("000002"));
        QCOMPARE(rolagens, 5);
        QVERIFY(obs.registros >= 5 && obs.estados == 1);

        // Fields by name in any case; display mask and plain text.
        QCOMPARE(c.cds.campo("DivisorUnid"), c.cds.campo("DIVISORUNID"));
        QVERIFY(!c.cds.campo("NAOEXISTE"));
        QCOMPARE(c.cds.fieldByName("CustoUnitR").textoExibicao(), std::string("1,5000"));
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("1,5"));
        QCOMPARE(c.cds.fieldByName("DIVISORUNID").textoExibicao(), std::string("1"));
        QCOMPARE(c.cds.fieldByName("PRECOR").textoExibicao(), std::string());

        c.cds.close();
        QCOMPARE(c.cds.state(), Estado::Fechado);
        QCOMPARE(c.cds.recNo(), 0);
        QVERIFY(c.cds.fieldByName("CODIGO").nulo());
        c.cds.removeObservador(&obs);
    }

    void inclusaoAplicadaEVistaPorOutraEstacao() {
        Capsulas c(con_.get());
        std::vector<std::string> eventos;
        auto anota = [&](const char* e) { return [&eventos, e](ClientDataSet&) { eventos.push_back(e); }; };
        c.cds.BeforeInsert = anota("BeforeInsert");
        c.cds.AfterInsert = anota("AfterInsert");
        c.cds.BeforePost = anota("BeforePost");
        c.cds.AfterPost = anota("AfterPost");
        c.cds.open();
        c.cds.append();
        QCOMPARE(c.cds.state(), Estado::Inserindo);
        c.cds.fieldByName("CODIGO").defineValor(txt("000010"));
        c.cds.fieldByName("COMPONENTE").defineValor(std::string(80, 'x'));  // 70 wide
        c.cds.fieldByName("GRUPO").defineValor(txt("CAP"));
        c.cds.fieldByName("UNID").defineValor(txt("unidade"));  // 4 wide
        c.cds.fieldByName("CUSTOUNITR").defineTexto("0,123456785");  // 8 places
        c.cds.fieldByName("ESTOQUECRITICO").defineReal(2.5);
        c.cds.post();
        QCOMPARE(eventos, (std::vector<std::string>{"BeforeInsert", "AfterInsert", "BeforePost", "AfterPost"}));
        QCOMPARE(c.cds.changeCount(), 1);
        QCOMPARE(linhasNoBanco(), 4);  // nothing sent before the apply

        const ResultadoAplicacao r = c.cds.applyUpdates(0);
        QCOMPARE(r.aplicadas, 1);
        QVERIFY(r.recusas.empty() && !r.desfeita);
        QCOMPARE(c.cds.changeCount(), 0);
        QCOMPARE(noBanco("COMPONENTE", "000010"), Valor(std::string(70, 'x')));
        QCOMPARE(noBanco("UNID", "000010"), txt("unid"));
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000010")) == dec("0.12345679"));
        QCOMPARE(noBanco("ESTOQUECRITICO", "000010"), Valor(2.5));
        QVERIFY(nulo(noBanco("PRECOR", "000010")));
    }

    void campoObrigatorioRecusadoNoPost() {
        Capsulas c(con_.get());
        c.cds.open();
        std::string erroVisto;
        c.cds.OnPostError = [&](ClientDataSet&, const std::exception& e, AcaoErroPost&) { erroVisto = e.what(); };
        c.cds.append();
        c.cds.fieldByName("COMPONENTE").defineTexto("Sem codigo");
        QVERIFY_THROWS_EXCEPTION(plataforma::Erro, c.cds.post());
        QCOMPARE(erroVisto, std::string("O campo 'CODIGO' precisa de um valor."));
        QCOMPARE(c.cds.state(), Estado::Inserindo);  // still there to be completed
        QCOMPARE(c.cds.changeCount(), 0);

        // Abort: silent, nothing stored either.
        c.cds.OnPostError = [](ClientDataSet&, const std::exception&, AcaoErroPost& a) { a = AcaoErroPost::Abortar; };
        QVERIFY_THROWS_EXCEPTION(plataforma::Abortado, c.cds.post());
        c.cds.remove();  // a delete while inserting drops the new row
        QCOMPARE(c.cds.state(), Estado::Navegando);
        QCOMPARE(c.cds.recordCount(), 3);
        QCOMPARE(c.cds.changeCount(), 0);
    }

    void cancelaDevolveOsValores() {
        Capsulas c(con_.get());
        c.cds.open();
        c.cds.moveTo(2);
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("7");
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("7"));
        c.cds.cancel();
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("1,5"));
        c.cds.append();
        c.cds.cancel();  // back on the row that was current
        QCOMPARE(c.cds.recNo(), 2);
        QCOMPARE(c.cds.recordCount(), 3);
        QCOMPARE(c.cds.changeCount(), 0);
        // A value assigned outside edit or insert is refused.
        QVERIFY_THROWS_EXCEPTION(plataforma::Erro, c.cds.fieldByName("FAMILIA").defineTexto("X"));
        QVERIFY_THROWS_EXCEPTION(plataforma::Erro, [&] {
            c.cds.edit();
            c.cds.fieldByName("CUSTOUNITR").defineTexto("12.34,5");  // a point that groups nothing
        }());
        c.cds.cancel();
    }

    void alteracaoPorChaveGravaSoOQueMudouAqui() {
        Capsulas c(con_.get());
        c.cds.open();
        QVERIFY(c.cds.locate("CODIGO", txt("000002")));
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("3,75");
        c.cds.post();
        // Meanwhile another workstation changes another column of the same row.
        outra_->executa("update COMPONEN set FAMILIA = 'Outra' where CODIGO = '000002'");
        const ResultadoAplicacao r = c.cds.applyUpdates(0);
        QCOMPARE(r.aplicadas, 1);
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000002")) == dec("3.75"));
        QCOMPARE(noBanco("FAMILIA", "000002"), txt("Outra"));
    }

    void todasColunasRecusaLinhaMudadaPorOutro() {
        Capsulas c(con_.get(), ModoAtualizacao::TodasColunas);
        c.cds.open();
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("5");
        c.cds.post();
        outra_->executa("update COMPONEN set FAMILIA = 'Outra' where CODIGO = '000001'");
        ResultadoAplicacao r = c.cds.applyUpdates(0);
        QVERIFY(r.desfeita);
        QCOMPARE(r.recusas.size(), std::size_t(1));
        QCOMPARE(r.recusas[0].mensagem, std::string("Registro n\xE3o encontrado ou alterado por outro usu\xE1rio."));
        QCOMPARE(c.cds.changeCount(), 1);  // still pending
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000001")) == dec("0.25"));

        // Unchanged row: all its old values match, the update goes through.
        c.cds.moveTo(3);
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("6");
        c.cds.post();
        r = c.cds.applyUpdates(-1);
        QCOMPARE(r.aplicadas, 1);
        QCOMPARE(r.recusas.size(), std::size_t(1));
        QVERIFY(!r.desfeita);
        QCOMPARE(c.cds.changeCount(), 1);
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000003")) == dec("6"));
    }

    void exclusaoAplicada() {
        Capsulas c(con_.get());
        c.cds.open();
        QVERIFY(c.cds.locate("CODIGO", txt("000003")));
        c.cds.remove();
        QCOMPARE(c.cds.recordCount(), 2);
        QCOMPARE(c.cds.recNo(), 2);
        QCOMPARE(c.cds.changeCount(), 1);
        QCOMPARE(c.cds.applyUpdates(0).aplicadas, 1);
        QVERIFY(nulo(noBanco("CODIGO", "000003")));
        QCOMPARE(c.cds.changeCount(), 0);
    }

    void recusaComToleranciaZeroDesfazTudo() {
        Capsulas c(con_.get());
        c.cds.open();
        for (const char* codigo : {"000020", "000001"}) {  // the second code is taken
            c.cds.append();
            c.cds.fieldByName("CODIGO").defineTexto(codigo);
            c.cds.fieldByName("GRUPO").defineTexto("CAP");
            c.cds.post();
        }
        ResultadoAplicacao r = c.cds.applyUpdates(0);
        QVERIFY(r.desfeita);
        QCOMPARE(r.aplicadas, 0);
        QCOMPARE(r.recusas.size(), std::size_t(1));
        QVERIFY(r.recusas[0].violacaoChave);
        QCOMPARE(r.recusas[0].tipo, TipoAlteracao::Inclusao);
        QCOMPARE(r.recusas[0].valores[0], txt("000001"));
        QVERIFY(nulo(noBanco("CODIGO", "000020")));  // the good row was rolled back too
        QCOMPARE(c.cds.changeCount(), 2);

        // Allowing one refusal: the good row is stored, the refused one stays pending.
        r = c.cds.applyUpdates(1);
        QVERIFY(!r.desfeita);
        QCOMPARE(r.aplicadas, 1);
        QCOMPARE(noBanco("CODIGO", "000020"), txt("000020"));
        QCOMPARE(c.cds.changeCount(), 1);
    }

    void refreshMantemRegistroAtualEPendencias() {
        Capsulas c(con_.get());
        c.cds.open();
        // Pending here: an edit of 000001, a new 000030, a delete of 000003.
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("4");
        c.cds.post();
        c.cds.append();
        c.cds.fieldByName("CODIGO").defineTexto("000030");
        c.cds.fieldByName("COMPONENTE").defineTexto("Capsula 5 nova");
        c.cds.post();
        QVERIFY(c.cds.locate("CODIGO", txt("000003")));
        c.cds.remove();
        QVERIFY(c.cds.locate("CODIGO", txt("000002")));
        QCOMPARE(c.cds.recNo(), 2);
        // Another workstation adds a capsule that sorts first and changes 000001.
        outra_->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values ('000040', 'Aaa', 'CAP')");
        outra_->executa("update COMPONEN set FAMILIA = 'Outra' where CODIGO = '000001'");

        c.cds.refresh();
        QCOMPARE(codigoAtual(c.cds), std::string("000002"));  // same row, now third
        QCOMPARE(c.cds.recNo(), 3);
        QCOMPARE(c.cds.recordCount(), 4);  // 000040, 000001, 000002, 000030
        QCOMPARE(c.cds.changeCount(), 3);
        QVERIFY(!c.cds.locate("CODIGO", txt("000003")));
        QVERIFY(c.cds.locate("CODIGO", txt("000001")));
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("4"));  // ours
        QCOMPARE(c.cds.fieldByName("FAMILIA").comoTexto(), std::string("Outra"));  // theirs
        QCOMPARE(c.cds.alteracaoPendente(c.cds.recNo() - 1), std::optional(TipoAlteracao::Alteracao));

        QCOMPARE(c.cds.applyUpdates(0).aplicadas, 3);
        QCOMPARE(noBanco("FAMILIA", "000001"), txt("Outra"));
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000001")) == dec("4"));
        QCOMPARE(noBanco("CODIGO", "000030"), txt("000030"));
        QVERIFY(nulo(noBanco("CODIGO", "000003")));
    }

    void locateExato() {
        Capsulas c(con_.get());
        c.cds.open();
        c.cds.moveTo(3);
        QVERIFY(!c.cds.locate("COMPONENTE", txt("capsula 0 azul")));  // text byte for byte
        QCOMPARE(c.cds.recNo(), 3);  // position kept
        QVERIFY(c.cds.locate("componente", txt("Capsula 0 azul")));
        QCOMPARE(c.cds.recNo(), 1);
        QVERIFY(c.cds.locate("CUSTOUNITR", Decimal{15, 1}));  // decimals by value
        QCOMPARE(codigoAtual(c.cds), std::string("000002"));
    }

    void camposSeguemOComandoComParametros() {
        SQLDataSet sqlds{"SQLDataSet1", con_.get(), {}, {}};
        Provider dsp("DSP_SQLDataSet1", &sqlds, "");
        ClientDataSet cds("CDS_SQLDataSet1", &dsp);
        cds.defineComando("select CODIGO, CUSTOUNITR as \"Custo R$\", TEMPOMANIP from COMPONEN "
                          "where GRUPO = ? order by CODIGO",
                          {txt("CAP")});
        QCOMPARE(cds.recordCount(), 3);
        QCOMPARE(cds.campos().size(), std::size_t(3));
        const Campo& custo = cds.fieldByName("Custo R$");
        QCOMPARE(custo.tipo(), TipoCampo::Decimal);
        QCOMPARE(custo.def().escala, 8);
        QCOMPARE(cds.fieldByName("TEMPOMANIP").tipo(), TipoCampo::Inteiro);
        QCOMPARE(custo.comoTexto(), std::string("0,25"));
        cds.defineComando("select CODIGO from COMPONEN where GRUPO = ?", {txt("MP")});
        QCOMPARE(cds.recordCount(), 1);
        QCOMPARE(cds.campos().size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TstDataset)
#include "tst_dataset.moc"
