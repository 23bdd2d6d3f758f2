// The data-aware controls over a capsule dataset held in memory: no server.
#include "data/catalogo.h"
#include "data/provedormemoria.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "form/widgets/dbrichedit.h"
#include "form/widgets/dbrotulo.h"
#include "form/widgets/saidagrade.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/text.h"
#include "support/caixas.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QShortcut>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace widgets;
using regras::Decimal;
using dados::Estado;
using regras::Valor;
using namespace plataforma::literais;

namespace {
// Types text the way a keyboard does; characters beyond ASCII as bare text.
void digita(QWidget* w, const QString& texto) {
    for (const QChar ch : texto) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(w, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// A ';'-separated file as a spreadsheet reads it: quoted fields, doubled quotes.
QList<QStringList> leCsv(const QString& texto) {
    QList<QStringList> linhas(1);
    QString campo;
    bool aspas = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (aspas && c == '"' && i + 1 < texto.size() && texto[i + 1] == '"') {
            campo += c;
            ++i;
        } else if (c == '"') {
            aspas = !aspas;
        } else if (!aspas && (c == ';' || c == '\r')) {
            linhas.last() << campo;
            campo.clear();
            if (c == '\r') linhas.append(QStringList());
        } else if (aspas || c != '\n') {
            campo += c;
        }
    }
    linhas.removeLast();  // after the last line end
    return linhas;
}
// A read-only list's whole chain, open: its rows in memory, provider, dataset, source.
struct Lista {
    Lista(const std::string& nome, const std::vector<dados::DefCampo>& colunas,
          std::vector<std::vector<Valor>> linhas)
        : dsp("DSP_" + nome, colunas), cds(nome, &dsp), fonte("DS_" + nome, &cds) {
        dsp.tabela.linhas = std::move(linhas);
        cds.defineCampos(colunas);
        cds.open();
    }
    dados::ProvedorMemoria dsp;
    dados::ClientDataSet cds;
    dados::DataSource fonte;
};

dados::DefCampo coluna(const char* nome, dados::TipoCampo tipo, int tamanho = 0, int escala = 0) {
    return {nome, tipo, tamanho, escala, false, false, {}};
}
}  // namespace

class TstWidgets : public QObject {
    Q_OBJECT

    std::unique_ptr<dados::ProvedorMemoria> dsp_;
    std::unique_ptr<dados::ClientDataSet> ds_;
    std::unique_ptr<dados::DataSource> fonte_;
    std::unique_ptr<QWidget> janela_;
    std::unique_ptr<caixasteste::Respondedor> mensagens_;  // the real boxes, answered by keys

    dados::ClientDataSet& ds() { return *ds_; }
    std::string valorAtual(const char* campo) { return ds().fieldByName(campo).comoTexto(); }

    void insere(const char* codigo, const char* descricao, Decimal custo) {
        const auto& t = dsp_->tabela;
        std::vector<Valor> linha(t.colunas.size());
        linha[static_cast<std::size_t>(t.indice("CODIGO"))] = std::string(codigo);
        linha[static_cast<std::size_t>(t.indice("COMPONENTE"))] = std::string(descricao);
        linha[static_cast<std::size_t>(t.indice("GRUPO"))] = std::string("CAP");
        linha[static_cast<std::size_t>(t.indice("UNID"))] = std::string("un");
        linha[static_cast<std::size_t>(t.indice("CUSTOUNITR"))] = custo;
        dsp_->tabela.linhas.push_back(std::move(linha));
    }

    // A window holding the controls, shown and active so that focus moves.
    template <class W>
    W* poe(W* w) {
        janela_->layout()->addWidget(w);
        return w;
    }
    void mostra() {
        janela_->show();
        QVERIFY(QTest::qWaitForWindowActive(janela_.get()));
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        dsp_ = std::make_unique<dados::ProvedorMemoria>("DSP_Componen", dados::camposComponen());
        insere("000001", "Capsula 0 azul", Decimal{12345, 1});  // 1234.5
        insere("000002", "Capsula 1 branca", Decimal{47, 3});   // 0.047
        insere("000003", "Capsula 2 verde", Decimal{2, 2});     // 0.02
        insere("000004", "Capsula 3 rosa", Decimal{1, 0});
        ds_ = std::make_unique<dados::ClientDataSet>("Componentes", dsp_.get());
        ds_->defineCampos(dados::camposComponen());
        fonte_ = std::make_unique<dados::DataSource>("DS_Componentes", ds_.get());
    }

