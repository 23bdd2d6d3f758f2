// The capsule form's field table against the catalogue: a row that names a
// column the dataset lacks, repeats a control or leaves a gap in the table's
// columns compiles, and would only show at run time.
#include "app/campos.h"
#include "data/catalogo.h"

#include <QtTest>

#include <set>
#include <string>

class TstCampos : public QObject {
    Q_OBJECT
private slots:
    void linhasCoerentesComOCatalogo() {
        std::set<std::string> controles, colunas;
        std::set<int> posicoes;
        int naTabela = 0;
        for (const aplicacao::CampoFormulario& c : aplicacao::camposFormulario()) {
            QVERIFY2(controles.insert(c.controle).second, c.controle);
            QVERIFY2(colunas.insert(c.coluna).second, c.coluna);
            bool existe = false;
            for (const auto& d : dados::camposComponen()) existe = existe || d.nome == c.coluna;
            QVERIFY2(existe, c.coluna);
            QVERIFY2(c.assunto && *c.assunto, c.controle);
            QVERIFY2(c.menuDeContexto, c.controle);
            // An input of the price is written and checked by its exit rule before a post.
            QVERIFY2(!c.entraNoPreco || c.saida, c.controle);
            QVERIFY2(c.geometria.isValid(), c.controle);
            QCOMPARE(aplicacao::campoFormulario(c.controle), &c);
            if (c.tabela.posicao >= 0) {
                ++naTabela;
                QVERIFY2(posicoes.insert(c.tabela.posicao).second, c.controle);
                QVERIFY2(c.tabela.titulo && c.tabela.largura > 0, c.controle);
            }
        }
        // The capsule table's columns follow one another from the first.
        QVERIFY(!posicoes.empty());
        QCOMPARE(*posicoes.rbegin(), naTabela - 1);
        QCOMPARE(aplicacao::campoFormulario("Label357"), nullptr);
    }
};

QTEST_MAIN(TstCampos)
#include "tst_campos.moc"
