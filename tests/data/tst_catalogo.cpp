// Statements of the catalogue against the database server: the description
// search finds what the LIKE literal of the same text finds, wildcards and
// all, and the support check tells which recommended indexes a database has.
#include "data/catalogo.h"
#include "data/indices.h"
#include "platform/text.h"
#include "support/dbtest.h"

#include <QTest>

using namespace dados;
using namespace plataforma::literais;

namespace {

std::vector<std::string> codigos(const fb::Resultado& r) {
    std::vector<std::string> c;
    for (const auto& l : r.linhas) c.push_back(std::get<std::string>(l[0]));
    return c;
}

// The search as the statement with the text between the quotes of its LIKE
// literal: quotes doubled, '%' and '_' wildcards.
std::string sqlLiteral(const std::string& texto) {
    std::string padrao;
    for (char c : texto) {
        padrao += c;
        if (c == '\'') padrao += c;
    }
    return "select CODIGO, COMPONENTE, GRUPO, UNID from COMPONEN where COMPONENTE LIKE '" + padrao +
           "%' and GRUPO = 'CAP' order by COMPONENTE";
}

const std::string k70 = "Capsula " + std::string(62, 'x');

}  // namespace

class TestCatalogo : public QObject {
    Q_OBJECT

    std::unique_ptr<fb::Conexao> c_;

    void removeIndices() {
        for (const char* i : {"IX_TESTE_COMPRAS", "IX_TESTE_INVERTIDO", "IX_COMPONEN_GRUPO_COMPONENTE",
                              "IX_COMPRAS_UPPER_COMPONENTE", "IX_FORNECED_UPPER_NOMEFANTASIA"})
            if (!nulo(dbteste::valor(*c_, "select 1 from RDB$INDICES where RDB$INDEX_NAME = ?", {std::string(i)})))
                c_->executa(std::string("drop index ") + i);
    }

private slots:
    void initTestCase() {
        EXIGE_BANCO();
        c_ = dbteste::conectaSuite("Teste");
        dbteste::limpaSuite(*c_);
        int codigo = 0;
        for (const std::string d : {"Capsula 0", "Capsula 0 azul", "Capsula 0  ", "Capsula 00 branca",
                                    "capsula 0 verde", "Capsula 50% rosa", "Capsula 500 rosa", "Capsula a_b",
                                    "Capsula axb", "Capsula d'agua", "Capsula \\ barra", "Capsula è verde"_w,
                                    "Capsula e verde", k70.c_str()})
            c_->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values (?, ?, 'CAP')",
                        {std::to_string(++codigo), d});
        c_->executa("insert into COMPONEN (CODIGO, GRUPO) values ('90', 'CAP')");
        c_->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values ('91', 'Capsula 0 azul', 'MP')");
    }
    void cleanupTestCase() {
        if (!c_) return;
        removeIndices();
        dbteste::limpaSuite(*c_);
    }

    // The texts on which a bound prefix and the literal pattern could part.
    void pesquisaComoOLiteral_data() {
        QTest::addColumn<QByteArray>("texto");
        QTest::addColumn<int>("achadas");
        QTest::newRow("percent") << QByteArray("Capsula 50%") << 2;
        QTest::newRow("underscore") << QByteArray("Capsula a_") << 2;
        QTest::newRow("leading percent") << QByteArray("%verde") << 3;
        QTest::newRow("one-character size") << QByteArray("Capsula _ azul") << 1;
        QTest::newRow("wildcard, trailing blank") << QByteArray("Capsula _ ") << 5;
        QTest::newRow("quote") << QByteArray("Capsula d'") << 1;
        QTest::newRow("quote and wildcard") << QByteArray("%d'_g") << 1;
        QTest::newRow("backslash") << QByteArray("Capsula \\") << 1;
        QTest::newRow("prefix") << QByteArray("Capsula 0") << 4;
        QTest::newRow("one trailing blank") << QByteArray("Capsula 0 ") << 2;
        QTest::newRow("two trailing blanks") << QByteArray("Capsula 0  ") << 1;
        QTest::newRow("accented letter") << QByteArray("Capsula è"_w) << 1;
        QTest::newRow("empty") << QByteArray() << 14;
        QTest::newRow("70 characters") << QByteArray::fromStdString(k70) << 1;
        QTest::newRow("71 characters") << QByteArray::fromStdString(k70 + " ") << 0;
        QTest::newRow("70 with a wildcard") << QByteArray::fromStdString(k70.substr(0, 69) + "_") << 1;
        QTest::newRow("71 with wildcards") << QByteArray::fromStdString(k70 + "_") << 0;
        QTest::newRow("80 percent signs") << QByteArray(80, '%') << 14;
    }
    void pesquisaComoOLiteral() {
        QFETCH(QByteArray, texto);
        QFETCH(int, achadas);
        const std::string t = texto.toStdString();
        const auto esperadas = codigos(c_->consulta(sqlLiteral(t)));
        QCOMPARE(static_cast<int>(esperadas.size()), achadas);
        // As the window searches: no statement for a text no description can match.
        const auto pesquisa = pesquisaDescricao(t);
        const auto nossas =
            pesquisa ? codigos(c_->consulta(pesquisa->sql, pesquisa->parametros)) : std::vector<std::string>{};
        QCOMPARE(nossas, esperadas);
    }

    void indicesRecomendados() {
        const auto& recomendados = dados::indicesRecomendados();
        QCOMPARE(recomendados.size(), std::size_t{3});
        QCOMPARE(recomendados[0].colunas, (std::vector<std::string>{"GRUPO", "COMPONENTE"}));
        QCOMPARE(recomendados[1].tabela, std::string("COMPRAS"));

        // Another name, blanks and case count for nothing; the order of columns does.
        c_->executa("create index IX_TESTE_COMPRAS on COMPRAS computed by ( upper( componente ) )");
        c_->executa("create index IX_TESTE_INVERTIDO on COMPONEN (COMPONENTE, GRUPO)");
        auto conferidos = confereIndices(*c_);
        QCOMPARE(conferidos[0].existente, std::string());
        QCOMPARE(conferidos[1].existente, std::string("IX_TESTE_COMPRAS"));

        // The file itself runs, and then every index is there under its own name.
        removeIndices();
        dbteste::executaScript(*c_, dbteste::caminhoProjeto("db/indices.sql"));
        for (const auto& c : confereIndices(*c_)) QCOMPARE(c.existente, c.recomendado.nome);
        removeIndices();
    }
};

QTEST_MAIN(TestCatalogo)
#include "tst_catalogo.moc"
