// Context help on the capsule window: the subject of the control the user
// points at, and the help window it opens.
#include "form/widgets/dbedit.h"
#include "form/widgets/dbnavigator.h"
#include "form/widgets/dbrichedit.h"
#include "form/widgets/dbrotulo.h"
#include "help/assunto.h"
#include "help/form2.h"
#include "platform/text.h"
#include "support/janela.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QWindow>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

using janelateste::Janela;
using namespace plataforma::literais;

namespace {

// The right-click as the windowing system delivers it.
void clicaDireito(QWidget* w, QPoint p = QPoint(4, 4)) {
    QContextMenuEvent e(QContextMenuEvent::Mouse, p, w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
}

// A right-click as the window system delivers it, to whatever is under the
// pointer there, disabled or not.
void clicaDireitoNaJanela(QWidget* w) {
    QTest::mouseClick(w->window()->windowHandle(), Qt::RightButton, {}, w->mapTo(w->window(), w->rect().center()));
}

void escolheAjuda(FormPellora& f) {
    QVERIFY(f.PopupMenu1->isVisible());
    QTest::mouseClick(f.PopupMenu1, Qt::LeftButton, {}, f.PopupMenu1->actionGeometry(f.ManualdeOperao1).center());
}

// What the help window showed while it was open.
struct Vista {
    bool aberta = false;
    std::string assunto;
    std::string texto;
    int pagina = 0;
};

// The help window is modal: it is looked at (and typed into) from the event
// loop it runs, then closed by its close box.
void aoAbrirAjuda(Janela& j, Vista& vista, const QString& digitar = {}, std::function<void()> enquantoAberta = {},
                  int tentativas = 200) {
    QTimer::singleShot(tentativas == 200 ? 0 : 10, [&j, &vista, digitar, enquantoAberta, tentativas] {
        auto* f2 = qobject_cast<Form2*>(QApplication::activeModalWidget());
        if (!f2) {
            if (tentativas > 0) aoAbrirAjuda(j, vista, digitar, enquantoAberta, tentativas - 1);
            return;
        }
        vista.aberta = true;
        vista.assunto = f2->DBEdit1->texto();
        vista.texto = f2->DBRichEdit1->texto();
        if (auto* c = j.dm->Tutorial.campo("PAGINA"); c && !c->nulo()) vista.pagina = std::get<std::int32_t>(c->valor());
        for (QChar ch : digitar)
            QTest::sendKeyEvent(QTest::Click, f2->DBRichEdit1, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        if (enquantoAberta) enquantoAberta();
        f2->close();
    });
}

std::vector<std::string> paginasGravadas(Janela& j, const std::string& assunto) {
    std::vector<std::string> textos;
    for (const auto& l : j.dm->SQLConnection1
                             .consulta("select TEXTO from TUTORIAL where ASSUNTO = ? order by PAGINA", {assunto})
                             .linhas)
        textos.push_back(std::holds_alternative<std::string>(l[0]) ? std::get<std::string>(l[0]) : "<null>");
    return textos;
}

const std::string kCusto = "CUSTO UNITÁRIO R$"_w;
const std::string kGeral = "CADASTRO DE MATÉRIAS PRIMAS ALOPÁTICAS"_w;

}  // namespace

class TestAjuda : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EXIGE_CLIENTE(); }

    // Right-click on the unit cost, "Ajuda": its first page, stored empty at
    // close; F1 then opens a second window that shows what the first stored.
    void ajudaDoCustoUnitario() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        QTest::mouseClick(f.DBNavigator1->botao(widgets::DBNavigator::Editar), Qt::LeftButton);
        QVERIFY(f.DBEdit2->isEnabled());

        clicaDireito(f.DBEdit2);
        QCOMPARE(AssuntoAtual.str(), kCusto);
        Vista primeira;
        aoAbrirAjuda(j, primeira);
        escolheAjuda(f);
        QVERIFY(primeira.aberta);
        QCOMPARE(primeira.assunto, kCusto);
        QCOMPARE(primeira.pagina, 1);
        QCOMPARE(paginasGravadas(j, kCusto), (std::vector<std::string>{"<null>"}));
        QVERIFY(!j.dm->Tutorial.active());

