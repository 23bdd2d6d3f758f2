// Finding capsules: the description search, the pick list and the table.
#include "app/formpellora.h"

#include "form/widgets/aparencia.h"
#include "app/campos.h"
#include "app/filtroeventos.h"
#include "data/dm.h"
#include "rules/normalizacao.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "form/widgets/ligacao.h"
#include "form/widgets/saidagrade.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/text.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

#include <algorithm>

using namespace plataforma::literais;

using aparencia::arial;
using aparencia::pinta;
using plataforma::deQString;
using plataforma::paraQString;

namespace {

QFrame* painel(QWidget* pai, const char* nome) {
    auto* p = new QFrame(pai);
    p->setObjectName(QString::fromLatin1(nome));
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setAutoFillBackground(true);
    p->hide();
    return p;
}

QPushButton* botao(QWidget* pai, const char* nome, const char* texto, QRect r) {
    auto* b = new QPushButton(paraQString(texto), pai);
    b->setObjectName(QString::fromLatin1(nome));
    b->setFont(arial(13, true));
    b->setGeometry(r);
    return b;
}

}  // namespace

void FormPellora::criaPaineisPesquisa() {
    QWidget* p = PainelComponentes;

    // Search entry.
    Panel9 = painel(p, "Panel9");
    pinta(Panel9, QToolTip::palette().color(QPalette::ToolTipBase));
    Label41 = new QLabel(paraQString("Digite a descrição da cápsula desejada e tecle <ENTER>"_w), Panel9);
    Label41->setObjectName(QStringLiteral("Label41"));
    Label41->setFont(arial(16));
    pinta(Label41, QColor(), aparencia::kAzulMarinho);
    Label41->setGeometry(16, 12, 609, 24);
    NomeComponente = new QLineEdit(Panel9);
    NomeComponente->setObjectName(QStringLiteral("NomeComponente"));
    NomeComponente->setFont(arial(16));
    NomeComponente->setMaxLength(32767);
    pinta(NomeComponente, aparencia::kAzulMarinho, Qt::white);
    NomeComponente->setGeometry(16, 46, 609, 32);
    aparencia::filtraEventos(NomeComponente, [this](QEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        char c = widgets::teclaDe(*static_cast<QKeyEvent*>(e)).caractere;
        return !widgets::passaPeloGancho([this](char& k) { NomeComponenteKeyPress(k); }, c);
    });

    // Pick list.
    PainelPesqComp = painel(p, "PainelPesqComp");
    Panel35 = aparencia::barraTitulo(PainelPesqComp, paraQString("Opções mais próximas"_w));
    Panel35->setObjectName(QStringLiteral("Panel35"));
    Panel35->setGeometry(2, 2, 594, 26);
    GradeCompNomes = new widgets::DBGrid(PainelPesqComp);
    GradeCompNomes->setObjectName(QStringLiteral("GradeCompNomes"));
    GradeCompNomes->setReadOnly(true);
    GradeCompNomes->setGeometry(6, 32, 586, 240);
    GradeCompNomes->OnKeyPress = [this](char& k) { GradeCompNomesKeyPress(k); };
    Label173 = new QLabel(QStringLiteral("Tecle  ENTER  para confirmar ou   ESC   para cancelar"), PainelPesqComp);
    Label173->setObjectName(QStringLiteral("Label173"));
    Label173->setFont(arial(13, true));
    pinta(Label173, QColor(), aparencia::kAzulMarinho);
    Label173->setGeometry(10, 284, 400, 24);
    AceitaComp = botao(PainelPesqComp, "AceitaComp", "Enter", {420, 280, 82, 30});
    AceitaComp->setDefault(true);
    AbandonaPesqComp = botao(PainelPesqComp, "AbandonaPesqComp", "Esc", {508, 280, 82, 30});
    ligaClique(AceitaComp, &FormPellora::AceitaCompClick);
    ligaClique(AbandonaPesqComp, &FormPellora::AbandonaPesqCompClick);

    // Table.
    pnlTabelaComp = painel(p, "pnlTabelaComp");
    Panel2 = aparencia::barraTitulo(pnlTabelaComp, paraQString("Tabela de Cápsulas"_w));
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(2, 2, 765, 26);
    GradeComponentes = new widgets::DBGrid(pnlTabelaComp);
    GradeComponentes->setObjectName(QStringLiteral("GradeComponentes"));
    GradeComponentes->setGeometry(4, 30, 761, 412);
    // The field table's columns, in the capsule table's own order.
    std::vector<std::pair<int, widgets::ColunaGrade>> colunas;
    for (const aplicacao::CampoFormulario& c : aplicacao::camposFormulario())
        if (c.tabela.posicao >= 0) colunas.push_back({c.tabela.posicao, {c.coluna, c.tabela.titulo, c.tabela.largura}});
    std::ranges::sort(colunas, {}, &std::pair<int, widgets::ColunaGrade>::first);
    std::vector<widgets::ColunaGrade> grade;
    for (auto& [posicao, coluna] : colunas) grade.push_back(std::move(coluna));
    GradeComponentes->defineColunas(std::move(grade));
    GradeComponentes->OnDrawColumnCell = [this](int recNo, int coluna, bool selecionada, widgets::CoresCelula& c) {
        GradeComponentesDrawColumnCell(recNo, coluna, selecionada, c);
    };
    GradeComponentes->setFont(aparencia::fonteGrade());
    widgets::ofereceExportacaoEImpressao(GradeComponentes, Panel2->text());
    BitBtn13 = botao(pnlTabelaComp, "BitBtn13", "&Fechar Tabela de Componentes", {4, 446, 761, 33});
    ligaClique(BitBtn13, &FormPellora::BitBtn13Click);
}

