// The window in its users' language and hands: numbers typed and shown in
// pt-BR and en-US, names for screen readers, the navigator's
// keys, and the capsule table readable and taken out of the program.
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "help/form2.h"
#include "support/janela.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>

using janelateste::digita;
using janelateste::Janela;
using Nav = widgets::DBNavigator;

namespace {

// The controls a user operates (focus, buttons, lists) and the panels that hold
// them, which a screen reader would announce by their kind alone.
QStringList semNome(QAccessibleInterface* pai) {
    QStringList r;
    for (int k = 0; k < pai->childCount(); ++k) {
        QAccessibleInterface* i = pai->child(k);
        auto* w = i ? qobject_cast<QWidget*>(i->object()) : nullptr;
        if (!w) continue;
        const bool operado = w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
                             qobject_cast<QComboBox*>(w);
        const bool painel = qobject_cast<QFrame*>(w) && !qobject_cast<QLabel*>(w) &&
                            !w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
        if ((operado || painel) && i->text(QAccessible::Name).trimmed().isEmpty())
            r << QString::fromLatin1(w->metaObject()->className()) + ' ' + w->objectName() + " in " +
                     w->parentWidget()->objectName();
        // A grid's cells and a list's parts belong to the control.
        if (i->role() != QAccessible::Table && i->role() != QAccessible::ComboBox) r += semNome(i);
    }
    return r;
}

// The titles and cells of a grid that its columns cut (the free-text column
// `livre` aside).
QStringList cortados(widgets::DBGrid* g, int livre = -1) {
    QStringList r;
    const QFontMetrics fm(g->font()), fmTitulo(g->horizontalHeader()->font());
    const int margemCelula = 2 * (g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1) + 1;
    const int margemTitulo = 2 * g->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, g->horizontalHeader());
    for (int c = 0; c < g->model()->columnCount(); ++c) {
        if (g->isColumnHidden(c)) continue;
        const QString titulo = g->model()->headerData(c, Qt::Horizontal).toString();
        if (fmTitulo.horizontalAdvance(titulo) + margemTitulo > g->columnWidth(c)) r << titulo;
        for (int l = 0; l < g->model()->rowCount() && c != livre; ++l) {
            const QString t = plataforma::paraQString(g->textoCelula(l, c));
            if (fm.horizontalAdvance(t) + margemCelula > g->columnWidth(c)) r << t;
        }
    }
    return r;
}

}  // namespace

