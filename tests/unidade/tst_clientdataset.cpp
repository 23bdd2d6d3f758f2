// The client dataset's own logic over a table held in memory, no server:
// states and moves, the change log and its apply with refusals and allowance,
// refresh over pending changes, locate, and values kept whole in packed rows.
#include "data/provedormemoria.h"
#include "platform/program.h"
#include "platform/text.h"

#include <QLocale>
#include <QtTest>

using namespace dados;
using namespace plataforma::literais;

namespace {

Decimal dec(const char* t) { return *Decimal::deTexto(t, '.', 8); }
Valor txt(const char* t) { return std::string(t); }

const std::vector<DefCampo>& campos() {
    static const std::vector<DefCampo> c = {
        {"CODIGO", TipoCampo::Texto, 6, 0, true, true, {}},
        {"COMPONENTE", TipoCampo::Texto, 20, 0, false, false, {}},
        {"CUSTOUNITR", TipoCampo::Decimal, 15, 8, false, false, "#,##0.0000"},
        {"FAMILIA", TipoCampo::Texto, 10, 0, false, false, {}},
        {"ESTOQUE", TipoCampo::Real, 0, 0, false, false, {}},
        {"VALIDADE", TipoCampo::DataHora, 0, 0, false, false, {}},
        {"FICHA", TipoCampo::Blob, 0, 0, false, false, {}},
        {"TEMPO", TipoCampo::Inteiro, 0, 0, false, false, {}},
    };
    return c;
}

struct Capsulas {
    Capsulas() : dsp("DSP_Componen", campos()), cds("Componentes", &dsp) {
        cds.defineCampos(campos());
        for (auto [codigo, descricao, custo] : {std::tuple{"000001", "Capsula 0 azul", "0.25"},
                                                std::tuple{"000002", "Capsula 1 branca", "1.5"},
                                                std::tuple{"000003", "Capsula 2 verde", "2"}})
            poe(codigo, descricao, custo);
    }
    // A row stored by another workstation.
    void poe(const char* codigo, const char* descricao, const char* custo, std::size_t onde = SIZE_MAX) {
        std::vector<Valor> l{txt(codigo), txt(descricao), dec(custo), txt("F"), {}, {}, {}, {}};
        auto& linhas = dsp.tabela.linhas;
        linhas.insert(linhas.begin() + static_cast<std::ptrdiff_t>(std::min(onde, linhas.size())), std::move(l));
    }
    // A column of the stored row with this code; null when there is none.
    Valor noBanco(const char* coluna, const char* codigo) const {
        for (const auto& l : dsp.tabela.linhas)
            if (l[0] == txt(codigo)) return l[static_cast<std::size_t>(dsp.tabela.indice(coluna))];
        return {};
    }
    void altera(const char* campo, const char* texto) {
        cds.edit();
        cds.fieldByName(campo).defineTexto(texto);
        cds.post();
    }
    ProvedorMemoria dsp;
    ClientDataSet cds;
};

std::string codigoAtual(const ClientDataSet& ds) { return std::get<std::string>(ds.fieldByName("CODIGO").valor()); }

}  // namespace

