// Finding capsules in the window: the search box, the pick list and the table.
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "platform/text.h"
#include "support/janela.h"

#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>

using janelateste::digita;
using janelateste::Janela;
using namespace plataforma::literais;

namespace {

// Opens the search box, types the text over the previous one and presses Enter.
void pesquisa(Janela& j, const QString& texto) {
    auto& f = *j.form;
    QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
    f.NomeComponente->clear();
    digita(f.NomeComponente, texto);
    QTest::keyClick(f.NomeComponente, Qt::Key_Return);
}

std::string atual(Janela& j) { return j.dm->ComponentesCOMPONENTE->comoTexto(); }

void botoesLigados(Janela& j, bool ligados) {
    auto& f = *j.form;
    for (QPushButton* b : {f.BotFecharComp, f.botgradecomp, f.BotPesqcomp, f.BitBtnUltimaCompra})
        QVERIFY2(b->isEnabled() == ligados, qPrintable(b->objectName()));
}

}  // namespace

class TestFormPelloraPesquisa : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EXIGE_CLIENTE(); }

    void caixaAbreEFechaSemConsulta() {
        Janela j;
        auto& f = *j.form;
        QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
        QVERIFY(f.Panel9->isVisible());
        QCOMPARE(f.Panel9->geometry(), QRect(61, 94, 641, 98));
        botoesLigados(j, false);
        QCOMPARE(f.botaoCancelar(), nullptr);
        QCOMPARE(j.foco(), f.NomeComponente);

        // Enter on an empty box only closes it.
        QTest::keyClick(f.NomeComponente, Qt::Key_Return);
        QVERIFY(!f.Panel9->isVisible());
        botoesLigados(j, true);
        QCOMPARE(f.botaoCancelar(), f.BotFecharComp);
        QCOMPARE(j.foco(), f.BotPesqcomp);
        QVERIFY(!j.dm->CompNome.active());

        // Esc closes it too, and the form stays open; the text waits for next time.
        QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
        QTest::keyClicks(f.NomeComponente, "abc");
        QTest::keyClick(f.NomeComponente, Qt::Key_Escape);
        QVERIFY(!f.Panel9->isVisible());
        QVERIFY(f.isVisible());
        botoesLigados(j, true);
        QCOMPARE(f.botaoCancelar(), f.BotFecharComp);
        QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
        QCOMPARE(f.NomeComponente->text(), QStringLiteral("abc"));
        QVERIFY(j.mensagens.textos.empty());
    }

    void umaCapsulaVaiDireto() {
        Janela j;
        auto& f = *j.form;
        pesquisa(j, QStringLiteral("capsula 1 br"));
        QCOMPARE(f.NomeComponente->text(), QStringLiteral("Capsula 1 br"));
        QCOMPARE(atual(j), std::string("Capsula 1 branca"));
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 1 branca"));
        QVERIFY(!f.Panel9->isVisible());
        QVERIFY(!f.PainelPesqComp->isVisible());
        botoesLigados(j, true);
        QCOMPARE(j.foco(), f.BotPesqcomp);
        // Enter on the focused button opens the next search.
        QTest::keyClick(f.BotPesqcomp, Qt::Key_Return);
        QVERIFY(f.Panel9->isVisible());
        QCOMPARE(j.foco(), f.NomeComponente);
        QTest::keyClick(f.NomeComponente, Qt::Key_Escape);

        // Accents are searched without them.
        pesquisa(j, QString::fromUtf8("C\u00c1PSULA 2 IN"));
        QCOMPARE(f.NomeComponente->text(), QStringLiteral("Capsula 2 in"));
        QCOMPARE(atual(j), std::string("Capsula 2 incolor"));

        // '%' and '_' are wildcards, as in the LIKE literal of the text.
        pesquisa(j, QStringLiteral("%1 bran_a"));
        QCOMPARE(atual(j), std::string("Capsula 1 branca"));
        QVERIFY(j.mensagens.textos.empty());
    }

    void duasCapsulasNaListaDeEscolha() {
        Janela j;
        auto& f = *j.form;
        const std::string antes = atual(j);
        pesquisa(j, QStringLiteral("capsula 0 azul"));
        QVERIFY(f.PainelPesqComp->isVisible());
        QCOMPARE(f.PainelPesqComp->geometry(), QRect(107, 80, 598, 321));
        QVERIFY(!f.Panel9->isVisible());
        botoesLigados(j, false);
        QCOMPARE(j.foco(), f.GradeCompNomes);
        QCOMPARE(f.GradeCompNomes->model()->rowCount(), 2);
        QCOMPARE(f.GradeCompNomes->textoCelula(0, 1), std::string("Capsula 0 azul"));
        QCOMPARE(f.GradeCompNomes->textoCelula(1, 1), std::string("Capsula 0 azul claro"));
        QStringList titulos;
        for (const auto& c : f.GradeCompNomes->colunas()) titulos << QString::fromStdString(c.titulo);
        QCOMPARE(titulos, QStringList({"CODIGO", "COMPONENTE", "GRUPO", "UNID"}));

        // Esc abandons: the capsule stays the one it was.
        QTest::keyClick(f.GradeCompNomes, Qt::Key_Escape);
        QVERIFY(!f.PainelPesqComp->isVisible());
        QVERIFY(!j.dm->CompNome.active());
        QCOMPARE(atual(j), antes);
        botoesLigados(j, true);
        QVERIFY(f.isVisible());

        // Enter on the second row takes it.
        pesquisa(j, QStringLiteral("capsula 0 azul"));
        QTest::keyClick(f.GradeCompNomes, Qt::Key_Down);
        QTest::keyClick(f.GradeCompNomes, Qt::Key_Return);
        QVERIFY(!f.PainelPesqComp->isVisible());
        QCOMPARE(atual(j), std::string("Capsula 0 azul claro"));
        botoesLigados(j, true);
        QCOMPARE(f.botaoCancelar(), f.BotFecharComp);

        // The "Enter" button does the same.
        pesquisa(j, QStringLiteral("capsula 00 azul"));
        QTest::mouseClick(f.AceitaComp, Qt::LeftButton);
        QCOMPARE(atual(j), std::string("Capsula 00 azul"));
        QVERIFY(j.mensagens.textos.empty());
    }

    void nadaEncontradoMantemACaixa() {
        Janela j;
        auto& f = *j.form;
        const std::string antes = atual(j);
        // A quote is matched as itself. Texts of more characters than a
        // description, a '%' aside, find nothing either, without a database error.
        for (const QString& texto : {QStringLiteral("xyz"), QStringLiteral("capsula 0'"),
                                     QString(300, QLatin1Char('x')), QString(71, QLatin1Char('_')),
                                     QStringLiteral("capsula 1 b%z")}) {
            j.mensagens.limpa();
            pesquisa(j, texto);
            const std::string t = plataforma::deQString(f.NomeComponente->text());
            QCOMPARE(j.mensagens.textos,
                     std::vector<std::string>{"Não foi encontrado nenhum componente com a descrição iniciada por \""_w +
                                              t + "\"."});
            QVERIFY(f.Panel9->isVisible());
            QVERIFY(!j.dm->CompNome.active());
            // "&Fechar" comes back, nothing that would open over the box.
            QVERIFY(f.BotFecharComp->isEnabled() && !f.botgradecomp->isEnabled() && !f.BotPesqcomp->isEnabled());
            QCOMPARE(atual(j), antes);
        }
        QCOMPARE(f.NomeComponente->text(), QStringLiteral("Capsula 1 b%z"));
    }

    void aMensagemDevolveACaixaUtilizavel() {
        // Closing the message activates the window again; the box stays usable.
        Janela j;
        auto& f = *j.form;
        pesquisa(j, QStringLiteral("xyz"));
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QVERIFY(j.volta());
        QVERIFY(f.Panel9->isVisible());
        QVERIFY(f.NomeComponente->isEnabled());
        QCOMPARE(j.foco(), f.NomeComponente);
        QCOMPARE(f.botaoCancelar(), nullptr);
        f.NomeComponente->clear();
        QTest::keyClicks(f.NomeComponente, "capsula 5");
        QTest::keyClick(f.NomeComponente, Qt::Key_Return);
        QCOMPARE(atual(j), std::string("Capsula 5 incolor"));
    }

    void tabelaAbreEFecha() {
        Janela j;
        auto& f = *j.form;
        QTest::mouseClick(f.botgradecomp, Qt::LeftButton);
        QVERIFY(f.pnlTabelaComp->isVisible());
        QCOMPARE(f.pnlTabelaComp->geometry(), QRect(5, 68, 769, 483));
        botoesLigados(j, false);
        QVERIFY(!f.DBNavigator1->isEnabled());
        QVERIFY(!f.DBEdit2->isEnabled());
        QCOMPARE(j.foco(), f.GradeComponentes);

        const auto& colunas = f.GradeComponentes->colunas();
        QCOMPARE(colunas.size(), std::size_t(10));
        QCOMPARE(colunas[0].titulo, std::string("Descrição da Cápsula"_w));
        QCOMPARE(colunas[6].titulo, std::string("Preço Venda R$"_w));
        const int larguras[] = {180, 60, 76, 66, 34, 70, 86, 60, 70, 72};
        for (int i = 0; i < 10; ++i) QCOMPARE(f.GradeComponentes->columnWidth(i), larguras[i]);
        QCOMPARE(f.GradeComponentes->textoCelula(0, 0), std::string("Capsula 0 amarelo"));

        // Moving in the table moves the form's capsule.
        QTest::keyClick(f.GradeComponentes, Qt::Key_Down);
        QTest::keyClick(f.GradeComponentes, Qt::Key_Down);
        QCOMPARE(j.dm->Componentes.recNo(), 3);

        QTest::mouseClick(f.BitBtn13, Qt::LeftButton);
        QVERIFY(!f.pnlTabelaComp->isVisible());
        botoesLigados(j, true);
        QVERIFY(f.DBNavigator1->isEnabled());
        QVERIFY(f.DBEdit1->isEnabled());
        QVERIFY(!f.DBEdit2->isEnabled());
        QCOMPARE(j.foco(), f.DBEdit1);
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 0 azul claro"));
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);
    }

    // While a panel is open nothing starts under it and no other panel opens over
    // it; while a record is edited neither the table nor the purchases open.
    void umPainelDeCadaVez() {
        Janela j;
        auto& f = *j.form;
        auto clica = [&f](widgets::DBNavigator::Botao b) {
            QTest::mouseClick(f.DBNavigator1->botao(b), Qt::LeftButton);
        };
        QTest::mouseClick(f.BitBtnUltimaCompra, Qt::LeftButton);
        QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
        QVERIFY(!f.Panel9->isVisible());
        clica(widgets::DBNavigator::Editar);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);
        QTest::mouseClick(f.BitBtnOcultarUltCompra, Qt::LeftButton);

        QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
        clica(widgets::DBNavigator::Inserir);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);
        QVERIFY(f.NomeComponente->isEnabled());
        QTest::keyClick(f.NomeComponente, Qt::Key_Escape);
        QVERIFY(!f.Panel9->isVisible());

        // The sale price on the purchases panel starts an edit of its own.
        AcessoFinanceiro = true;
        QTest::mouseClick(f.BitBtnUltimaCompra, Qt::LeftButton);
        QTest::mouseClick(f.DBEdit4, Qt::LeftButton);
        QTest::keyClicks(f.DBEdit4, "1");
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Editando);
        QTest::mouseClick(f.BitBtnOcultarUltCompra, Qt::LeftButton);
        botoesLigados(j, false);
        QVERIFY(j.mensagens.textos.empty());
    }

    void listrasDaTabela() {
        Janela j;
        auto& f = *j.form;
        const QPalette dica = QToolTip::palette();
        widgets::CoresCelula par, parSelecionada, impar;
        f.GradeComponentes->OnDrawColumnCell(2, 0, false, par);
        f.GradeComponentes->OnDrawColumnCell(4, 3, true, parSelecionada);
        f.GradeComponentes->OnDrawColumnCell(3, 0, false, impar);
        QCOMPARE(par.fundo, dica.color(QPalette::ToolTipBase));
        QCOMPARE(par.texto, f.GradeComponentes->palette().color(QPalette::Text));
        QCOMPARE(parSelecionada.fundo, QColor(255, 255, 151));
        QCOMPARE(parSelecionada.texto, dica.color(QPalette::ToolTipText));
        QVERIFY(!impar.fundo.isValid() && !impar.texto.isValid());
    }

    // The confirmation's box and the activation after it leave the table as it
    // was: the description behind it is not left, so not checked (its colour is
    // no longer in the list) nor rewritten.
    void ctrlDeleteNaTabela() {
        Janela j;
        auto& f = *j.form;
        std::erase(j.suite.corcap, "azul");
        QTest::mouseClick(f.botgradecomp, Qt::LeftButton);
        QTest::keyClick(f.GradeComponentes, Qt::Key_Down);
        const std::string codigo = j.dm->ComponentesCODIGO->comoTexto();

        j.mensagens.respostas = {false};
        QTest::keyClick(f.GradeComponentes, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Delete record?"});
        QVERIFY(j.volta());
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 0 azul"));
        QCOMPARE(j.foco(), f.GradeComponentes);
        QVERIFY(!regras::nulo(j.gravado(codigo, "CODIGO")));

        j.mensagens.respostas = {true};
        QTest::keyClick(f.GradeComponentes, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(regras::nulo(j.gravado(codigo, "CODIGO")));

        // Still in the table after the box.
        QVERIFY(j.volta());
        QVERIFY(f.pnlTabelaComp->isVisible());
        botoesLigados(j, false);
        QVERIFY(!f.DBNavigator1->isEnabled());
        QCOMPARE(j.foco(), f.GradeComponentes);
        QTest::mouseClick(f.BitBtn13, Qt::LeftButton);
        botoesLigados(j, true);
    }
};

QTEST_MAIN(TestFormPelloraPesquisa)
#include "tst_formpellora_pesquisa.moc"
