// The capsule window driven as a user would: navigator, editors, messages.
#include "app/cursorespera.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "platform/espera.h"
#include "platform/text.h"
#include "support/fuso.h"
#include "support/janela.h"

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <algorithm>
#include <future>

using janelateste::digita;
using janelateste::entra;
using janelateste::Janela;
using namespace plataforma::literais;

class TestFormPellora : public QObject {
    Q_OBJECT

private:
    static void clica(widgets::DBNavigator* nav, widgets::DBNavigator::Botao b) {
        QTest::mouseClick(nav->botao(b), Qt::LeftButton);
    }
    // Clicks into the editor and types over its text.
    static void digitaEm(widgets::DBEdit* e, const char* texto) {
        QTest::mouseClick(e, Qt::LeftButton);
        e->selectAll();
        QTest::keyClicks(e, texto);
    }
    // Makes the capsule of that description the current one and opens its last purchases.
    static void abreCompras(Janela& j, const std::string& descricao) {
        QVERIFY(j.dm->Componentes.locate("COMPONENTE", descricao));
        QTest::mouseClick(j.form->BitBtnUltimaCompra, Qt::LeftButton);
        QVERIFY(j.mensagens.textos.empty());
    }
    static std::vector<std::string> colunaCompras(Janela& j, int c) {
        std::vector<std::string> v;
        for (int r = 0; r < j.dm->CDS_SQLDataSet1.recordCount(); ++r)
            v.push_back(j.form->DBGridUltimaCompra->textoCelula(r, c));
        return v;
    }
    // Browsing: the record stored, the editors locked, the buttons back.
    static bool navegando(Janela& j) {
        const auto& f = *j.form;
        return j.dm->Componentes.state() == dados::Estado::Navegando && !f.DBEdit2->isEnabled() &&
               !f.DBEdit6->isEnabled() && !f.DBNavigator1->botao(widgets::DBNavigator::Gravar)->isEnabled() &&
               f.BotFecharComp->isEnabled() && f.botgradecomp->isEnabled();
    }

private slots:
    void initTestCase() {
        // A workstation of the pharmacies' zone that writes numbers with a
        // decimal point, whatever this machine's own settings; the cases of
        // other formats set theirs.
        fusoteste::saoPaulo();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        EXIGE_BANCO();
    }