class TstNativo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EXIGE_CLIENTE(); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void custoDigitadoEMostradoNaLocalidade_data() {
        QTest::addColumn<QLocale>("local");
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<QString>("estoqueMaximo");
        QTest::newRow("pt-BR") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "1.000,03" << "1.000,0300"
                               << "20.000,0000";
        QTest::newRow("en-US") << QLocale(QLocale::English, QLocale::UnitedStates) << "1,000.03" << "1,000.0300"
                               << "20,000.0000";
    }
    void custoDigitadoEMostradoNaLocalidade() {
        QFETCH(QLocale, local);
        QFETCH(QString, digitado);
        QLocale::setDefault(local);
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        const std::string codigo = plataforma::deQString(f.DBEdit50->text());
        QTest::keyClick(f.DBEdit1, Qt::Key_F2);
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEdit2);
        f.DBEdit2->selectAll();
        digita(f.DBEdit2, digitado);
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        QTest::keyClick(f.DBEdit5, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);
        QCOMPARE(std::get<regras::Decimal>(j.gravado(codigo, "CUSTOUNITR")).comoTexto(),
                 std::string("1000.03000000"));
        QTEST(f.DBEdit2->text(), "mostrado");

        QTest::mouseClick(f.botgradecomp, Qt::LeftButton);
        QTEST(plataforma::paraQString(f.GradeComponentes->textoCelula(0, 8)), "estoqueMaximo");
    }

    void controlesTemNomesParaLeitoresDeTela() {
        Janela j({.marcaSaltaLogin = false, .configuracoes = {}});
        QVERIFY(j.form->PainelLogin->isVisible());
        QCOMPARE(semNome(QAccessible::queryAccessibleInterface(j.form.get())).join(", "), QString());
        QAccessibleInterface* nome = QAccessible::queryAccessibleInterface(j.form->EditNome);
        QCOMPARE(nome->text(QAccessible::Name), QStringLiteral("Nome"));
        QCOMPARE(QAccessible::queryAccessibleInterface(j.form->DBEdit2)->text(QAccessible::Name),
                 QStringLiteral("Custo Unit. R$"));
        QCOMPARE(QAccessible::queryAccessibleInterface(j.form->DBNavigator1->botao(Nav::Proximo))
                     ->text(QAccessible::Name),
                 QString::fromUtf8("Pr\u00f3ximo"));

        Form2 ajuda(j.dm.get(), j.form.get());
        QCOMPARE(semNome(QAccessible::queryAccessibleInterface(&ajuda)).join(", "), QString());
    }

    // Each key is a click on its button: the same handlers and the same state
    // rules, the focus left in the editor.
    void teclasDoNavegadorSaoCliques() {
        Janela j;
        auto& f = *j.form;
        auto& ds = j.dm->Componentes;
        QCOMPARE(j.foco(), f.DBEdit1);
        QCOMPARE(f.DBNavigator1->botao(Nav::Gravar)->toolTip(), QStringLiteral("Gravar (Ctrl+S)"));
        QTest::keyClick(f.DBEdit1, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(ds.recNo(), 2);
        QTest::keyClick(f.DBEdit1, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(ds.recNo(), ds.recordCount());
        QTest::keyClick(f.DBEdit1, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(ds.recNo(), ds.recordCount() - 1);
        QTest::keyClick(f.DBEdit1, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(ds.recNo(), 1);

        QTest::keyClick(f.DBEdit1, Qt::Key_F2);
        QCOMPARE(ds.state(), dados::Estado::Editando);
        QVERIFY(f.DBEdit2->isEnabled());
        QVERIFY(!f.BotFecharComp->isEnabled());
        QCOMPARE(j.foco(), f.DBEdit1);
        QTest::keyClick(f.DBEdit1, Qt::Key_End, Qt::ControlModifier);  // no move while editing
        QCOMPARE(ds.recNo(), 1);
        QTest::keyClick(f.DBEdit1, Qt::Key_Backspace, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ds.state(), dados::Estado::Navegando);
        QVERIFY(f.BotFecharComp->isEnabled());

        const auto antes = j.suite.componen.tabela.linhas.size();
        QTest::keyClick(f.DBEdit1, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(ds.state(), dados::Estado::Inserindo);
        digita(f.DBEdit1, QStringLiteral("capsula 9 azul"));
        QTest::keyClick(f.DBEdit1, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ds.state(), dados::Estado::Navegando);
        QCOMPARE(j.suite.componen.tabela.linhas.size(), antes + 1);

        j.mensagens.respostas = {false};
        QTest::keyClick(f.DBEdit1, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(j.mensagens.ultima(), std::string("Delete record?"));

        // The table switches the navigator off, and its keys with it.
        QTest::mouseClick(f.botgradecomp, Qt::LeftButton);
        QTest::keyClick(f.GradeComponentes, Qt::Key_F2);
        QCOMPARE(ds.state(), dados::Estado::Navegando);
    }

    // In pt-BR, at the widths the layout gives them.
    void gradesLegiveisETabelaComSaidas() {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        // As a desktop theme does: titles in a larger font of their own.
        const QFont titulos = QApplication::font("QHeaderView");
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12), "QHeaderView");
        Janela j;
        auto& f = *j.form;
        QTest::mouseClick(f.botgradecomp, Qt::LeftButton);
        QCOMPARE(cortados(f.GradeComponentes).join(" | "), QString());
        auto* menu = f.GradeComponentes->findChild<QMenu*>();
        QVERIFY(menu);
        QStringList itens;
        for (QAction* a : menu->actions()) itens << a->text();
        QCOMPARE(itens, (QStringList{"Exportar para planilha (CSV)...", "Imprimir..."}));
        QTest::mouseClick(f.BitBtn13, Qt::LeftButton);

        QVERIFY(j.dm->Componentes.locate("COMPONENTE", std::string("Capsula 0 azul")));
        QTest::mouseClick(f.BitBtnUltimaCompra, Qt::LeftButton);
        QVERIFY(j.dm->CDS_SQLDataSet1.recordCount() > 0);
        // The supplier's name is longer than its column: it shows whole under the pointer.
        auto* g = f.DBGridUltimaCompra;
        QCOMPARE(cortados(g, 2).join(" | "), QString());
        const QModelIndex fornecedor = g->model()->index(0, 2);
        const QPoint p = g->visualRect(fornecedor).center();
        QHelpEvent dica(QEvent::ToolTip, p, g->viewport()->mapToGlobal(p));
        QApplication::sendEvent(g->viewport(), &dica);
        QCOMPARE(QToolTip::text(), fornecedor.data().toString());
        QApplication::setFont(titulos, "QHeaderView");
    }
};

QTEST_MAIN(TstNativo)
#include "tst_nativo.moc"