// ---------------------------------------------------------------- search entry

namespace {
using Painel = EstadoJanela::Painel;

// The capsule alone again, its buttons on (HabilitaBotoes): what every way out
// of a search or the table ends in.
EstadoJanela soACapsula(const EstadoJanela& e) { return e.comPainel(Painel::Nenhum).comBotoes(true); }
}  // namespace

// DesabilitaBotoes, the box shown with the focus; Esc belongs to the box while
// it is open. The box keeps the text of the previous search.
void FormPellora::BotPesqcompClick() {
    mudaEstado(estado_.comPainel(Painel::Pesquisa).comBotoes(false), NomeComponente);
}

void FormPellora::NomeComponenteKeyPress(char& key) {
    if (key == 13) {
        key = 0;
        if (!NomeComponente->text().isEmpty()) {
            PesquisaDescricao();
            return;
        }
        mudaEstado(soACapsula(estado_), BotPesqcomp);
    } else if (key == 27) {
        key = 0;  // the form's cancel button, back with the capsule, must not take it too
        mudaEstado(soACapsula(estado_));
    }
}

void FormPellora::PesquisaDescricao() {
    const std::string t = regras::NormalizaDescricao(deQString(NomeComponente->text()));
    NomeComponente->setText(paraQString(t));
    const std::size_t achadas = dm_->pesquisaPorDescricao(t);
    if (achadas == 0) {
        plataforma::mostraMensagem(
            "Não foi encontrado nenhum componente com a descrição iniciada por \""_w + t + "\".");
        // The box stays open for the user to correct the text; of the buttons
        // only "&Fechar" comes back, as nothing opens over the box.
        HabilitaBotoes();
        return;
    }
    if (achadas == 1) {
        dm_->vaiParaEscolhida();
        dm_->fechaPesquisa();
        mudaEstado(soACapsula(estado_), BotPesqcomp);
        return;
    }
    mudaEstado(estado_.comPainel(Painel::Escolha), GradeCompNomes);
}

// ---------------------------------------------------------------- pick list

// Both exits hand the focus to "Pesquisar", as a search with one match does.
void FormPellora::AceitaCompClick() {
    dm_->vaiParaEscolhida();
    mudaEstado(soACapsula(estado_), BotPesqcomp);
    dm_->fechaPesquisa();
}

void FormPellora::AbandonaPesqCompClick() {
    mudaEstado(soACapsula(estado_), BotPesqcomp);
    dm_->fechaPesquisa();
}

void FormPellora::GradeCompNomesKeyPress(char& key) {
    if (key == 13) {
        key = 0;
        AceitaCompClick();
    } else if (key == 27) {
        key = 0;
        AbandonaPesqCompClick();
    }
}

// ---------------------------------------------------------------- table

// DesabilitaBotoes and BloqueiaCampos, the table shown with the navigator off.
void FormPellora::botgradecompClick() {
    mudaEstado(estado_.comPainel(Painel::Tabela).comBotoes(false).comEdicao(false), GradeComponentes);
}

// HabilitaBotoes and BloqueiaCampos, the table hidden, the description focused.
void FormPellora::BitBtn13Click() { mudaEstado(soACapsula(estado_).comEdicao(false), DBEdit1); }

void FormPellora::GradeComponentesDrawColumnCell(int recNo, int, bool selecionada, widgets::CoresCelula& cores) {
    if (recNo % 2 != 0) return;
    const QPalette dica = QToolTip::palette();
    if (selecionada) {
        cores.fundo = QColor(255, 255, 151);
        cores.texto = dica.color(QPalette::ToolTipText);
    } else {
        cores.fundo = dica.color(QPalette::ToolTipBase);
        cores.texto = GradeComponentes->palette().color(QPalette::Text);
    }
}