    // Every test starts on the first capsule, browsing, with nothing pending.
    void init() {
        ds().close();
        ds().open();
        janela_ = std::make_unique<QWidget>();
        new QVBoxLayout(janela_.get());
        mensagens_ = std::make_unique<caixasteste::Respondedor>();
    }
    void cleanup() {
        janela_.reset();
        mensagens_.reset();
    }
    void cleanupTestCase() {
        fonte_.reset();
        ds_.reset();
        QLocale::setDefault(QLocale::c());
    }

    void editMostraFormatoAoNavegarEValorAoEditar() {
        auto* custo = poe(new DBEdit);
        custo->liga(fonte_.get(), "CUSTOUNITR");
        auto* descricao = poe(new DBEdit);
        descricao->liga(fonte_.get(), "COMPONENTE");
        QCOMPARE(custo->text(), QString("1.234,5000"));
        QVERIFY(custo->alignment() & Qt::AlignRight);
        QCOMPARE(descricao->maxLength(), 70);
        // While the record is edited only the edit with the caret shows the plain value.
        mostra();
        descricao->setFocus();
        ds().edit();
        QCOMPARE(custo->text(), QString("1.234,5000"));
        custo->setFocus();
        QCOMPARE(custo->text(), QString("1234,5"));
        descricao->setFocus();
        QCOMPARE(custo->text(), QString("1.234,5000"));
        ds().cancel();
        QCOMPARE(custo->text(), QString("1.234,5000"));
        ds().next();
        QCOMPARE(custo->text(), QString("0,0470"));
        QCOMPARE(descricao->text(), QString("Capsula 1 branca"));
        ds().close();
        QCOMPARE(custo->text(), QString());
    }

    void digitarComecaAEdicaoSoOndePode() {
        auto* custo = poe(new DBEdit);
        custo->liga(fonte_.get(), "CUSTOUNITR");
        auto* descricao = poe(new DBEdit);
        descricao->liga(fonte_.get(), "COMPONENTE");
        mostra();

        // A letter cannot be part of a number: beep, nothing typed, no edit.
        const int bipes = plataforma::contagemBipes();
        QTest::keyClick(custo, 'a');
        QTest::keyClick(custo, '/');
        QCOMPARE(plataforma::contagemBipes(), bipes + 2);
        QCOMPARE(ds().state(), Estado::Navegando);
        QCOMPARE(custo->text(), QString("1.234,5000"));

        descricao->setReadOnly(true);
        QTest::keyClicks(descricao, "x");
        QCOMPARE(ds().state(), Estado::Navegando);
        descricao->setReadOnly(false);
        descricao->setAutoEdit(false);
        QTest::keyClicks(descricao, "x");
        QCOMPARE(ds().state(), Estado::Navegando);
        QCOMPARE(descricao->text(), QString("Capsula 0 azul"));

        descricao->setAutoEdit(true);
        descricao->end(false);
        digita(descricao, QString::fromUtf8(" lilás"));
        QCOMPARE(ds().state(), Estado::Editando);
        QCOMPARE(descricao->texto(), std::string("Capsula 0 azul lilás"_w));
        // A digit is welcome in a number; the record is already being edited.
        custo->selectAll();
        digita(custo, "2,5");
        QCOMPARE(custo->text(), QString("2,5"));
    }