        Vista segunda;
        aoAbrirAjuda(j, segunda, QStringLiteral("Custo da embalagem"));
        f.DBEdit2->setFocus();
        QTest::keyClick(f.DBEdit2, Qt::Key_F1);
        QVERIFY(segunda.aberta);
        QCOMPARE(paginasGravadas(j, kCusto), (std::vector<std::string>{"Custo da embalagem"}));

        Vista terceira;
        aoAbrirAjuda(j, terceira);
        clicaDireito(f.DBEdit2);
        escolheAjuda(f);
        QCOMPARE(terceira.texto, std::string("Custo da embalagem"));
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Editando);  // help changes nothing else
        QVERIFY(j.mensagens.textos.empty());
    }

    // Another program of the workstation checks it and stores a page while this
    // one shows its help window; the window holds the file only while it is open.
    void ajudaEmDoisProgramasAoMesmoTempo() {
        Janela j;
        const QString programa = j.pasta.filePath("capsulas");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/../capsulas", programa));
        auto executa = [&j](const QString& comando, const QStringList& args, const QByteArray& entrada = {}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();  // FIREBIRD_LOCK too
            env.insert("BRENVITA_DIR", j.pasta.path());
            p.setProcessEnvironment(env);
            p.start(comando, args);
            p.write(entrada);
            p.closeWriteChannel();
            p.waitForFinished(60000);
            return std::make_pair(p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError()));
        };
        std::pair<int, QString> verificacao, gravacao;
        Vista vista;
        aoAbrirAjuda(j, vista, QStringLiteral("Deste programa"), [&] {
            verificacao = executa(programa, {"--check"});
            gravacao = executa("isql-fb", {"-q", "-b", "-user", "SYSDBA", QString::fromStdString(j.caminho("TUTORIAL.BD"))},
                               "insert into TUTORIAL values ('OUTRO PROGRAMA', 1, 'Do outro programa'); commit;\n");
        });
        j.form->DBEdit1->setFocus();
        QTest::keyClick(j.form->DBEdit1, Qt::Key_F1);
        QVERIFY(vista.aberta);
        // (The check's other lines are about the server, which this test has not.)
        QVERIFY2(verificacao.second.contains("OK    TUTORIAL.BD: "), qPrintable(verificacao.second));
        QVERIFY2(gravacao.first == 0, qPrintable(gravacao.second));
        QVERIFY(!j.dm->SQLConnection1.aberta());
        QCOMPARE(paginasGravadas(j, vista.assunto), (std::vector<std::string>{"Deste programa"}));
        QCOMPARE(paginasGravadas(j, "OUTRO PROGRAMA"), (std::vector<std::string>{"Do outro programa"}));
    }

    // A field editor locked while browsing still has its own page: by its menu,
    // and by F1 with the pointer on it.
    void ajudaDeUmCampoTravado() {
        Janela j;
        auto& f = *j.form;
        QVERIFY(!f.DBEdit2->isEnabled());
        clicaDireito(f.DBEdit2);
        Vista menu;
        aoAbrirAjuda(j, menu);
        escolheAjuda(f);
        QCOMPARE(menu.assunto, kCusto);

        QTest::mouseMove(f.DBEdit5);
        Vista f1;
        aoAbrirAjuda(j, f1);
        QTest::keyClick(f.DBEdit1, Qt::Key_F1);
        QCOMPARE(f1.assunto, std::string("MULTIPLICADOR"));
        QVERIFY(j.mensagens.textos.empty());
    }

    // The subjects of the table reach the pages as they are keyed.
    void assuntosPorControle() {
        Janela j;
        auto& f = *j.form;
        clicaDireito(f.BotFecharComp);
        QCOMPARE(AssuntoAtual.str(), std::string("FECHAR - Cad. Matérias Primas"_w));
        QVERIFY(f.PopupMenu1->isVisible());
        f.PopupMenu1->close();
        clicaDireito(f.DBNavigator1);
        QCOMPARE(AssuntoAtual.str(), std::string("NAVEGADOR"));
        f.PopupMenu1->close();
        QTest::mouseClick(f.DBNavigator1->botao(widgets::DBNavigator::Editar), Qt::LeftButton);  // editors on
        clicaDireito(f.NomeComponente);
        QCOMPARE(AssuntoAtual.str(), std::string("PESQUISAR DESCRIÇÃO"_w));
        f.PopupMenu1->close();
        QCOMPARE(FormPellora::assuntoDoControle("DBEdit50"), std::string("CÓDIGO"_w));
        QCOMPARE(FormPellora::assuntoDoControle("Label357"), std::string());
    }

    // Disabled buttons offer their help too, by right-click and by F1 with the
    // pointer on them: the navigator's as the navigator's, the main buttons'
    // their own.
    void ajudaDeBotoesDesligados() {
        Janela j;
        auto& f = *j.form;
        using Nav = widgets::DBNavigator;
        const auto menuCom = [&](QWidget* w, const std::string& assunto) {
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
            AssuntoAtual = "X";
            clicaDireitoNaJanela(w);
            QTRY_VERIFY2(f.PopupMenu1->isVisible(), qPrintable(w->objectName()));
            QCOMPARE(AssuntoAtual.str(), assunto);
            f.PopupMenu1->close();
        };
        menuCom(f.DBNavigator1->botao(Nav::Primeiro), "NAVEGADOR");
        menuCom(f.DBNavigator1->botao(Nav::Gravar), "NAVEGADOR");
        QTest::mouseClick(f.DBNavigator1->botao(Nav::Editar), Qt::LeftButton);
        menuCom(f.botgradecomp, "TABELA");
        menuCom(f.BotPesqcomp, "PESQUISAR");
        menuCom(f.BotFecharComp, "FECHAR - Cad. Matérias Primas"_w);

        QTest::mouseMove(f.botgradecomp);
        QTRY_COMPARE(QCursor::pos(), f.botgradecomp->mapToGlobal(f.botgradecomp->rect().center()));
        Vista vista;
        aoAbrirAjuda(j, vista);
        QTest::keyClick(j.foco(), Qt::Key_F1);
        QVERIFY(vista.aberta);
        QCOMPARE(vista.assunto, std::string("TABELA"));
    }

    // The bare panel gives the general subject; a control on it does not, and a
    // caption without a subject keeps the current one.
    void assuntoGeralPeloPainel() {
        Janela j;
        auto& f = *j.form;
        AssuntoAtual = "X";
        QTest::mouseMove(f.PainelComponentes, f.BotPesqcomp->geometry().center());
        QCOMPARE(AssuntoAtual.str(), std::string("X"));
        QTest::mouseMove(f.PainelComponentes, QPoint(20, 560));
        QTRY_COMPARE(AssuntoAtual.str(), kGeral);

        clicaDireito(f.Label357);
        QCOMPARE(AssuntoAtual.str(), kGeral);
        Vista vista;
        aoAbrirAjuda(j, vista);
        escolheAjuda(f);
        QCOMPARE(vista.assunto, kGeral);
    }

    // The login boxes set their subject but keep their own text menu.
    void caixasDoLoginMantemSeuMenu() {
        Janela j({.marcaSaltaLogin = false, .configuracoes = {}});
        auto& f = *j.form;
        AssuntoAtual = "X";
        clicaDireito(f.EditNome);
        QCOMPARE(AssuntoAtual.str(), std::string("IDENTIFICAÇÃO DO USUÁRIO"_w));
        QVERIFY(!f.PopupMenu1->isVisible());
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu != nullptr);
        menu->close();

        // Nobody is signed on: F1 opens no help window there, and nothing is
        // written to the tutorial.
        for (QWidget* caixa : std::initializer_list<QWidget*>{f.EditNome, f.EditSenhaU}) {
            Vista vista;
            aoAbrirAjuda(j, vista, QStringLiteral("escrito sem login"), {}, 30);
            caixa->setFocus();
            QTest::keyClick(caixa, Qt::Key_F1);
            QTest::qWait(500);
            QVERIFY2(!vista.aberta, qPrintable(caixa->objectName()));
        }
        QVERIFY(paginasGravadas(j, "IDENTIFICAÇÃO DO USUÁRIO"_w).empty());
    }
};

QTEST_MAIN(TestAjuda)
#include "tst_ajuda.moc"
