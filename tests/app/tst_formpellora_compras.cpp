// The last purchases panel of the current capsule. (Which purchases the
// statement lists is tried against the server in tst_formpellora.)
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "platform/text.h"
#include "support/fuso.h"
#include "support/janela.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using janelateste::Janela;
using namespace plataforma::literais;

namespace {

// Makes the capsule of that description the current one and opens the panel.
void abreCompras(Janela& j, const std::string& descricao) {
    QVERIFY(j.dm->Componentes.locate("COMPONENTE", descricao));
    QTest::mouseClick(j.form->BitBtnUltimaCompra, Qt::LeftButton);
    QVERIFY(j.mensagens.textos.empty());
    QVERIFY(j.form->pnl_UltimaCompra->isVisible());
}

std::vector<std::string> coluna(Janela& j, int c) {
    std::vector<std::string> v;
    for (int r = 0; r < j.dm->CDS_SQLDataSet1.recordCount(); ++r) v.push_back(j.form->DBGridUltimaCompra->textoCelula(r, c));
    return v;
}

}  // namespace

class TestFormPelloraCompras : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        fusoteste::saoPaulo();
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        EXIGE_CLIENTE();
    }

    void tresComprasDaMaisNova() {
        Janela j;
        auto& f = *j.form;
        abreCompras(j, "Capsula 0 azul");
        QCOMPARE(f.pnl_UltimaCompra->geometry(), QRect(252, 105, 525, 375));
        QCOMPARE(f.DBGridUltimaCompra->geometry(), QRect(3, 27, 520, 296));
        QCOMPARE(f.BitBtnOcultarUltCompra->geometry(), QRect(354, 341, 167, 30));

        QCOMPARE(coluna(j, 2), (std::vector<std::string>{"Capsulas Aurora", "Gelatinas Serra Azul", "CAPSULAS AURORA"}));
        QCOMPARE(coluna(j, 1), (std::vector<std::string>{"004977", "011873", "004521"}));
        QCOMPARE(coluna(j, 7), (std::vector<std::string>{"0.03", "0.03", "0.02"}));
        QCOMPARE(coluna(j, 8), (std::vector<std::string>{"1048.00", "518.00", "1240.00"}));
        QCOMPARE(f.lblFornecUltimaCompra->text(), QStringLiteral("Fornecedor: Capsulas Aurora"));
        QCOMPARE(f.lblTelUltimaCompra->text(), QStringLiteral("Telefone....: (15) 5555-0140"));

        // Nothing opens over the panel: only "&Fechar" stays on.
        QVERIFY(!f.botgradecomp->isEnabled());
        QVERIFY(!f.BitBtnUltimaCompra->isEnabled());
        QVERIFY(!f.BotPesqcomp->isEnabled());
        QVERIFY(f.BotFecharComp->isEnabled());

        const auto& colunas = f.DBGridUltimaCompra->colunas();
        QCOMPARE(colunas.size(), std::size_t(9));
        QStringList titulos;
        for (const auto& c : colunas) titulos << QString::fromStdString(c.titulo);
        QCOMPARE(titulos, QStringList({"Local", "Nota Fiscal", "Fornecedor", "TEL", "Data", "Qde", "Unid",
                                       "Preco Unit", "Total"}));
        const int larguras[] = {70, 60, 80, -1, 60, 60, 30, 60, 60};
        for (int i = 0; i < 9; ++i)
            if (i != 3) QCOMPARE(f.DBGridUltimaCompra->columnWidth(i), larguras[i]);
        QVERIFY(f.DBGridUltimaCompra->isColumnHidden(3));
        for (int i : {6, 7, 8}) {
            const auto a = f.DBGridUltimaCompra->model()->index(0, i).data(Qt::TextAlignmentRole).toInt();
            QVERIFY(a & Qt::AlignRight);
        }

        widgets::CoresCelula par, parSelecionada, impar;
        f.DBGridUltimaCompra->OnDrawColumnCell(2, 1, false, par);
        f.DBGridUltimaCompra->OnDrawColumnCell(2, 1, true, parSelecionada);
        f.DBGridUltimaCompra->OnDrawColumnCell(3, 1, false, impar);
        QCOMPARE(par.fundo, QColor(212, 212, 212));
        QVERIFY(!parSelecionada.fundo.isValid());
        QVERIFY(!impar.fundo.isValid());

        QTest::mouseClick(f.BitBtnOcultarUltCompra, Qt::LeftButton);
        QVERIFY(!f.pnl_UltimaCompra->isVisible());
        QVERIFY(!j.dm->CDS_SQLDataSet1.active());
        QVERIFY(f.botgradecomp->isEnabled());
        QVERIFY(f.BitBtnUltimaCompra->isEnabled());
        QCOMPARE(f.BitBtnUltimaCompra->text(), QString::fromUtf8("\u00daltima Compra"));
    }

    void semComprasPainelVazio() {
        Janela j;
        auto& f = *j.form;
        abreCompras(j, "Capsula 5 incolor");
        QCOMPARE(j.dm->CDS_SQLDataSet1.recordCount(), 0);
        QCOMPARE(f.lblFornecUltimaCompra->text(), QStringLiteral("Fornecedor: "));
        QCOMPARE(f.lblTelUltimaCompra->text(), QStringLiteral("Telefone....: "));
    }

    void precoDeVendaNoPainelComAGuardaFinanceira() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = false;
        abreCompras(j, "Capsula 0 azul");
        QVERIFY(f.DBEdit4->isVisible());
        QVERIFY(f.DBEdit4->isEnabled());
        QCOMPARE(f.DBEdit4->text(), f.DBEdit8->text());
        // It sits clear of the panel's other controls.
        for (QWidget* w : std::initializer_list<QWidget*>{f.DBGridUltimaCompra, f.BitBtnOcultarUltCompra,
                                                          f.PanelTituloUltCompra, f.lblFornecUltimaCompra,
                                                          f.lblTelUltimaCompra})
            for (QWidget* meu : std::initializer_list<QWidget*>{f.DBEdit4, f.Label4})
                QVERIFY2(!meu->geometry().intersects(w->geometry()), qPrintable(w->objectName()));

        QTest::mouseClick(f.DBEdit4, Qt::LeftButton);
        QCOMPARE(j.mensagens.ultima(), std::string("Acesso negado. Você precisar ter permissão de acesso ao "_w
                                                   "módulo financeiro para acessar este campo."_w));
        // While browsing the unit box is locked, so the price cannot hand the
        // focus on to it; what the user types next must not reach the price.
        const QString preco = f.DBEdit4->text();
        QWidget* foco = QApplication::focusWidget();
        QVERIFY(foco != f.DBEdit4);
        QTest::keyClicks(foco ? foco : &f, "9");
        QCOMPARE(f.DBEdit4->text(), preco);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);

        // With the right, what is typed there edits it exactly: over the
        // selection, every key in that editor, stored with the post.
        AcessoFinanceiro = true;
        const std::string codigo = j.dm->ComponentesCODIGO->comoTexto();
        QTest::mouseClick(f.DBEdit4, Qt::LeftButton);
        QCOMPARE(j.foco(), f.DBEdit4);
        QTest::keyClick(f.DBEdit4, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.DBEdit4, "12");
        QCOMPARE(f.DBEdit4->text(), QStringLiteral("12"));
        QCOMPARE(j.foco(), f.DBEdit4);
        QTest::mouseClick(f.BitBtnOcultarUltCompra, Qt::LeftButton);
        QTest::keyClick(j.foco(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(j.mensagens.textos.size() == 1, j.mensagens.ultima().c_str());
        QCOMPARE(std::get<regras::Decimal>(j.gravado(codigo, "PRECOR")).comoTexto(),
                 std::string("12.00000000"));
    }
};

QTEST_MAIN(TestFormPelloraCompras)
#include "tst_formpellora_compras.moc"
