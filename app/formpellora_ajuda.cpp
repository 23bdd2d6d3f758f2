// Context help: the subject of each control and the help window.
#include "app/formpellora.h"

#include "app/campos.h"
#include "app/filtroeventos.h"

#include <vector>

#include "form/widgets/dbedit.h"
#include "form/widgets/dbnavigator.h"
#include "help/assunto.h"
#include "help/form2.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <array>
#include <functional>
#include <memory>
#include <utility>

using namespace plataforma::literais;

namespace {

constexpr const char* kAssuntoGeral = "CADASTRO DE MATÉRIAS PRIMAS ALOPÁTICAS"_w;

// The help subject of each control that has one, as the pages are keyed; the
// field editors' are in the field table.
const std::pair<const char*, const char*> kAssuntos[] = {
    {"DBNavigator1", "NAVEGADOR"},
    {"BotPesqcomp", "PESQUISAR"},
    {"botgradecomp", "TABELA"},
    {"BotFecharComp", "FECHAR - Cad. Matérias Primas"_w},
    {"NomeComponente", "PESQUISAR DESCRIÇÃO"_w},
    {"EditNome", "IDENTIFICAÇÃO DO USUÁRIO"_w},
    {"EditSenhaU", "IDENTIFICAÇÃO DO USUÁRIO"_w},
};

bool teclaF1(QEvent* e) {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* k = static_cast<QKeyEvent*>(e);
    return k->key() == Qt::Key_F1 && k->modifiers() == Qt::NoModifier;
}

void filtra(QObject* alvo, std::function<bool(QEvent*)> funcao) { aparencia::filtraEventos(alvo, std::move(funcao)); }

}  // namespace

std::string FormPellora::assuntoDoControle(const std::string& nomeControle) {
    if (const auto* campo = aplicacao::campoFormulario(nomeControle)) return campo->assunto ? campo->assunto : "";
    for (const auto& [nome, assunto] : kAssuntos)
        if (nomeControle == nome) return assunto;
    return {};
}

// A control without a subject of its own leaves the current one as it was.
void FormPellora::defineAssuntoDoControle(const std::string& nomeControle) {
    const std::string assunto = assuntoDoControle(nomeControle);
    if (!assunto.empty()) AssuntoAtual = assunto;
}

