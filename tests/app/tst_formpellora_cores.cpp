// The capsule's colour in the window: the list from the database, the check on
// leaving the description, "<- Usar esta cor" and the hint picture.
#include "form/widgets/dbedit.h"
#include "form/widgets/dbnavigator.h"
#include "rules/cores.h"
#include "platform/text.h"
#include "support/janela.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using janelateste::Janela;
using namespace plataforma::literais;

namespace {

QStringList entradas(const QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

// The colour list of the worked examples.
void soCores(Janela& j, const std::vector<std::string>& cores) {
    j.suite.corcap = cores;
    QTest::mouseClick(j.form->Label1, Qt::LeftButton);
    j.form->DBEdit1->setFocus();
}

// Puts the current capsule into editing from the description, as the user does
// (the navigator's action: its buttons leave the focus where it is), and types
// the description over the old one.
void digitaDescricao(Janela& j, const char* texto) {
    auto& f = *j.form;
    QCOMPARE(j.foco(), f.DBEdit1);
    f.DBNavigator1->clica(widgets::DBNavigator::Editar);
    QCOMPARE(j.dm->Componentes.state(), dados::Estado::Editando);
    f.DBEdit1->selectAll();
    QTest::keyClicks(f.DBEdit1, texto);
}

}  // namespace

class TestFormPelloraCores : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { EXIGE_CLIENTE(); }

    void listaDoBancoRecarregadaPeloRotulo() {
        Janela j;
        auto& f = *j.form;
        const QStringList demo = {"amarelo", "azul",  "azul claro",  "branca", "incolor", "laranja", "lilas",
                                  "marrom",  "preta", "rosa",        "verde",  "verde claro", "vermelha"};
        QCOMPARE(entradas(f.ComboBox1), demo);
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("amarelo"));