class TstClientDataSet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

    void abreNavegaEFormata() {
        Capsulas c;
        int rolagens = 0;
        c.cds.AfterScroll = [&](ClientDataSet&) { ++rolagens; };
        c.cds.open();
        QCOMPARE(c.cds.state(), Estado::Navegando);
        QCOMPARE(c.cds.recordCount(), 3);
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

        // Fields by name in any case; display mask and plain text.
        QCOMPARE(c.cds.campo("CustoUnitR"), c.cds.campo("CUSTOUNITR"));
        QVERIFY(!c.cds.campo("NAOEXISTE"));
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").textoExibicao(), std::string("1,5000"));
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("1,5"));
        QCOMPARE(c.cds.fieldByName("ESTOQUE").textoExibicao(), std::string());

        c.cds.close();
        QCOMPARE(c.cds.state(), Estado::Fechado);
        QCOMPARE(c.cds.recNo(), 0);
        QVERIFY(c.cds.fieldByName("CODIGO").nulo());
    }

    void incluiCancelaEExigeObrigatorios() {
        Capsulas c;
        std::vector<std::string> eventos;
        auto anota = [&](const char* e) { return [&eventos, e](ClientDataSet&) { eventos.push_back(e); }; };
        c.cds.BeforeInsert = anota("BeforeInsert");
        c.cds.AfterInsert = anota("AfterInsert");
        c.cds.BeforePost = anota("BeforePost");
        c.cds.AfterPost = anota("AfterPost");
        c.cds.open();
        c.cds.moveTo(2);
        c.cds.append();
        QCOMPARE(c.cds.state(), Estado::Inserindo);
        QCOMPARE(c.cds.recordCount(), 4);
        c.cds.fieldByName("CODIGO").defineTexto("000010");
        c.cds.fieldByName("COMPONENTE").defineValor(std::string(30, 'x'));  // 20 wide
        c.cds.fieldByName("CUSTOUNITR").defineTexto("0,123456785");        // 8 places
        c.cds.post();
        QCOMPARE(eventos, (std::vector<std::string>{"BeforeInsert", "AfterInsert", "BeforePost", "AfterPost"}));
        QCOMPARE(c.cds.changeCount(), 1);
        QCOMPARE(c.cds.alteracaoPendente(3), std::optional(TipoAlteracao::Inclusao));
        QVERIFY(nulo(c.noBanco("CODIGO", "000010")));  // nothing sent before the apply
        QCOMPARE(c.cds.applyUpdates(0).aplicadas, 1);
        QCOMPARE(c.cds.changeCount(), 0);
        QCOMPARE(c.noBanco("COMPONENTE", "000010"), Valor(std::string(20, 'x')));
        QVERIFY(std::get<Decimal>(c.noBanco("CUSTOUNITR", "000010")) == dec("0.12345679"));

        // A required field left empty: refused, still inserting; abort is silent.
        std::string erroVisto;
        c.cds.OnPostError = [&](ClientDataSet&, const std::exception& e, AcaoErroPost&) { erroVisto = e.what(); };
        c.cds.append();
        c.cds.fieldByName("COMPONENTE").defineTexto("Sem codigo");
        QVERIFY_THROWS_EXCEPTION(plataforma::Erro, c.cds.post());
        QCOMPARE(erroVisto, std::string("O campo 'CODIGO' precisa de um valor."));
        QCOMPARE(c.cds.state(), Estado::Inserindo);
        c.cds.OnPostError = [](ClientDataSet&, const std::exception&, AcaoErroPost& a) { a = AcaoErroPost::Abortar; };
        QVERIFY_THROWS_EXCEPTION(plataforma::Abortado, c.cds.post());
        c.cds.remove();  // a delete while inserting drops the new row
        QCOMPARE(c.cds.state(), Estado::Navegando);
        QCOMPARE(c.cds.recordCount(), 4);
        QCOMPARE(c.cds.changeCount(), 0);

        // Cancel gives back the values; after an insert, the row that was current.
        c.cds.moveTo(2);
        c.cds.edit();
        c.cds.fieldByName("CUSTOUNITR").defineTexto("7");
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("7"));
        c.cds.cancel();
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("1,5"));
        c.cds.insert();
        QCOMPARE(c.cds.recNo(), 2);
        c.cds.cancel();
        QCOMPARE(c.cds.recNo(), 2);
        QCOMPARE(codigoAtual(c.cds), std::string("000002"));
        QCOMPARE(c.cds.changeCount(), 0);
        // A value assigned outside edit or insert is refused, and so is a number misread.
        QVERIFY_THROWS_EXCEPTION(plataforma::Erro, c.cds.fieldByName("FAMILIA").defineTexto("X"));
        c.cds.edit();
        QVERIFY_THROWS_EXCEPTION(plataforma::Erro, c.cds.fieldByName("CUSTOUNITR").defineTexto("12.34,5"));
        c.cds.cancel();
    }

    void aplicaComRecusasETolerancia() {
        Capsulas c;
        c.cds.open();
        for (const char* codigo : {"000020", "000001"}) {  // the second code is taken
            c.cds.append();
            c.cds.fieldByName("CODIGO").defineTexto(codigo);
            c.cds.post();
        }
        ResultadoAplicacao r = c.cds.applyUpdates(0);
        QVERIFY(r.desfeita);
        QCOMPARE(r.aplicadas, 0);
        QCOMPARE(r.recusas.size(), std::size_t(1));
        QVERIFY(r.recusas[0].violacaoChave);
        QCOMPARE(r.recusas[0].tipo, TipoAlteracao::Inclusao);
        QCOMPARE(r.recusas[0].valores[0], txt("000001"));
        QCOMPARE(r.recusas[0].linha, 4);
        QVERIFY(nulo(c.noBanco("CODIGO", "000020")));  // the good row was rolled back too
        QCOMPARE(c.cds.changeCount(), 2);

        // Allowing one refusal: the good row is stored, the refused one stays pending.
        r = c.cds.applyUpdates(1);
        QVERIFY(!r.desfeita);
        QCOMPARE(r.aplicadas, 1);
        QCOMPARE(c.noBanco("CODIGO", "000020"), txt("000020"));
        QCOMPARE(c.cds.changeCount(), 1);
        c.cds.descartaAlteracao(4);
        QCOMPARE(c.cds.recordCount(), 4);
        QCOMPARE(c.cds.changeCount(), 0);

        // Another workstation deletes 000001 and 000002, and changes 000003. Here
        // 000001 is deleted too (done already), 000002 and 000003 are changed.
        c.cds.first();
        c.altera("CUSTOUNITR", "3");
        c.cds.next();
        c.altera("CUSTOUNITR", "4");
        c.cds.next();
        c.altera("CUSTOUNITR", "5");
        c.cds.first();
        c.cds.remove();
        c.dsp.tabela.linhas.erase(c.dsp.tabela.linhas.begin(), c.dsp.tabela.linhas.begin() + 2);
        c.dsp.tabela.linhas[0][3] = txt("Outra");
        r = c.cds.applyUpdates(-1);
        QCOMPARE(r.aplicadas, 2);  // the delete and, by key alone, 000003
        QCOMPARE(r.recusas.size(), std::size_t(1));
        QCOMPARE(r.recusas[0].mensagem, std::string("Registro não encontrado ou alterado por outro usuário."_w));
        QVERIFY(r.recusas[0].inexistente);
        QCOMPARE(r.recusas[0].valores[0], txt("000002"));
        QVERIFY(std::get<Decimal>(c.noBanco("CUSTOUNITR", "000003")) == dec("5"));
    }

    void refreshMantemRegistroAtualEPendencias() {
        Capsulas c;
        c.cds.open();
        // Pending here: an edit of 000001, a new 000030, a delete of 000003.
        c.altera("CUSTOUNITR", "4");
        c.cds.append();
        c.cds.fieldByName("CODIGO").defineTexto("000030");
        c.cds.post();
        QVERIFY(c.cds.locate("CODIGO", txt("000003")));
        c.cds.remove();
        QVERIFY(c.cds.locate("CODIGO", txt("000002")));
        QCOMPARE(c.cds.recNo(), 2);
        // Another workstation adds a capsule that reads first and changes 000001.
        c.poe("000040", "Aaa", "1", 0);
        c.dsp.tabela.linhas[1][3] = txt("Outra");

        c.cds.refresh();
        QCOMPARE(codigoAtual(c.cds), std::string("000002"));  // same row, now third
        QCOMPARE(c.cds.recNo(), 3);
        QCOMPARE(c.cds.recordCount(), 4);  // 000040, 000001, 000002, 000030
        QCOMPARE(c.cds.changeCount(), 3);
        QVERIFY(!c.cds.locate("CODIGO", txt("000003")));
        QVERIFY(c.cds.locate("CODIGO", txt("000001")));
        QCOMPARE(c.cds.fieldByName("CUSTOUNITR").comoTexto(), std::string("4"));   // ours
        QCOMPARE(c.cds.fieldByName("FAMILIA").comoTexto(), std::string("Outra"));  // theirs
        QCOMPARE(c.cds.alteracaoPendente(c.cds.recNo() - 1), std::optional(TipoAlteracao::Alteracao));

        // A pending current row is found again by itself.
        c.cds.last();
        c.cds.refresh();
        QCOMPARE(codigoAtual(c.cds), std::string("000030"));

        QCOMPARE(c.cds.applyUpdates(0).aplicadas, 3);
        QCOMPARE(c.noBanco("FAMILIA", "000001"), txt("Outra"));
        QVERIFY(std::get<Decimal>(c.noBanco("CUSTOUNITR", "000001")) == dec("4"));
        QCOMPARE(c.noBanco("CODIGO", "000030"), txt("000030"));
        QVERIFY(nulo(c.noBanco("CODIGO", "000003")));
    }

    void locateExato() {
        Capsulas c;
        c.cds.open();
        c.cds.moveTo(3);
        QVERIFY(!c.cds.locate("COMPONENTE", txt("capsula 0 azul")));  // text byte for byte
        QCOMPARE(c.cds.recNo(), 3);  // position kept
        QVERIFY(c.cds.locate("componente", txt("Capsula 0 azul")));
        QCOMPARE(c.cds.recNo(), 1);
        QVERIFY(c.cds.locate("CUSTOUNITR", Decimal{15, 1}));  // decimals by value
        QCOMPARE(codigoAtual(c.cds), std::string("000002"));
    }

    // Rows are held packed: every kind of value comes back as it went in.
    void valoresVoltamComoForam() {
        Capsulas c;
        const std::vector<Valor> linha{txt("000009"),     std::string("a\0b", 3),
                                       Decimal{-7, 2},    txt(""),
                                       -0.5,              dataHora(QDate(1900, 1, 1), QTime(23, 59, 59, 999)),
                                       Blob{std::string(200, '\xFF')}, std::int64_t{1} << 40};
        c.dsp.tabela.linhas = {linha};
        c.cds.open();
        QCOMPARE(c.cds.linha(0), linha);
        QCOMPARE(std::get<Decimal>(c.cds.valorEm(0, 2)).escala, 2);  // not the field's scale
        QCOMPARE(c.cds.fieldByName("TEMPO").valor(), linha[7]);
        c.cds.edit();
        c.cds.fieldByName("TEMPO").defineValor(std::int32_t{-3});
        c.cds.fieldByName("FICHA").limpa();
        c.cds.post();
        QCOMPARE(c.cds.fieldByName("TEMPO").valor(), Valor(std::int32_t{-3}));
        QVERIFY(c.cds.fieldByName("FICHA").nulo());
        QCOMPARE(c.cds.fieldByName("VALIDADE").valor(), linha[5]);
    }
};

QTEST_GUILESS_MAIN(TstClientDataSet)
#include "tst_clientdataset.moc"
