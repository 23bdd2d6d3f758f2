// The help window over an embedded tutorial database in a temporary suite folder.
#include "data/dm.h"
#include "form/widgets/dbrichedit.h"
#include "form/widgets/dbrotulo.h"
#include "help/assunto.h"
#include "help/form2.h"
#include "help/posicao.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "support/caixas.h"
#include "support/dbtest.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <utility>

using regras::Valor;
using namespace plataforma::literais;

namespace {

// A suite folder with an empty TUTORIAL.BD and the data module over it.
struct Suite {
    explicit Suite(const std::string& assunto) : assunto(assunto) {
        dbteste::preparaAmbiente();
        plataforma::definePastaSuite(pasta.path().toStdString());
        dbteste::criaTutorialEmbutido(pasta.path().toStdString());
        dm = std::make_unique<dados::DM>();
        AssuntoAtual = assunto;
    }
    ~Suite() {
        dm.reset();
        plataforma::definePastaSuite("");
    }

    std::string caminho(const std::string& nome) const { return (pasta.path() + "/").toStdString() + nome; }

    void gravaPagina(int pagina, const std::string& texto) {
        dm->SQLConnection1.executa("insert into TUTORIAL (ASSUNTO, PAGINA, TEXTO) values (?, ?, ?)",
                                   {assunto, std::int32_t{pagina}, texto});
    }

    // The subject's pages in the database: number and text (null for none).
    std::vector<std::pair<int, Valor>> paginas() {
        const auto r = dm->SQLConnection1.consulta(
            "select PAGINA, TEXTO from TUTORIAL where ASSUNTO = ? order by PAGINA", {assunto});
        std::vector<std::pair<int, Valor>> p;
        for (const auto& l : r.linhas) p.emplace_back(std::get<std::int32_t>(l[0]), l[1]);
        return p;
    }
    std::vector<int> numeros() {
        std::vector<int> n;
        for (const auto& [pagina, texto] : paginas()) n.push_back(pagina);
        return n;
    }