        // Stored text is kept as it is; the colour shown survives the reload.
        f.ComboBox1->setCurrentIndex(10);
        j.suite.corcap.push_back(" Creme ");
        QTest::mouseClick(f.Label1, Qt::LeftButton);
        QCOMPARE(f.ComboBox1->count(), 14);
        QCOMPARE(f.ComboBox1->itemText(0), QStringLiteral(" Creme "));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("verde"));

        // A load that fails leaves the entries it had; the activation after the
        // error's box reloads them too, without a second box.
        j.servidorForaDeAlcance();
        j.mensagens.limpa();
        QTest::mouseClick(f.Label1, Qt::LeftButton);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QCOMPARE(f.ComboBox1->count(), 14);
        j.servidorDeVolta();
    }

    void exemplosDaCorNaDescricao() {
        Janela j;
        auto& f = *j.form;
        soCores(j, {"amarelo", "azul", "verde"});
        struct Caso {
            const char* descricao;
            bool invalida;
            const char* semCor;
        };
        const Caso casos[] = {
            {"Capsula 0 azul", false, "Capsula 0"},        {"Capsula 00 azul claro", true, "Capsula 00"},
            {"Capsula 3 rosa", true, "Capsula 3"},         {"Capsula", false, "Capsula"},
            {"Capsula 1", false, "Capsula 1"},             {"Capsula 0 AZUL", true, "Capsula 0"},
            {"Capsula 0 azul 7", true, "Capsula 0"},       {"  Capsula 1 verde  ", false, "Capsula 1"},
            {"Tampa gelatinosa", false, "Tampa gelatinosa"},  // no marker: no colour
        };
        for (const Caso& c : casos) {
            f.defineTextoDescricao(c.descricao);
            QVERIFY2(f.CorDescricaoInvalida() == c.invalida, c.descricao);
            QCOMPARE(f.RemoveCorDescricao(), std::string(c.semCor));
        }
    }

    // While browsing, the check changes only the editor's text: an edit starts
    // from the record's own description, and a post without typing keeps it.
    void verificacaoNavegandoNaoTocaORegistro() {
        Janela j;
        auto& f = *j.form;
        const std::string codigo = j.dm->ComponentesCODIGO->comoTexto();
        const QString descricao = f.DBEdit1->text();
        const std::string cor = regras::ExtraiCorDescricao(plataforma::deQString(descricao));
        QVERIFY(!cor.empty());
        std::erase_if(j.suite.corcap, [&](const std::string& c) { return plataforma::maiusculasAscii(c) == cor; });
        QTest::mouseClick(f.Label1, Qt::LeftButton);  // the list reloaded
        QTest::mouseClick(f.DBEdit1, Qt::LeftButton);
        QTest::keyClick(f.DBEdit1, Qt::Key_Tab);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QVERIFY(f.DBEdit1->text() != descricao);
        QTest::keyClick(j.foco(), Qt::Key_F2);
        QCOMPARE(f.DBEdit1->text(), descricao);
        QTest::keyClick(j.foco(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QCOMPARE(std::get<std::string>(j.gravado(codigo, "COMPONENTE")),
                 plataforma::deQString(descricao));
    }

    void corInvalidaAoSairMostraAImagem() {
        Janela j;
        auto& f = *j.form;
        soCores(j, {"amarelo", "azul", "verde"});
        digitaDescricao(j, "capsula 3 rosa");
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        QCOMPARE(j.mensagens.ultima(), std::string("A cor \"ROSA\" não é válida.\rEsta cor não consta na "_w
                                                   "tabela\rde cores das cápsulas do sistema."_w));
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 3"));
        QVERIFY(f.Imagem1->isVisible());
        QCOMPARE(f.Imagem1->geometry(), QRect(423, 179, 257, 144));
        QVERIFY(!f.Imagem1->pixmap().isNull());

        // The ways it is hidden: the pointer over an editor or a main button
        // (the window system tells of the move when it will), a click on the
        // list or on the picture itself.
        QTest::mouseMove(f.DBEdit2);
        QTRY_VERIFY(!f.Imagem1->isVisible());
        f.Imagem1->show();
        QTest::mouseMove(f.botgradecomp);
        QTRY_VERIFY(!f.Imagem1->isVisible());
        f.Imagem1->show();
        QTest::mousePress(f.ComboBox1, Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseRelease(f.ComboBox1, Qt::LeftButton, {}, QPoint(20, 10));
        f.ComboBox1->hidePopup();
        QVERIFY(!f.Imagem1->isVisible());
        f.Imagem1->show();
        QTest::mouseClick(f.Imagem1, Qt::LeftButton);
        QVERIFY(!f.Imagem1->isVisible());
    }

    void usarEstaCorGravaEContinuaEditando() {
        Janela j;
        auto& f = *j.form;
        const std::string codigo = plataforma::deQString(f.DBEdit50->text());
        digitaDescricao(j, "capsula 3 rosa");
        f.ComboBox1->setCurrentIndex(f.ComboBox1->findText(QStringLiteral("verde")));
        f.Imagem1->show();
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);

        QVERIFY(!f.Imagem1->isVisible());
        QVERIFY(j.mensagens.textos.empty());
        QCOMPARE(std::get<std::string>(j.gravado(codigo, "COMPONENTE")),
                 std::string("Capsula 3 verde"));
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 3 verde"));
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Editando);
        QCOMPARE(j.foco(), f.DBEdit1);
        QVERIFY(!f.DBEdit1->isReadOnly());

        // An empty selector text stores the description without a colour.
        f.ComboBox1->setEditText(QString());
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
        QCOMPARE(std::get<std::string>(j.gravado(codigo, "COMPONENTE")),
                 std::string("Capsula 3 "));
    }

    void recarregarDuranteAEdicaoNaoMexeNoRegistro() {
        Janela j;
        auto& f = *j.form;
        digitaDescricao(j, "capsula 2 azul");
        QTest::mouseClick(f.Label1, Qt::LeftButton);
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("capsula 2 azul"));
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Editando);
        QCOMPARE(j.dm->Componentes.changeCount(), 0);
    }
};

QTEST_MAIN(TestFormPelloraCores)
#include "tst_formpellora_cores.moc"
