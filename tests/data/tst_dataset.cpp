// The cached dataset chain against the test run's database server: what only
// the server shows (types, widths and scales stored, rows changed or deleted by
// another workstation, fields following a statement). The dataset's own logic
// is tried over a table in memory in tests/unidade.
#include "data/catalogo.h"
#include "data/dataset.h"
#include "platform/program.h"
#include "platform/text.h"
#include "support/dbtest.h"

#include <QLocale>
#include <QtTest>

using namespace dados;
using namespace plataforma::literais;

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

    void inclusaoAplicadaEVistaPorOutraEstacao() {
        Capsulas c(con_.get());
        c.cds.open();
        c.cds.append();
        c.cds.fieldByName("CODIGO").defineValor(txt("000010"));
        c.cds.fieldByName("COMPONENTE").defineValor(std::string(80, 'x'));  // 70 wide
        c.cds.fieldByName("GRUPO").defineValor(txt("CAP"));
        c.cds.fieldByName("UNID").defineValor(txt("unidade"));  // 4 wide
        c.cds.fieldByName("CUSTOUNITR").defineTexto("0,123456785");  // 8 places
        c.cds.fieldByName("ESTOQUECRITICO").defineValor(2.5);
        c.cds.post();
        const ResultadoAplicacao r = c.cds.applyUpdates(0);
        QCOMPARE(r.aplicadas, 1);
        QVERIFY(r.recusas.empty() && !r.desfeita);
        QCOMPARE(c.cds.changeCount(), 0);
        QCOMPARE(noBanco("COMPONENTE", "000010"), Valor(std::string(70, 'x')));
        QCOMPARE(noBanco("UNID", "000010"), txt("unid"));
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000010")) == dec("0.12345679"));
        QCOMPARE(noBanco("ESTOQUECRITICO", "000010"), Valor(2.5));
        QVERIFY(nulo(noBanco("PRECOR", "000010")));
        // Read back into the cache as stored.
        c.cds.refresh();
        QVERIFY(c.cds.locate("CODIGO", txt("000010")));
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("0,12345679"));
        QCOMPARE(c.cds.fieldByName("ESTOQUECRITICO").comoTexto(), std::string("2,5"));
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

    // All columns: a row another workstation changed is refused; one it deleted
    // is told apart by its key, and deleting it here counts as done.
    void todasColunasDistingueMudadaDeApagada() {
        Capsulas c(con_.get(), ModoAtualizacao::TodasColunas);
        c.cds.open();
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("5");
        c.cds.next();
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("6");
        c.cds.next();
        c.cds.remove();
        outra_->executa("update COMPONEN set FAMILIA = 'Outra' where CODIGO = '000001'");
        outra_->executa("delete from COMPONEN where CODIGO in ('000002', '000003')");
        const ResultadoAplicacao r = c.cds.applyUpdates(-1);
        QCOMPARE(r.aplicadas, 1);
        QCOMPARE(r.recusas.size(), std::size_t(2));
        QCOMPARE(r.recusas[0].mensagem, std::string("Registro não encontrado ou alterado por outro usuário."_w));
        QVERIFY(!r.recusas[0].inexistente);
        QVERIFY(r.recusas[1].inexistente);
        QVERIFY(std::get<Decimal>(noBanco("CUSTOUNITR", "000001")) == dec("0.25"));
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