    void ganchoDeTeclaRecebeOCaractere() {
        auto* descricao = poe(new DBEdit);
        descricao->liga(fonte_.get(), "COMPONENTE");
        std::vector<int> vistos;
        descricao->OnKeyPress = [&](char& c) {
            vistos.push_back(static_cast<unsigned char>(c));
            if (c == 13 || c == 'z') c = 0;
            if (c == 'q') c = 'Q';
        };
        ds().edit();
        descricao->setText("");
        digita(descricao, QString::fromUtf8("zqé"));
        QTest::keyClick(descricao, Qt::Key_Return);
        QCOMPARE(vistos, (std::vector<int>{'z', 'q', 0xE9, 13}));
        QCOMPARE(descricao->texto(), std::string("Qé"_w));
    }

    void escDevolveOValorOuSegueParaOFormulario() {
        auto* descricao = poe(new DBEdit);
        descricao->liga(fonte_.get(), "COMPONENTE");
        int cancelamentos = 0;
        auto* atalho = new QShortcut(Qt::Key_Escape, janela_.get());
        connect(atalho, &QShortcut::activated, [&] { ++cancelamentos; });
        mostra();
        descricao->setFocus();
        ds().edit();
        descricao->end(false);
        QTest::keyClicks(descricao, "xyz");
        QTest::keyClick(descricao, Qt::Key_Escape);
        QCOMPARE(descricao->text(), QString("Capsula 0 azul"));
        QCOMPARE(descricao->selectedText(), descricao->text());
        QCOMPARE(cancelamentos, 0);
        QTest::keyClick(descricao, Qt::Key_Escape);  // nothing to put back: the form's Esc
        QCOMPARE(cancelamentos, 1);
        QCOMPARE(ds().state(), Estado::Editando);
    }