    // The busy cursor while the database works, gone again after a failure.
    void cursorDeEsperaVoltaDepoisDeUmaFalha() {
        aplicacao::instalaCursorEspera();
        const auto doPrograma = plataforma::indicadorEspera();
        QList<bool> mostrado;  // the wait cursor at each change
        plataforma::defineIndicadorEspera([&](bool esperando) {
            doPrograma(esperando);
            mostrado << (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        });
        auto conexao = dbteste::conectaSuite();
        QVERIFY_THROWS_EXCEPTION(dados::fb::ErroBanco, conexao->consulta("select X from TABELA_QUE_NAO_HA"));
        // A connection opened on a thread of its own (the start-up's second)
        // leaves the window's cursor alone.
        std::async(std::launch::async, [] { dbteste::conectaSuite(); }).get();
        plataforma::defineIndicadorEspera(nullptr);
        QCOMPARE(mostrado, (QList<bool>{true, false, true, false}));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }


    // Signed in to the server as the program's own user (ISC_USER and
    // ISC_PASSWORD, db/privilegios.sql) instead of SYSDBA: a day's work, from
    // the login panel to the last purchases, without one refusal.
    void comOUsuarioDoPrograma() {
        dbteste::criaUsuarioPrograma(*dbteste::conectaSuite("Teste"));
        auto comoPrograma = dbteste::comoUsuarioPrograma();
        Janela j({.marcaSaltaLogin = false, .configuracoes = {}});
        auto& f = *j.form;
        j.dm->abreTutorialSeNecessario();
        const auto quem = [](dados::fb::Conexao& c) {
            return std::get<std::string>(dbteste::valor(c, "select trim(current_user) from RDB$DATABASE"));
        };
        QCOMPARE(quem(j.dm->sqlcon1), std::string("CAPSULAS"));
        QCOMPARE(quem(j.dm2->SQLConnection1), std::string("CAPSULAS"));
        QCOMPARE(quem(j.dm->SQLConnection1), std::string("SYSDBA"));  // the tutorial keeps its own
        entra(f, "admin", "123");
        QVERIFY(f.PainelComponentes->isVisible() && !f.PainelLogin->isVisible());
        QCOMPARE(f.ComboBox1->count(), 13);  // the colours
        const auto navega = [&](widgets::DBNavigator::Botao b) {
            QTest::mouseClick(f.DBNavigator1->botao(b), Qt::LeftButton);
        };
        const std::string editado = plataforma::deQString(f.DBEdit50->text());
        navega(widgets::DBNavigator::Editar);
        QTest::mouseClick(f.DBEdit25, Qt::LeftButton);
        f.DBEdit25->selectAll();
        QTest::keyClicks(f.DBEdit25, "7");  // the minimum stock
        navega(widgets::DBNavigator::Gravar);
        navega(widgets::DBNavigator::Inserir);
        const std::string novo = plataforma::deQString(f.DBEdit50->text());
        digita(f.DBEdit1, QStringLiteral("Capsula 5 verde"));
        navega(widgets::DBNavigator::Gravar);
        QCOMPARE(std::get<double>(j.consulta("select ESTOQUECRITICO from COMPONEN where CODIGO = ?", {editado})), 7.0);
        QVERIFY(!regras::nulo(j.consulta("select CODIGO from COMPONEN where CODIGO = ?", {novo})));
        j.mensagens.respostas = {true};
        navega(widgets::DBNavigator::Excluir);
        QVERIFY(regras::nulo(j.consulta("select CODIGO from COMPONEN where CODIGO = ?", {novo})));

        QTest::mouseClick(f.BotPesqcomp, Qt::LeftButton);
        digita(f.NomeComponente, QStringLiteral("capsula 0 azul"));
        QTest::keyClick(f.NomeComponente, Qt::Key_Return);
        QCOMPARE(f.GradeCompNomes->model()->rowCount(), 2);
        QTest::keyClick(f.GradeCompNomes, Qt::Key_Return);
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 0 azul"));
        QTest::mouseClick(f.BitBtnUltimaCompra, Qt::LeftButton);
        QCOMPARE(j.dm->CDS_SQLDataSet1.recordCount(), 3);
        QCOMPARE(f.lblTelUltimaCompra->text(), QStringLiteral("Telefone....: (15) 5555-0140"));
        QVERIFY2(j.mensagens.textos == std::vector<std::string>{"Delete record?"}, j.mensagens.ultima().c_str());
    }

    // ... and may not write to any other table of the suite, nor read one the
    // program never reads.
    void usuarioDoProgramaSoGravaCapsulas() {
        dbteste::criaUsuarioPrograma(*dbteste::conectaSuite("Teste"));
        auto comoPrograma = dbteste::comoUsuarioPrograma();
        IpServidorCentral = dbteste::servidor();
        dados::DM2 dm2;
        dm2.DataModuleCreate();
        for (const char* sql : {"insert into FORNECED (CODIGO) values ('X')", "update USUARIOS set SENHA = 'X'",
                                "delete from COMPRAS", "select count(*) from FABRIC"}) {
            try {
                dm2.SQLConnection1.executa(sql);
                QFAIL(sql);
            } catch (const dados::fb::ErroBanco& e) {
                QVERIFY2(e.semPrivilegio(), e.what());
            }
        }
    }

    // The last purchases the statement lists: only those with an invoice, the
    // description in any case; a purchase's date read whole on a day without a
    // local midnight.
    void compraSemNotaFicaDeForaECaixaNaoImporta() {
        Janela j;
        auto& f = *j.form;
        // A newer purchase stored in capitals, from a supplier without a record.
        j.conexao->executa("insert into NFISCAL (DATA, NOTAFISCAL, FORNECEDOR) values ('2025-06-01', '7', 'Avulso')");
        j.conexao->executa(
            "insert into COMPRAS (LABORATORIO, NOTAFISCAL, FORNECEDOR, DATA, QUANTIDADE, UNIDADE, PRECOUNITR, SALDO, "
            "COMPONENTE) values ('Matriz', '7', 'Avulso', '2025-06-01', 100, 'un', 0.02, 2, 'CAPSULA 1 BRANCA')");
        abreCompras(j, "Capsula 1 branca");
        // The purchase of 2025-03-10 has no invoice.
        QCOMPARE(colunaCompras(j, 1), (std::vector<std::string>{"7", "004977"}));
        QCOMPARE(f.lblFornecUltimaCompra->text(), QStringLiteral("Fornecedor: Avulso"));
        QCOMPARE(f.lblTelUltimaCompra->text(), QStringLiteral("Telefone....: "));
    }

    // Bought the day daylight saving time began in Sao Paulo, which had no midnight.
    void compraDeUmDiaSemMeiaNoite() {
        const auto restaura = qScopeGuard([antes = QLocale()] { QLocale::setDefault(antes); });
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        Janela j;
        j.conexao->executa("insert into NFISCAL (DATA, NOTAFISCAL, FORNECEDOR) values ('2018-11-04', '9', 'Avulso')");
        j.conexao->executa(
            "insert into COMPRAS (LABORATORIO, NOTAFISCAL, FORNECEDOR, DATA, QUANTIDADE, UNIDADE, PRECOUNITR, SALDO, "
            "COMPONENTE) values ('Matriz', '9', 'Avulso', '2018-11-04', 100, 'un', 0.02, 2, 'CAPSULA 5 INCOLOR')");
        abreCompras(j, "Capsula 5 incolor");
        QCOMPARE(colunaCompras(j, 4), std::vector<std::string>{"04/11/2018"});
    }

    void abreNoPrimeiroPorDescricaoComBotoesLigados() {
        Janela j;
        auto& f = *j.form;
        QVERIFY(j.dm->Componentes.active());
        QCOMPARE(j.dm->Componentes.recNo(), 1);
        QVERIFY(f.PainelComponentes->isVisible());
        QVERIFY(f.BotFecharComp->isEnabled());
        QVERIFY(f.DBEdit1->isEnabled());
        QVERIFY(!f.DBEdit2->isEnabled());
        QCOMPARE(f.botaoCancelar(), f.BotFecharComp);
        QCOMPARE(f.size(), QSize(800, 600));
        QCOMPARE(f.windowTitle(), QString::fromUtf8("  Cadastro de C\u00e1psulas"));
    }

    void insereCapsulaPeloNavegador() {
        Janela j({.configuracoes = {{"USAR F.C. NO PRECO DE VENDA....................:", "Sim"}}});
        auto& f = *j.form;
        AcessoFinanceiro = true;
        const auto maior = j.consulta("select max(CODIGO) from COMPONEN where CODIGO similar to '[0-9]+'");
        clica(f.DBNavigator1, widgets::DBNavigator::Inserir);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Inserindo);
        QVERIFY(!f.BotFecharComp->isEnabled());
        QVERIFY(f.DBEdit2->isEnabled());
        QVERIFY(!f.DBEdit50->text().isEmpty());
        const QString codigo = f.DBEdit50->text();

        f.DBEdit1->setFocus();
        digita(f.DBEdit1, QString::fromUtf8("C\u00c1PSULA 5 VERDE"));
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("Capsula 5 verde"));
        QCOMPARE(j.foco(), f.DBEdit2);
        f.DBEdit2->selectAll();
        QTest::keyClicks(f.DBEdit2, "0.5");
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEdit5);
        f.DBEdit5->selectAll();
        QTest::keyClicks(f.DBEdit5, "3");
        QTest::keyClick(f.DBEdit5, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEdit6);
        f.DBEdit6->selectAll();
        QTest::keyClicks(f.DBEdit6, "2");
        QTest::keyClick(f.DBEdit6, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEdit25);
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);

        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);
        QCOMPARE(j.dm->Componentes.changeCount(), 0);
        const auto linha = j.conexao->consulta(
            "select COMPONENTE, PRECOR, GRUPO, UNID from COMPONEN where CODIGO = ?",
            {plataforma::deQString(codigo)});
        QCOMPARE(linha.linhas.size(), std::size_t(1));
        QCOMPARE(std::get<std::string>(linha.linhas[0][0]), std::string("Capsula 5 verde"));
        QCOMPARE(std::get<regras::Decimal>(linha.linhas[0][1]).comoTexto(), std::string("0.75000000"));
        QCOMPARE(std::get<std::string>(linha.linhas[0][2]).substr(0, 3), std::string("CAP"));
        QVERIFY(f.BotFecharComp->isEnabled());
        QVERIFY(!f.DBEdit2->isEnabled());
        QCOMPARE(plataforma::deQString(f.DBEdit50->text()), plataforma::deQString(codigo));
        Q_UNUSED(maior);
    }

    void descricaoEmBrancoCancelaSemGravar() {
        Janela j;
        auto& f = *j.form;
        const std::string emBranco = "Descrição e/ou Código em branco. Cadastro será Cancelado."_w;
        const auto antes = j.consulta("select count(*) from COMPONEN");
        clica(f.DBNavigator1, widgets::DBNavigator::Inserir);
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);
        QCOMPARE(j.mensagens.ultima(), emBranco);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Navegando);
        QVERIFY(j.consulta("select count(*) from COMPONEN") == antes);
        QVERIFY(f.BotFecharComp->isEnabled());

        // Nothing but blanks is blank as well.
        j.mensagens.limpa();
        clica(f.DBNavigator1, widgets::DBNavigator::Inserir);
        digita(f.DBEdit1, QStringLiteral("   "));
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{emBranco});
        QVERIFY(j.consulta("select count(*) from COMPONEN") == antes);
    }

    // A number is read at the magnitude typed: a grouping character only where
    // it groups digits in the workstation's format, otherwise the field's
    // message and the caret stays.
    void numeroDigitadoNoFormatoDaEstacao_data() {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("guardado");  // empty: refused
        QTest::newRow("en-US 0,05") << "en_US" << "0,05" << "";
        QTest::newRow("en-US 1,234.5") << "en_US" << "1,234.5" << "1234.5";
        QTest::newRow("pt-BR 0,05") << "pt_BR" << "0,05" << "0.05";
        QTest::newRow("pt-BR 0.05") << "pt_BR" << "0.05" << "";
    }
    void numeroDigitadoNoFormatoDaEstacao() {
        QFETCH(QString, local);
        QFETCH(QString, digitado);
        QFETCH(QString, guardado);
        const auto restaura = qScopeGuard([antes = QLocale()] { QLocale::setDefault(antes); });
        QLocale::setDefault(QLocale(local));
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        QTest::mouseClick(f.DBEdit2, Qt::LeftButton);
        f.DBEdit2->selectAll();
        digita(f.DBEdit2, digitado);
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        if (guardado.isEmpty()) {
            QCOMPARE(j.mensagens.textos, std::vector<std::string>{"'" + digitado.toStdString() +
                                                                  "' não é um valor válido para o campo "_w
                                                                  "'CUSTOUNITR'."});
            QCOMPARE(j.foco(), f.DBEdit2);
        } else {
            QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
            QCOMPARE(std::get<regras::Decimal>(j.dm->ComponentesCUSTOUNITR->valor()),
                     *regras::Decimal::deTexto(guardado.toStdString()));
        }
    }

    // Another workstation stores the code this one shows: the capsule is stored
    // under the next code, which the window shows and names once.
    void codigoTomadoPorOutraEstacao() {
        Janela j;
        auto& f = *j.form;
        clica(f.DBNavigator1, widgets::DBNavigator::Inserir);
        const std::string mostrado = plataforma::deQString(f.DBEdit50->text());
        char seguinte[24];
        std::snprintf(seguinte, sizeof seguinte, "%06lld", std::stoll(mostrado) + 1);
        j.conexao->executa("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values (?, 'Capsula da outra', 'CAP')",
                           {mostrado});
        digita(f.DBEdit1, QStringLiteral("Capsula 3 verde"));
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"O código "_w + mostrado +
                                                              " já estava em uso; a cápsula foi gravada com o "_w
                                                              "código "_w + std::string(seguinte) + "."});
        QCOMPARE(plataforma::deQString(f.DBEdit50->text()), std::string(seguinte));
        QCOMPARE(plataforma::deQString(f.DBEdit1->text()), std::string("Capsula 3 verde"));
        QCOMPARE(std::get<std::string>(
                     j.consulta("select COMPONENTE from COMPONEN where CODIGO = ?", {std::string(seguinte)})),
                 std::string("Capsula 3 verde"));
    }

    void edicaoCanceladaRestauraEExclusaoPergunta() {
        Janela j;
        auto& f = *j.form;
        const QString original = f.DBEdit1->text();
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        QVERIFY(f.DBEdit5->isEnabled());
        QVERIFY(!f.botgradecomp->isEnabled());
        f.DBEdit1->setFocus();
        f.DBEdit1->selectAll();
        QTest::keyClicks(f.DBEdit1, "outra coisa");
        clica(f.DBNavigator1, widgets::DBNavigator::Cancelar);
        QCOMPARE(f.DBEdit1->text(), original);
        QVERIFY(!f.DBEdit5->isEnabled());
        QVERIFY(f.botgradecomp->isEnabled());

        const std::string codigo = plataforma::deQString(f.DBEdit50->text());
        j.mensagens.respostas = {false};
        clica(f.DBNavigator1, widgets::DBNavigator::Excluir);
        QCOMPARE(j.mensagens.ultima(), std::string("Delete record?"));
        QVERIFY(!regras::nulo(j.consulta("select CODIGO from COMPONEN where CODIGO = ?", {codigo})));
        j.mensagens.respostas = {true};
        clica(f.DBNavigator1, widgets::DBNavigator::Excluir);
        QVERIFY(regras::nulo(j.consulta("select CODIGO from COMPONEN where CODIGO = ?", {codigo})));
    }

    void custoMinimoEDescricaoVazia() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        f.DBEdit2->setFocus();
        f.DBEdit2->selectAll();
        QTest::keyClicks(f.DBEdit2, "0.00009");
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        QCOMPARE(j.mensagens.ultima(),
                 std::string("Atenção: O Valor Unitário não pode ser menor que \"R$ 0.0001\",\rFavor "_w
                             "Corrigir!"));
        QVERIFY(j.volta());
        QCOMPARE(j.foco(), f.DBEdit2);
        // The cost must be corrected before the field can be left.
        j.mensagens.limpa();
        f.DBEdit5->setFocus();
        QVERIFY(j.volta());
        QCOMPARE(j.foco(), f.DBEdit2);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        f.DBEdit2->selectAll();
        QTest::keyClicks(f.DBEdit2, "0.0001");
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEdit5);

        // Entering the description makes it read-only; the text is emptied as a
        // cut from the clipboard would.
        f.DBEdit1->setFocus();
        f.DBEdit1->setText(QString());
        f.DBEdit5->setFocus();
        QCOMPARE(j.mensagens.ultima(), std::string("Favor digitar a Descrição do Produto."_w));
        QVERIFY(j.volta());
        QCOMPARE(j.foco(), f.DBEdit1);
    }

    // A post with the caret still in an input of the price runs its rule first,
    // as leaving it would: a cost below the minimum is refused with its
    // message, a changed cost recomputes the price; a price typed afterwards
    // stays as typed.
    void gravarDeUmEditorAplicaSuaRegra() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        const std::string codigo = j.dm->ComponentesCODIGO->comoTexto();
        const auto coluna = [&](const char* c) {
            return std::get<regras::Decimal>(
                       j.consulta(std::string("select ") + c + " from COMPONEN where CODIGO = ?", {codigo}))
                .comoTexto();
        };
        const std::string preco = coluna("PRECOR");
        QCOMPARE(coluna("MULTIPLICADOR"), std::string("3.00000000"));
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        digitaEm(f.DBEdit2, "0");
        QTest::keyClick(f.DBEdit2, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Atenção: O Valor Unitário não pode ser menor que "_w
                                                              "\"R$ 0.0001\",\rFavor Corrigir!"});
        QCOMPARE(j.foco(), f.DBEdit2);
        QCOMPARE(j.dm->Componentes.state(), dados::Estado::Editando);
        QCOMPARE(coluna("PRECOR"), preco);

        digitaEm(f.DBEdit2, "1");
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);
        QCOMPARE(coluna("CUSTOUNITR"), std::string("1.00000000"));
        QCOMPARE(coluna("PRECOR"), std::string("3.00000000"));

        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        digitaEm(f.DBEdit2, "2");
        digitaEm(f.DBEdit8, "7");
        QTest::keyClick(f.DBEdit8, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(coluna("CUSTOUNITR"), std::string("2.00000000"));
        QCOMPARE(coluna("PRECOR"), std::string("7.00000000"));
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
    }

    // Return on an emptied description: its message once, and the caret back
    // in the description, writable, whatever order the focus comes back in;
    // unattended too, where nothing stands between the rule and the focus (the
    // cost below its minimum must not be checked on the way).
    void descricaoVaziaVoltaGravavel_data() {
        QTest::addColumn<bool>("semAtendente");
        QTest::newRow("caixa") << false;
        QTest::newRow("sem atendente") << true;
    }
    void descricaoVaziaVoltaGravavel() {
        QFETCH(bool, semAtendente);
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        j.conexao->executa("update COMPONEN set CUSTOUNITR = 0");
        j.dm->Componentes.refresh();
        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("mensagens"));
        if (semAtendente) qputenv("BRENVITA_MESSAGES", QFile::encodeName(arquivo));
        const auto restaura = qScopeGuard([] { qunsetenv("BRENVITA_MESSAGES"); });

        QTest::keyClick(j.foco(), Qt::Key_F2);
        QCOMPARE(j.foco(), f.DBEdit1);
        QTest::keyClick(f.DBEdit1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.DBEdit1, Qt::Key_Delete);
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        const QString favor = QString::fromUtf8("Favor digitar a Descrição do Produto.");
        if (semAtendente) {
            QFile f(arquivo);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(f.readAll()), favor);
        } else {
            QCOMPARE(j.mensagens.textos, std::vector<std::string>{plataforma::deQString(favor)});
        }
        QCOMPARE(j.foco(), f.DBEdit1);
        QTest::keyClicks(f.DBEdit1, "capsula 1 azul");
        QCOMPARE(f.DBEdit1->text(), QStringLiteral("capsula 1 azul"));
    }

    // The order a session under a window manager gives, around a message shown
    // by an exit rule: the editor is left, the box is answered, and the window
    // gets its focus back with its activation, at the editor at fault, which
    // for the form was never left (no enter or exit rule runs again).
    void ordemDoFocoEmVoltaDeUmaCaixa() {
        caixasteste::RegistroFoco registro;
        Janela j;
        auto& f = *j.form;
        j.mensagens.registro = &registro;
        AcessoFinanceiro = true;
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        digitaEm(f.DBEdit2, "0.00009");
        registro.linhas.clear();
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        registro.anota(QStringLiteral("o tratamento terminou"));
        QVERIFY(j.volta());
        const auto& l = registro.linhas;
        const auto posicao = [&l](const QString& linha) { return std::find(l.begin(), l.end(), linha) - l.begin(); };
        const auto saiu = posicao(QStringLiteral("DBEdit2 sai tab"));
        const auto caixa = std::find_if(l.begin(), l.end(), [](const QString& x) { return x.startsWith("caixa "); }) -
                           l.begin();
        const auto terminou = posicao(QStringLiteral("o tratamento terminou"));
        const auto volta = posicao(QStringLiteral("DBEdit2 entra janela"));
        const QString todas = QStringList(l.begin(), l.end()).join(QStringLiteral("; "));
        QVERIFY2(saiu < caixa && caixa < terminou && caixa < volta && volta < qsizetype(l.size()), qPrintable(todas));
        // The next editor, where the Tab was sending the focus, was never entered.
        QVERIFY2(posicao(QStringLiteral("DBEdit5 entra tab")) == qsizetype(l.size()) &&
                     posicao(QStringLiteral("DBEdit5 entra janela")) == qsizetype(l.size()),
                 qPrintable(todas));
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QCOMPARE(j.foco(), f.DBEdit2);
    }

    void semDireitoFinanceiroOCustoLevaAUnidade() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = false;
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        QTest::keyClick(f.DBEdit1, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEditUnid);
        QTest::keyClick(f.DBEditUnid, Qt::Key_Return);
        QCOMPARE(j.foco(), f.DBEdit6);
    }

    void fecharComAlteracaoPendenteGrava() {
        Janela j;
        auto& f = *j.form;
        const std::string codigo = plataforma::deQString(f.DBEdit50->text());
        // A change posted while the capsule panel is hidden waits in the log.
        f.PainelComponentes->hide();
        j.dm->Componentes.edit();
        j.dm->ComponentesCUSTOFIXO->defineTexto("7");
        j.dm->Componentes.post();
        QCOMPARE(j.dm->Componentes.changeCount(), 1);
        f.close();
        QVERIFY(!j.dm->Componentes.active());
        const auto v = j.consulta("select CUSTOFIXO from COMPONEN where CODIGO = ?", {codigo});
        QCOMPARE(std::get<regras::Decimal>(v).comoReal(), 7.0);
    }

    // Cancel or post from the navigator with the caret in an editor that has an
    // exit rule: the window goes to browse and no exit rule runs on the way.
    void navegadorComOCursorNumEditor() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        const QString preco = f.DBEdit8->text();
        for (widgets::DBEdit* e : {f.DBEdit2, f.DBEdit5, f.DBEditUnid, f.DBEdit6}) {
            clica(f.DBNavigator1, widgets::DBNavigator::Editar);
            digitaEm(e, "2");
            QCOMPARE(j.foco(), e);
            clica(f.DBNavigator1, widgets::DBNavigator::Cancelar);
            QVERIFY2(navegando(j), qPrintable(e->objectName()));
            QCOMPARE(f.DBEdit8->text(), preco);
        }
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        digitaEm(f.DBEdit6, "2");
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);
        QVERIFY(navegando(j));
        QCOMPARE(j.dm->ComponentesDIVISORUNID->comoReal(), 2.0);
        QCOMPARE(j.dm->Componentes.changeCount(), 0);
        QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
    }

    // While a record is edited only the editor with the caret shows the plain
    // value; the others keep their column's display format.
    void formatosForaDoCursor() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = true;
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        const dados::Campo& custo = *j.dm->ComponentesCUSTOUNITR;
        QVERIFY(custo.textoExibicao() != custo.comoTexto());
        for (widgets::DBEdit* e : {f.DBEdit2, f.DBEdit5, f.DBEdit6, f.DBEdit8})
            QCOMPARE(e->texto(), e->campo()->textoExibicao());
        QTest::mouseClick(f.DBEdit2, Qt::LeftButton);
        QCOMPARE(f.DBEdit2->texto(), custo.comoTexto());
        QTest::keyClick(f.DBEdit2, Qt::Key_Return);
        QCOMPARE(f.DBEdit2->texto(), custo.textoExibicao());
        QCOMPARE(f.DBEdit5->texto(), j.dm->ComponentesMULTIPLICADOR->comoTexto());
    }

    // One close ends the program: a blank new capsule goes with its message;
    // only "Não" to losing a change that cannot be stored keeps the window, and
    // from the login panel it keeps the login panel.
    void fecharEncerraNumaVez() {
        {
            Janela j;
            const auto antes = j.consulta("select count(*) from COMPONEN");
            clica(j.form->DBNavigator1, widgets::DBNavigator::Inserir);
            j.form->close();
            QCOMPARE(j.mensagens.textos,
                     std::vector<std::string>{"Descrição e/ou Código em branco. Cadastro será Cancelado."_w});
            QVERIFY(!j.form->isVisible());
            QVERIFY(!j.dm->Componentes.active());
            QVERIFY(j.consulta("select count(*) from COMPONEN") == antes);
        }
        Janela j;
        auto& f = *j.form;
        j.servidorForaDeAlcance();
        clica(f.DBNavigator1, widgets::DBNavigator::Editar);
        digitaEm(f.DBEdit25, "7");
        // The activation after the post's box decides the sign-on anew.
        QVERIFY(QDir::current().remove(QStringLiteral("SaltaCad.db")));
        clica(f.DBNavigator1, widgets::DBNavigator::Gravar);
        QVERIFY(j.volta());
        QVERIFY(f.PainelLogin->isVisible());
        j.mensagens.limpa();
        j.mensagens.respostas = {false};
        QTest::mouseClick(f.BotCancSenha, Qt::LeftButton);
        QCOMPARE(j.mensagens.textos,
                 std::vector<std::string>{"Fechar mesmo assim? A alteração não gravada será perdida."_w});
        QVERIFY(f.isVisible());
        QVERIFY(f.PainelLogin->isVisible());
        QVERIFY(f.EditNome->isEnabled());
        QCOMPARE(f.botaoCancelar(), f.BotCancSenha);
    }

    // The settings' background colour is the form's and its main panel's; the
    // editors, the colour list, the login name box and the grids keep the
    // system's colours, and so do the panels laid over the main one.
    void corDeFundoSoNoFormularioENoPainel() {
        Janela j({.configuracoes = {{"COR DE FUNDO DAS TELAS.........................:", "$00E0E8D8"}}});
        auto& f = *j.form;
        const QColor fundo(0xD8, 0xE8, 0xE0);
        const auto cor = [](QWidget* w, QPalette::ColorRole papel) { return w->palette().color(QPalette::Active, papel); };
        QCOMPARE(cor(&f, QPalette::Window), fundo);
        QCOMPARE(cor(f.PainelComponentes, QPalette::Window), fundo);
        const QPalette sistema = QApplication::palette();
        for (QWidget* w : std::initializer_list<QWidget*>{f.DBEdit1, f.DBEdit2, f.ComboBox1, f.EditNome,
                                                          f.GradeComponentes, f.GradeCompNomes, f.DBGridUltimaCompra})
            QVERIFY2(cor(w, QPalette::Base) == sistema.color(QPalette::Active, QPalette::Base),
                     qPrintable(w->objectName()));
        QCOMPARE(cor(f.BotFecharComp, QPalette::Button), sistema.color(QPalette::Active, QPalette::Button));
        for (QWidget* w : std::initializer_list<QWidget*>{f.PainelLogin, f.pnlTabelaComp, f.PainelPesqComp,
                                                          f.pnl_UltimaCompra})
            QVERIFY2(cor(w, QPalette::Window) != fundo, qPrintable(w->objectName()));
    }
};

QTEST_MAIN(TestFormPellora)
#include "tst_formpellora.moc"