    QTemporaryDir pasta;
    std::string assunto;
    caixasteste::Respondedor mensagens;  // the real boxes, answered by keys
    std::unique_ptr<dados::DM> dm;
};

std::string texto(const Valor& v) { return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "<null>"; }

void digita(QWidget* w, const QString& t) {
    for (QChar ch : t) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

const std::string kNaoGravada = "Não foi possível gravar a página do manual.\r\n"_w;

}  // namespace

class TstForm2 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EXIGE_CLIENTE(); }

    // A subject without pages: one unsaved page 1 whose text is stored empty at close.
    // The subject carries a quote: it travels as a bound value.
    void primeiraPaginaGravadaVaziaAoFechar() {
        Suite s("PESQUISAR D'ÁGUA"_w);
        Form2 f(s.dm.get());
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("Manual do BRENVITA"));
        QCOMPARE(f.DBEdit1->texto(), s.assunto);
        QCOMPARE(s.dm->Tutorial.state(), dados::Estado::Inserindo);
        QCOMPARE(s.dm->Tutorial.fieldByName("PAGINA").valor(), Valor(std::int32_t{1}));
        QCOMPARE(f.focusWidget(), f.DBRichEdit1);
        QVERIFY(!f.BitBtn1->isEnabled());
        QVERIFY(!f.BitBtn2->isEnabled());
        QVERIFY(s.paginas().empty());

        f.close();
        QVERIFY(!f.isVisible());
        QVERIFY(!s.dm->Tutorial.active());
        const auto p = s.paginas();
        QCOMPARE(p.size(), std::size_t(1));
        QCOMPARE(p[0].first, 1);
        QCOMPARE(texto(p[0].second), std::string("<null>"));
        QVERIFY(s.mensagens.textos.empty());
    }

    void paginaNovaExcluidaSoEDescartada() {
        Suite s("CUSTO FIXO");
        Form2 f(s.dm.get());
        f.show();
        f.Excluirpginacorrente1->trigger();
        QVERIFY(s.dm->Tutorial.isEmpty());
        QVERIFY(f.DBRichEdit1->isReadOnly());  // nothing to write on until a page is added
        f.close();
        QVERIFY(s.paginas().empty());
        QVERIFY(s.mensagens.textos.empty());
    }

    // Pages 1, 2, 3 minus 2 plus a new page gives 4; the gap stays.
    void excluiEInclui() {
        Suite s("TABELA");
        s.gravaPagina(1, "um");
        s.gravaPagina(2, "dois");
        s.gravaPagina(3, "três"_w);
        Form2 f(s.dm.get());
        f.show();
        QCOMPARE(f.DBRichEdit1->texto(), std::string("um"));
        QVERIFY(f.BitBtn1->isEnabled() && f.BitBtn2->isEnabled());
        f.BitBtn1->click();
        QCOMPARE(f.DBRichEdit1->texto(), std::string("dois"));
        f.Excluirpginacorrente1->trigger();
        QCOMPARE(s.numeros(), (std::vector<int>{1, 3}));
        f.Incluirnovapgina1->trigger();
        QCOMPARE(s.numeros(), (std::vector<int>{1, 3, 4}));
        QCOMPARE(s.dm->Tutorial.fieldByName("PAGINA").valor(), Valor(std::int32_t{4}));
        QCOMPARE(f.DBRichEdit1->texto(), std::string());
        f.close();
        QCOMPARE(s.numeros(), (std::vector<int>{1, 3, 4}));
    }

    // Page buttons follow the stored pages: off with one, on with two, off again.
    // A new subject's typed first page is stored before the new page is numbered.
    void botoesDePaginaEPrimeiraPaginaDigitada() {
        Suite s("UNIDADE");
        Form2 f(s.dm.get());
        f.show();
        digita(f.DBRichEdit1, QStringLiteral("Unidade de compra"));
        f.Incluirnovapgina1->trigger();
        const auto p = s.paginas();
        QCOMPARE(p.size(), std::size_t(2));
        QCOMPARE(p[0].first, 1);
        QCOMPARE(texto(p[0].second), std::string("Unidade de compra"));
        QCOMPARE(p[1].first, 2);
        QVERIFY(f.BitBtn1->isEnabled() && f.BitBtn2->isEnabled());
        QCOMPARE(f.focusWidget(), f.DBRichEdit1);
        f.Excluirpginacorrente1->trigger();
        QCOMPARE(s.numeros(), (std::vector<int>{1}));
        QVERIFY(!f.BitBtn1->isEnabled() && !f.BitBtn2->isEnabled());
        f.close();
        QVERIFY(s.mensagens.textos.empty());
    }

    // A changed page is stored before the move; the ends do not move.
    void paginaAlteradaGravadaAoMudar() {
        Suite s("MULTIPLICADOR");
        s.gravaPagina(1, "um");
        s.gravaPagina(2, "dois");
        Form2 f(s.dm.get());
        f.show();
        f.BitBtn2->click();
        QCOMPARE(s.dm->Tutorial.recNo(), 1);
        f.DBRichEdit1->moveCursor(QTextCursor::End);
        digita(f.DBRichEdit1, QString::fromUtf8(" \u00e9 o primeiro"));
        f.BitBtn1->click();
        QCOMPARE(texto(s.paginas()[0].second), std::string("um é o primeiro"_w));
        QCOMPARE(f.DBRichEdit1->texto(), std::string("dois"));
        // On the page moved to, the cursor keys move the caret and what is typed
        // goes where it is.
        QTest::keyClick(f.DBRichEdit1, Qt::Key_End, Qt::ControlModifier);
        digita(f.DBRichEdit1, QStringLiteral(" FIM"));
        f.BitBtn1->click();
        QCOMPARE(s.dm->Tutorial.recNo(), 2);
        f.BitBtn2->click();
        QCOMPARE(f.DBRichEdit1->texto(), std::string("um é o primeiro"_w));
        QCOMPARE(texto(s.paginas()[1].second), std::string("dois FIM"));
        f.close();
    }

    void posicaoGravadaERelida() {
        Suite s("NAVEGADOR");
        const std::string ini = s.caminho("Tutorial.ini");
        {
            Form2 f(s.dm.get());
            f.show();
            // Created with the defaults and applied.
            QCOMPARE(plataforma::leLinhas(ini).value(), ajuda::linhasPosicao({}));
            QCOMPARE(f.geometry(), QRect(300, 200, 513, 272));
            f.setGeometry(40, 95, 600, 300);
            f.close();
        }
        const auto linhas = plataforma::leLinhas(ini).value();
        QCOMPARE(linhas.at(2), std::string("MARGEM SUPERIOR.......: 095"));
        QCOMPARE(linhas.at(3), std::string("MARGEM ESQUERDA.......: 040"));
        QCOMPARE(linhas.at(4), std::string("ALTURA................: 300"));
        QCOMPARE(linhas.at(5), std::string("LARGURA...............: 600"));
        Form2 f(s.dm.get());
        f.show();
        QCOMPARE(f.geometry(), QRect(40, 95, 600, 300));
        f.close();
    }

    // Under a window manager the window reopens exactly where it was closed,
    // time after time, although its frame is drawn only after it is placed.
    void posicaoExataSobGerenciadorDeJanelas() {
        Suite s("NAVEGADOR");
        const std::string ini = s.caminho("Tutorial.ini");
        const ajuda::Posicao fechada{120, 299, 272, 513};
        QVERIFY(plataforma::gravaLinhas(ini, ajuda::linhasPosicao(fechada)));
        for (int vez = 1; vez <= 3; ++vez) {
            Form2 f(s.dm.get());
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            QTest::qWait(300);  // the frame, put around the window by the manager
            f.close();
            const auto linhas = plataforma::leLinhas(ini).value();
            QVERIFY2(ajuda::lePosicao(linhas) == fechada, (linhas.at(2) + " " + linhas.at(3)).c_str());
        }
    }

    // A value that is not a number: the conversion error, the designed
    // placement and no page.
    void posicaoInvalidaInterrompeAAtivacao() {
        Suite s("CUSTO FIXO");
        auto linhas = ajuda::linhasPosicao({});
        linhas[4] = "ALTURA................: 27x";
        QVERIFY(plataforma::gravaLinhas(s.caminho("Tutorial.ini"), linhas));
        Form2 f(s.dm.get());
        f.show();
        QCOMPARE(s.mensagens.textos, (std::vector<std::string>{"\"27x\" não é um número inteiro válido."_w}));
        QCOMPARE(f.size(), QSize(270, 590));
        QVERIFY(!s.dm->Tutorial.active());
        f.close();
        QCOMPARE(s.mensagens.textos.size(), std::size_t(1));
        QVERIFY(s.paginas().empty());
    }

    void larguraPosicionaOsBotoes() {
        Suite s("CUSTO FIXO");
        Form2 f(s.dm.get());
        f.show();
        f.resize(513, 272);
        QCOMPARE(f.BitBtn1->geometry().left(), 248);
        QCOMPARE(f.BitBtn1->width(), 245);
        QCOMPARE(f.BitBtn2->width(), 245);
        QCOMPARE(f.BitBtn2->y(), 212);
        QCOMPARE(f.DBRichEdit1->geometry(), QRect(6, 64, 489, 142));
        QCOMPARE(f.DBEdit1->width(), 489);
        f.close();
    }

    // Beyond 1000 characters as stored (a line break counts two): beep and
    // warning; back to 1000 hides it; only 1000 are stored.
    void avisoAlemDeMilCaracteres() {
        Suite s("CUSTO FIXO");
        Form2 f(s.dm.get());
        f.show();
        f.DBRichEdit1->setPlainText(QString(1000, QLatin1Char('a')));
        QCOMPARE(f.DBRichEdit1->toolTip(), QStringLiteral("1000"));
        QVERIFY(!f.Aviso->isVisible());
        const int bipes = plataforma::contagemBipes();
        f.DBRichEdit1->moveCursor(QTextCursor::End);
        QTest::keyClick(f.DBRichEdit1, Qt::Key_B);
        QCOMPARE(f.DBRichEdit1->toolTip(), QStringLiteral("1001"));
        QVERIFY(f.Aviso->isVisible());
        QCOMPARE(plataforma::contagemBipes(), bipes + 1);
        QTest::keyClick(f.DBRichEdit1, Qt::Key_Backspace);
        QVERIFY(!f.Aviso->isVisible());
        QTest::keyClick(f.DBRichEdit1, Qt::Key_Backspace);
        QTest::keyClick(f.DBRichEdit1, Qt::Key_Return);
        QCOMPARE(f.DBRichEdit1->toolTip(), QStringLiteral("1001"));
        QVERIFY(f.Aviso->isVisible());
        f.close();
        QCOMPARE(texto(s.paginas().at(0).second).size(), std::size_t(1000));
    }

    // The page can't be stored at close: the window closes and says why.
    void paginaRecusadaAvisadaAoFechar() {
        Suite s("CUSTO FIXO");
        Form2 f(s.dm.get());
        f.show();
        digita(f.DBRichEdit1, QStringLiteral("meu texto"));
        s.gravaPagina(1, "de outra estação"_w);  // the same page stored meanwhile
        f.close();
        QVERIFY(!f.isVisible());
        QCOMPARE(s.mensagens.textos.size(), std::size_t(1));
        const std::string m = s.mensagens.textos[0];
        QCOMPARE(m.substr(0, kNaoGravada.size()), kNaoGravada);
        QVERIFY(m.size() > kNaoGravada.size());
        QCOMPARE(texto(s.paginas().at(0).second), std::string("de outra estação"_w));
    }

    void bancoInacessivelAvisadoAoFechar() {
        Suite s("CUSTO FIXO");
        s.gravaPagina(1, "um");
        Form2 f(s.dm.get());
        f.show();
        digita(f.DBRichEdit1, QStringLiteral("x"));
        s.dm->SQLConnection1.fecha();
        s.dm->SQLConnection1.defineBanco(s.caminho("sumiu/TUTORIAL.BD"));
        f.close();
        QVERIFY(!f.isVisible());
        QCOMPARE(s.mensagens.textos.size(), std::size_t(1));
        QCOMPARE(s.mensagens.textos[0].substr(0, kNaoGravada.size()), kNaoGravada);
        QVERIFY(plataforma::arquivoExiste(s.caminho("Tutorial.ini")));
    }
};

QTEST_MAIN(TstForm2)
#include "tst_form2.moc"