void FormPellora::criaMenuAjuda() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    ManualdeOperao1 = PopupMenu1->addAction(QStringLiteral("Ajuda"));
    ManualdeOperao1->setObjectName(QStringLiteral("ManualdeOperao1"));
    connect(ManualdeOperao1, &QAction::triggered, this,
            [this] { plataforma::protegido([this] { ManualdeOperao1Click(); }); });

    using Manipulador = void (FormPellora::*)();
    auto menuComAssunto = [this](QWidget* w, Manipulador m) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w, m](const QPoint& p) {
            if (m) (this->*m)();
            PopupMenu1->popup(w->mapToGlobal(p));
        });
        // A disabled control takes no right-click; its help is offered all the same.
        filtra(w, [this, w, m](QEvent* e) {
            if (e->type() != QEvent::ContextMenu || w->isEnabled()) return false;
            if (m) (this->*m)();
            PopupMenu1->popup(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        });
    };
    // The field editors and their subject handlers, used by the menu and by F1.
    std::vector<std::pair<widgets::DBEdit*, Manipulador>> editores;
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i) editores.emplace_back(editores_[i], campos[i].menuDeContexto);
    for (auto [e, m] : editores) {
        e->setContextMenu(PopupMenu1);
        e->OnContextPopup = [this, m = m] { (this->*m)(); };
    }
    DBNavigator1->setContextMenu(PopupMenu1);
    DBNavigator1->OnContextPopup = [this] { DBNavigator1ContextPopup(); };
    menuComAssunto(BotPesqcomp, &FormPellora::BotPesqcompContextPopup);
    menuComAssunto(botgradecomp, &FormPellora::botgradecompContextPopup);
    menuComAssunto(BotFecharComp, &FormPellora::BotFecharCompContextPopup);
    menuComAssunto(NomeComponente, &FormPellora::NomeComponenteContextPopup);
    menuComAssunto(Label357, nullptr);
    menuComAssunto(PainelComponentes, nullptr);

    // The login panel has no help menu: the subject is set and the box keeps its
    // standard text menu.
    filtra(EditNome, [this](QEvent* e) {
        if (e->type() == QEvent::ContextMenu) EditNomeContextPopup();
        return false;
    });
    filtra(EditSenhaU, [this](QEvent* e) {
        if (e->type() == QEvent::ContextMenu) EditSenhaUContextPopup();
        return false;
    });

    // F1 on a control with a subject opens its help, as right-click and "Ajuda" do
    // (not on the login panel: nobody is signed on to write pages yet). A
    // disabled control takes no focus: F1 with the pointer on a locked field
    // editor, a disabled main button or the navigator opens its page.
    const std::array<std::pair<QWidget*, Manipulador>, 3> botoes{{
        {BotPesqcomp, &FormPellora::BotPesqcompContextPopup},
        {botgradecomp, &FormPellora::botgradecompContextPopup},
        {BotFecharComp, &FormPellora::BotFecharCompContextPopup}}};
    const auto travadoSobOPonteiro = [this, editores, botoes]() -> Manipulador {
        QWidget* sob = PainelComponentes->childAt(PainelComponentes->mapFromGlobal(QCursor::pos()));
        if (!sob || sob->isEnabled()) return nullptr;
        for (auto [e, m] : editores)
            if (sob == e) return m;
        for (auto [b, m] : botoes)
            if (sob == b) return m;
        if (DBNavigator1->isAncestorOf(sob)) return &FormPellora::DBNavigator1ContextPopup;
        return nullptr;
    };
    std::vector<std::pair<QWidget*, Manipulador>> comAssunto = {
        {DBNavigator1, &FormPellora::DBNavigator1ContextPopup},
        {BotPesqcomp, &FormPellora::BotPesqcompContextPopup},
        {botgradecomp, &FormPellora::botgradecompContextPopup},
        {BotFecharComp, &FormPellora::BotFecharCompContextPopup},
        {NomeComponente, &FormPellora::NomeComponenteContextPopup}};
    for (auto [e, m] : editores) comAssunto.emplace_back(e, m);
    for (auto [w, m] : comAssunto) {
        filtra(w, [this, m = m, travadoSobOPonteiro](QEvent* e) {
            if (!teclaF1(e)) return false;
            const Manipulador travado = travadoSobOPonteiro();
            (this->*(travado ? travado : m))();
            plataforma::protegido([this] { ManualdeOperao1Click(); });
            return true;
        });
    }

    // A pointer moving over a control that passes the move on to the panel (a
    // button) is not over the bare panel: the move stops here.
    filtra(PainelComponentes, [this](QEvent* e) {
        if (e->type() != QEvent::MouseMove) return false;
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        return PainelComponentes->childAt(p) != nullptr;
    });

    const std::string pasta = plataforma::pastaSuite();
    MediaPlayer1Arquivo = plataforma::paraQString(pasta + "manual" + pasta.back() + "video2.mp4");
}

void FormPellora::ManualdeOperao1Click() {
    // The pages are written by signed-on users only: no help before the sign-on.
    if (!dm_ || estado_.login) return;
    // A new window for every request, released when the user closes it.
    auto janela = std::make_unique<Form2>(dm_, this);
    janela->exec();
}

void FormPellora::PainelComponentesMouseMove() { AssuntoAtual = kAssuntoGeral; }
void FormPellora::PainelComponentesEnter() { AssuntoAtual = kAssuntoGeral; }
void FormPellora::DBNavigator1Enter() { AssuntoAtual = "NAVEGADOR"; }

// Nothing ever starts the video manual; its panel only goes away.
void FormPellora::PainelManualDblClick() { PainelManual->hide(); }