    void sairGravaNoCampoAntesDoOnExit() {
        auto* custo = poe(new DBEdit);
        custo->liga(fonte_.get(), "CUSTOUNITR");
        auto* outro = poe(new QLineEdit);
        std::vector<std::string> eventos;
        custo->OnEnter = [&] { eventos.push_back("enter"); };
        custo->OnExit = [&] { eventos.push_back("exit " + valorAtual("CUSTOUNITR")); };
        mostra();
        custo->setFocus();
        QTRY_VERIFY(custo->hasFocus());
        ds().edit();
        custo->selectAll();
        digita(custo, "0,25");
        outro->setFocus();
        QCOMPARE(eventos, (std::vector<std::string>{"enter", "exit 0,25"}));

        // Focus that goes away with the window and comes back is no exit nor entry.
        custo->setFocus();
        QTRY_VERIFY(custo->hasFocus());
        QWidget outraJanela;
        outraJanela.show();
        outraJanela.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&outraJanela));
        janela_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(janela_.get()));
        QTRY_VERIFY(custo->hasFocus());
        QCOMPARE(eventos.size(), std::size_t(3));

        // A text that is not a number stays in the edit, with the error shown.
        custo->selectAll();
        digita(custo, "1-2");
        outro->setFocus();
        QCOMPARE(mensagens_->textos.size(), std::size_t(1));
        QTRY_VERIFY(custo->hasFocus());
        QCOMPARE(eventos.size(), std::size_t(3));  // no exit, and no entry again
        QCOMPARE(valorAtual("CUSTOUNITR"), std::string("0,25"));
    }

    void navegadorSegueOEstadoEGravaODigitado() {
        auto* nav = poe(new DBNavigator);
        nav->liga(fonte_.get());
        auto* descricao = poe(new DBEdit);
        descricao->liga(fonte_.get(), "COMPONENTE");
        mostra();
        auto habilitados = [&] {
            QString s;
            for (int b = 0; b < DBNavigator::quantidadeBotoes; ++b)
                s += nav->botao(static_cast<DBNavigator::Botao>(b))->isEnabled() ? '1' : '0';
            return s;
        };
        QCOMPARE(habilitados(), QString("0011111001"));  // first row
        nav->clica(DBNavigator::Ultimo);
        QCOMPARE(habilitados(), QString("1100111001"));
        QCOMPARE(ds().recNo(), 4);
        nav->clica(DBNavigator::Primeiro);

        // Clicking does not take the focus from the edit the user is in.
        descricao->setFocus();
        QTRY_VERIFY(descricao->hasFocus());
        QVERIFY(nav->focusPolicy() == Qt::NoFocus);
        QTest::mouseClick(nav->botao(DBNavigator::Editar), Qt::LeftButton);
        QCOMPARE(ds().state(), Estado::Editando);
        QVERIFY(descricao->hasFocus());
        QCOMPARE(habilitados(), QString("0000000110"));

        // Post stores the text still in the edit.
        descricao->end(false);
        QTest::keyClicks(descricao, " fosca");
        QTest::mouseClick(nav->botao(DBNavigator::Gravar), Qt::LeftButton);
        QCOMPARE(ds().state(), Estado::Navegando);
        QCOMPARE(valorAtual("COMPONENTE"), std::string("Capsula 0 azul fosca"));

        ds().close();
        QCOMPARE(habilitados(), QString("0000000000"));
    }

    void navegadorPerguntaAntesDeExcluir() {
        DBNavigator nav;
        nav.liga(fonte_.get());
        mensagens_->respostas = {false, true};
        nav.clica(DBNavigator::Excluir);
        QCOMPARE(mensagens_->ultima(), std::string("Delete record?"));
        QCOMPARE(ds().recordCount(), 4);
        nav.clica(DBNavigator::Excluir);
        QCOMPARE(ds().recordCount(), 3);
        QCOMPARE(valorAtual("CODIGO"), std::string("000002"));
    }

    void menuDeContextoDepoisDoGancho() {
        auto* custo = poe(new DBEdit);
        custo->liga(fonte_.get(), "CUSTOUNITR");
        QMenu menu;
        menu.addAction("Ajuda");
        custo->setContextMenu(&menu);
        bool menuAbertoNoGancho = true;
        custo->OnContextPopup = [&] { menuAbertoNoGancho = menu.isVisible(); };
        mostra();
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), custo->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(custo, &e);
        QVERIFY(!menuAbertoNoGancho);
        QVERIFY(menu.isVisible());
        menu.close();
    }

    void gradeSegueORegistroAtual() {
        auto* grade = poe(new DBGrid);
        grade->liga(fonte_.get());
        QAbstractItemModelTester verificador(grade->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(grade->model()->columnCount(), 63);  // every field, in order
        QCOMPARE(grade->model()->headerData(1, Qt::Horizontal).toString(), QString("COMPONENTE"));
        grade->defineColunas({{"COMPONENTE", "Descrição da Cápsula"_w, 180},
                              {"CODIGO", "", 60, {}, false},
                              {"CUSTOUNITR", "Custo Unit. R$", 76}});
        QCOMPARE(grade->model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Descrição da Cápsula"));
        QCOMPARE(grade->model()->headerData(1, Qt::Horizontal).toString(), QString("CODIGO"));
        QCOMPARE(grade->columnWidth(0), 180);
        QVERIFY(grade->isColumnHidden(1));
        QCOMPARE(grade->textoCelula(0, 2), std::string("1.234,5000"));
        mostra();

        ds().moveTo(3);
        QCOMPARE(grade->currentIndex().row(), 2);
        QCOMPARE(grade->model()->headerData(2, Qt::Vertical).toString(), QString(QChar(0x25B6)));
        QCOMPARE(grade->model()->headerData(0, Qt::Vertical).toString(), QString());

        const QRect linha2 = grade->visualRect(grade->model()->index(1, 0));
        QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, linha2.center());
        QCOMPARE(ds().recNo(), 2);
        QTest::keyClick(grade, Qt::Key_Down);
        QCOMPARE(ds().recNo(), 3);
        QTest::keyClicks(grade, "C");  // letters do not move the record
        QCOMPARE(ds().recNo(), 3);

        // The row being edited shows the values being typed.
        ds().edit();
        ds().fieldByName("COMPONENTE").defineTexto("Outra");
        QCOMPARE(grade->textoCelula(2, 0), std::string("Outra"));
        QCOMPARE(grade->model()->headerData(2, Qt::Vertical).toString(), QString("I"));
        ds().cancel();
        ds().append();  // a row comes and goes
        QCOMPARE(grade->model()->rowCount(), 5);
        ds().cancel();
        QCOMPARE(grade->model()->rowCount(), 4);
    }

    void gradeCtrlDeletePergunta() {
        auto* grade = poe(new DBGrid);
        grade->liga(fonte_.get());
        grade->setColumnWidth(1, 123);  // as the user left it
        mensagens_->respostas = {false, true};
        QTest::keyClick(grade, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(mensagens_->textos, (std::vector<std::string>{"Delete record?"}));
        QCOMPARE(ds().recordCount(), 4);
        QTest::keyClick(grade, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(ds().recordCount(), 3);
        QCOMPARE(grade->model()->rowCount(), 3);
        QCOMPARE(grade->columnWidth(1), 123);
        grade->setReadOnly(true);
        QTest::keyClick(grade, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(mensagens_->textos.size(), std::size_t(2));
        QCOMPARE(ds().recordCount(), 3);
    }

    void gradeListraAsLinhasPares() {
        auto* grade = poe(new DBGrid);
        grade->liga(fonte_.get());
        grade->defineColunas({{"COMPONENTE", "", 200}});
        const QColor listra(212, 212, 212), selecionada(255, 255, 151);
        grade->OnDrawColumnCell = [&](int recNo, int, bool sel, CoresCelula& cores) {
            if (recNo % 2 == 0) cores.fundo = sel ? selecionada : listra;
        };
        mostra();
        auto fundo = [&](int linha) {
            const QRect r = grade->visualRect(grade->model()->index(linha, 0));
            return grade->viewport()->grab().toImage().pixelColor(r.right() - 3, r.center().y());
        };
        // The style may shade a selection a little: compare within a few steps.
        auto perto = [](const QColor& a, const QColor& b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 12;
        };
        QVERIFY(perto(fundo(1), listra));
        QVERIFY(!perto(fundo(2), listra));
        ds().moveTo(4);
        QVERIFY(perto(fundo(3), selecionada));
        ds().moveTo(3);
        QVERIFY(!perto(fundo(2), selecionada));
    }

    void textoLongoVaiParaOCampoComQuebrasCRLF() {
        auto* texto = poe(new DBRichEdit);
        texto->liga(fonte_.get(), "CONDARMAZENA");
        auto* titulo = poe(new DBRotulo);
        titulo->liga(fonte_.get(), "COMPONENTE");
        int mudancas = 0;
        texto->OnChange = [&] { ++mudancas; };
        mostra();
        QCOMPARE(titulo->texto(), std::string("Capsula 0 azul"));
        QVERIFY(titulo->alignment() & Qt::AlignHCenter);

        texto->setFocus();
        QTest::keyClicks(texto, "seco");
        QCOMPARE(ds().state(), Estado::Editando);
        QTest::keyClick(texto, Qt::Key_Return);
        QTest::keyClicks(texto, "frio");
        QVERIFY(mudancas >= 9);
        QCOMPARE(texto->texto(), std::string("seco\r\nfrio"));
        ds().post();
        QCOMPARE(valorAtual("CONDARMAZENA"), std::string("seco\r\nfrio"));
        QCOMPARE(texto->toPlainText(), QString("seco\nfrio"));
        ds().next();
        QCOMPARE(texto->toPlainText(), QString());
        QCOMPARE(titulo->texto(), std::string("Capsula 1 branca"));
    }

    // Literal rows: quotes and ';' inside the values, a hidden and a moved column.
    void gradeExportadaEmCsvLidaDeVolta() {
        using dados::TipoCampo;
        Lista c("Csv",
                {coluna("COMPONENTE", TipoCampo::Texto, 70), coluna("CUSTO", TipoCampo::Decimal, 15, 4),
                 coluna("OCULTA", TipoCampo::Texto, 1)},
                {{std::string("Capsula \"0\"; azul"), Decimal{12345, 1}, std::string("x")},
                 {std::string("Capsula 1 branca"), Decimal{47, 3}, std::string("y")}});
        auto* grade = poe(new DBGrid);
        grade->liga(&c.fonte);
        grade->defineColunas({{"COMPONENTE", "Descrição; \"entre aspas\""_w, 180},
                              {"CUSTO", "Custo", 80},
                              {"OCULTA", "Oculta", 40, {}, false}});
        grade->horizontalHeader()->moveSection(1, 0);

        QTemporaryDir pasta;
        const QString caminho = pasta.filePath("tabela.csv");
        QCOMPARE(gravaCsv(*grade, caminho), QString());
        QFile arquivo(caminho);
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        const QByteArray bytes = arquivo.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> esperadas{{"Custo", QString::fromUtf8("Descri\u00e7\u00e3o; \"entre aspas\"")},
                                           {"1234,5", "Capsula \"0\"; azul"},
                                           {"0,047", "Capsula 1 branca"}};
        QCOMPARE(leCsv(QString::fromUtf8(bytes.mid(3))), esperadas);
        QCOMPARE(c.cds.recNo(), 1);

        // A name that cannot be written: the reason, and no file under it.
        const QString impossivel = pasta.filePath("falta/tabela.csv");
        QVERIFY(!gravaCsv(*grade, impossivel).isEmpty());
        QVERIFY(!QFile::exists(impossivel));
    }

    // Two full pages and one row more make three numbered pages.
    void gradeImpressaEmPdf() {
        auto* grade = poe(new DBGrid);
        grade->defineColunas({{"A", "Tipo", 100}, {"B", "Nome", 300}});
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath("tabela.pdf");
        QPrinter impressora(QPrinter::HighResolution);
        impressora.setOutputFormat(QPrinter::PdfFormat);
        impressora.setOutputFileName(caminho);
        const int porPagina = linhasPorPagina(*grade, impressora);
        QVERIFY(porPagina > 10);
        std::vector<std::vector<Valor>> linhas;
        for (int i = 0; i < 2 * porPagina + 1; ++i)
            linhas.push_back({std::int64_t{i % 7}, std::string("TIPO_") + std::to_string(i)});
        Lista c("Lista", {coluna("A", dados::TipoCampo::Inteiro), coluna("B", dados::TipoCampo::Texto, 63)},
                std::move(linhas));
        grade->liga(&c.fonte);
        QCOMPARE(imprimeGrade(*grade, impressora, "Tabela"), 3);
        QFile arquivo(caminho);
        QVERIFY(arquivo.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(arquivo.readAll()).count(QRegularExpression("/Type\\s*/Page\\b")), 3);
        QCOMPARE(c.cds.recNo(), 1);
    }

    // Cells are read when drawn: a large dataset costs nothing per move.
    void gradeComCemMilLinhas() {
        std::vector<std::vector<Valor>> linhas;
        linhas.reserve(100000);
        for (int i = 0; i < 100000; ++i)
            linhas.push_back({std::int64_t{i % 13}, std::string("TIPO_") + std::to_string(i % 211), std::int64_t{i}});
        using dados::TipoCampo;
        Lista c("Lista",
                {coluna("A", TipoCampo::Inteiro), coluna("B", TipoCampo::Texto, 63), coluna("C", TipoCampo::Inteiro)},
                std::move(linhas));
        auto& lista = c.cds;
        QCOMPARE(lista.recordCount(), 100000);

        auto* grade = poe(new DBGrid);
        mostra();
        QElapsedTimer t;
        t.start();
        grade->liga(&c.fonte);
        for (int i = 0; i < 200; ++i) lista.moveTo(1 + i * 500);
        lista.last();
        QApplication::processEvents();
        QCOMPARE(grade->currentIndex().row(), lista.recordCount() - 1);
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        lista.close();
    }
};

QTEST_MAIN(TstWidgets)
#include "tst_widgets.moc"
