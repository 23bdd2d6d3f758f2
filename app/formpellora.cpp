#include "app/formpellora.h"

#include "app/acessibilidade.h"
#include "app/campos.h"
#include "form/widgets/aparencia.h"

#include "data/dm.h"
#include "data/dm2.h"
#include "rules/cores.h"
#include "rules/normalizacao.h"
#include "rules/preco.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "form/widgets/ligacao.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/text.h"
#include "settings/cores.h"
#include "settings/settings.h"
#include "signon/sessao.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <functional>
#include <utility>

using namespace plataforma::literais;

using plataforma::deQString;
using plataforma::paraQString;
using aparencia::arial;
using aparencia::arialArredondada;
using aparencia::pinta;

FormPellora::FormPellora(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormPellora"));
    setWindowTitle(paraQString("  Cadastro de Cápsulas"_w));
    criaControles();
    criaPainelLogin();
    criaPaineisPesquisa();
    criaPainelCompras();
    criaMenuAjuda();
    registraPaineis();
    aplicacao::nomeiaControles(*this);
    ligaEventos();
    FormCreate();
}

FormPellora::~FormPellora() {
    if (dm_) dm_->defineFormulario(nullptr);
    // Hide while the window is still whole: the focus and activation events of
    // hiding reach handlers that use its members, which the base destructor
    // would otherwise deliver to a half-destroyed window.
    disconnect(qApp, nullptr, this, nullptr);
    hide();
}

// ---------------------------------------------------------------- controls

void FormPellora::criaControles() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PainelComponentes = new QFrame(this);
    PainelComponentes->setObjectName(QStringLiteral("PainelComponentes"));
    // The panel itself never takes the focus (a click on a bare spot keeps the
    // editor's); focus coming into it from outside counts as entering it.
    PainelComponentes->setFocusPolicy(Qt::NoFocus);
    PainelComponentes->setMouseTracking(true);
    PainelComponentes->installEventFilter(this);
    layout->addWidget(PainelComponentes);
    QWidget* p = PainelComponentes;

    DBNavigator1 = new widgets::DBNavigator(p);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(12, 10, 290, 65);

    auto botao = [p](const char* nome, const char* texto, QRect r) {
        auto* b = new QPushButton(paraQString(texto), p);
        b->setObjectName(QString::fromLatin1(nome));
        b->setGeometry(r);
        b->setFocusPolicy(Qt::ClickFocus);
        b->setAutoDefault(false);
        b->setMouseTracking(true);
        return b;
    };
    BotPesqcomp = botao("BotPesqcomp", "Pes&quisar", {306, 10, 153, 65});
    botgradecomp = botao("botgradecomp", "&Tabela", {463, 10, 153, 31});
    BitBtnUltimaCompra = botao("BitBtnUltimaCompra", "Última Compra"_w, {464, 44, 152, 31});
    BitBtnUltimaCompra->setFocusPolicy(Qt::StrongFocus);
    BotFecharComp = botao("BotFecharComp", "&Fechar", {620, 10, 153, 65});
    for (auto* b : {BotPesqcomp, botgradecomp, BitBtnUltimaCompra, BotFecharComp}) b->setFont(arial(13, true));

    Bevel1 = new QFrame(p);
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setGeometry(51, 413, 344, 50);

    // The field editors, each after its caption, which names it for screen readers.
    for (const aplicacao::CampoFormulario& c : aplicacao::camposFormulario()) {
        auto* l = new QLabel(paraQString(c.rotulo), p);
        if (c.nomeRotulo) l->setObjectName(QString::fromLatin1(c.nomeRotulo));
        l->setFont(arial(16));
        pinta(l, QColor(), c.rotuloPreto ? QColor(Qt::black) : aparencia::kAzulMarinho);
        l->adjustSize();
        l->move(c.posicaoRotulo);
        auto* e = new widgets::DBEdit(p);
        e->setObjectName(QString::fromLatin1(c.controle));
        e->setGeometry(c.geometria);
        e->setFont(c.destaque ? arialArredondada(19) : arial(16));
        if (c.somenteLeitura) e->setReadOnly(true);
        if (c.tabulacao != aplicacao::Tabulacao::Parada) e->setFocusPolicy(Qt::ClickFocus);
        if (c.ponteiro) e->setMouseTracking(true);
        l->setBuddy(e);
        if (c.membro) this->*c.membro = e;
        editores_.push_back(e);
    }
    Label357 = p->findChild<QLabel*>(QStringLiteral("Label357"), Qt::FindDirectChildrenOnly);

    // The colour group.
    Bevel2 = new QFrame(p);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel2->setGeometry(392, 137, 328, 56);
    Label3 = new QLabel(paraQString(" Selecionar a cor da cápsula "_w), p);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(arial(13, true));
    Label3->setAutoFillBackground(true);
    Label3->adjustSize();
    Label3->move(408, 129);
    Label1 = new QLabel(QStringLiteral("Cor"), p);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(arial(13, true));
    pinta(Label1, QColor(), QColor(0, 128, 0));
    Label1->setToolTip(QStringLiteral("Recarregar cores"));
    Label1->setGeometry(401, 158, 25, 16);
    Label1->installEventFilter(this);
    ComboBox1 = new QComboBox(p);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(430, 156, 152, 24);
    ComboBox1->setFocusPolicy(Qt::ClickFocus);
    BitBtn1 = new QPushButton(QStringLiteral("<- Usar esta cor"), p);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFont(arial(13, true));
    pinta(BitBtn1, QColor(), QColor(0, 128, 0));
    BitBtn1->setGeometry(588, 154, 118, 25);
    BitBtn1->setFocusPolicy(Qt::NoFocus);
    Imagem1 = new QLabel(p);
    Imagem1->setObjectName(QStringLiteral("Imagem1"));
    Imagem1->setGeometry(423, 179, 257, 144);
    Imagem1->hide();
    Imagem1->installEventFilter(this);
    desenhaImagem1();

    // The video manual's panel: held, never shown by any operation.
    PainelManual = new QFrame(p);
    PainelManual->setObjectName(QStringLiteral("PainelManual"));
    pinta(PainelManual, Qt::black);
    PainelManual->hide();
    PainelManual->installEventFilter(this);

    // Tab order; the read-only editors sit in the chain but are no tab stops,
    // so Enter in them continues at the next stop.
    QWidget* anterior = nullptr;
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i) {
        if (campos[i].tabulacao == aplicacao::Tabulacao::Fora) continue;
        if (anterior) setTabOrder(anterior, editores_[i]);
        anterior = editores_[i];
    }
    setTabOrder(anterior, BitBtnUltimaCompra);
}

void FormPellora::ligaEventos() {
    // The financial fields' guards apply however the focus arrives at one: Tab,
    // a click, a rule's own move, or the window's activation coming back after
    // a box (under a window manager that comes after the handler that showed
    // the box, to whichever editor the focus was sent meanwhile).
    const auto campos = aplicacao::camposFormulario();
    connect(qApp, &QApplication::focusChanged, this, [this, campos](QWidget* antes, QWidget* agora) {
        const auto dentro = [this](QWidget* w) { return w && PainelComponentes->isAncestorOf(w); };
        if (dentro(agora) && !dentro(antes)) PainelComponentesEnter();
        if (agora == DBEdit4) DBEdit8Enter();
        for (std::size_t i = 0; i < campos.size(); ++i)
            if (agora == editores_[i] && campos[i].chegada) (this->*campos[i].chegada)();
    });

    // The exit rules are the user's leaving an editor, not the window taking the
    // focus from an editor it locks or hides.
    using Manipulador = void (FormPellora::*)();
    const auto liga = [this](std::function<void()>& evento, Manipulador h, bool saida = false) {
        if (!h) return;
        evento = [this, h, saida] {
            if (!(saida && tirandoFoco_)) (this->*h)();
        };
    };
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const aplicacao::CampoFormulario& c = campos[i];
        widgets::DBEdit* e = editores_[i];
        if (c.teclaPressionada) e->OnKeyPress = [this, h = c.teclaPressionada](char& k) { (this->*h)(k); };
        liga(e->OnEnter, c.entrada);
        liga(e->OnExit, c.saida, true);
        liga(e->OnClick, c.clique);
        liga(e->OnMouseMove, c.ponteiro);
    }
    for (auto* b : {BotFecharComp, BotPesqcomp, botgradecomp}) b->installEventFilter(this);

    ligaClique(BotFecharComp, &FormPellora::BotFecharCompClick);
    ligaClique(BotPesqcomp, &FormPellora::BotPesqcompClick);
    ligaClique(botgradecomp, &FormPellora::botgradecompClick);
    ligaClique(BitBtnUltimaCompra, &FormPellora::BitBtnUltimaCompraClick);
    ligaClique(BitBtn1, &FormPellora::BitBtn1Click);
    connect(ComboBox1, QOverload<int>::of(&QComboBox::activated), this,
            [this](int) { plataforma::protegido([this] { ComboBox1Click(); }); });
    DBNavigator1->OnEnter = [this] { DBNavigator1Enter(); };
}

void FormPellora::ligaClique(QPushButton* botao, void (FormPellora::*manipulador)()) {
    connect(botao, &QPushButton::clicked, this,
            [this, manipulador] { plataforma::protegido([this, manipulador] { (this->*manipulador)(); }); });
}

void FormPellora::defineModulos(dados::DM* dm, dados::DM2* dm2) {
    dm_ = dm;
    dm2_ = dm2;
    dm_->defineFormulario(this);
    DBNavigator1->liga(&dm_->DS_Componentes);
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i) editores_[i]->liga(&dm_->DS_Componentes, campos[i].coluna);
    if (DBEdit4) DBEdit4->liga(&dm_->DS_Componentes, "PRECOR");
    if (GradeComponentes) GradeComponentes->liga(&dm_->DS_Componentes);
    if (GradeCompNomes) GradeCompNomes->liga(&dm_->DS_CompNome);
    if (DBGridUltimaCompra) DBGridUltimaCompra->liga(&dm_->DS_SQLDataSet1);
}

// ---------------------------------------------------------------- frame

void FormPellora::FormCreate() {
    CorFundoTelas = kCorFaceBotao;
    aplicaCorDeFundo();
    resize(800, 600);
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - QPoint(400, 300));
    // A colour that is not a number is shown by the general error handler and
    // start-up goes on; a missing file ends the program inside.
    plataforma::protegido([] { LeConfiguracoes(); });
}

// The settings' colour is the form's and its main panel's; the panels laid over
// the main one keep the system's face, as the editors and buttons keep theirs.
bool FormPellora::aplicaCorDeFundo() {
    const QColor cor = corDaConfiguracao(CorFundoTelas);
    pinta(this, cor);
    pinta(PainelComponentes, cor);
    if (Label3) pinta(Label3, cor);
    for (QWidget* p : {PainelLogin, PainelPesqComp, pnlTabelaComp, pnl_UltimaCompra})
        if (p) pinta(p, corDaConfiguracao(kCorFaceBotao));
    return cor.isValid();
}

namespace {
bool emEdicao(const dados::ClientDataSet& ds) {
    return ds.state() == dados::Estado::Editando || ds.state() == dados::Estado::Inserindo;
}
}  // namespace

void FormPellora::FormActivate() {
    if (!dm_ || ativando_) return;
    const QScopedValueRollback<bool> ativando(ativando_, true);
    const bool primeira = !std::exchange(ativada_, true);
    // Whatever fails on the way, the window ends showing its state, usable.
    const auto reaplica = qScopeGuard([this] { aplicaEstado(); });

    dm_->Componentes.open();
    aplicaCorDeFundo();
    // The editors of a browsed record are locked; a record still being edited
    // (the return from a field's message) keeps them open.
    estado_.edicao = emEdicao(dm_->Componentes);
    // A reload that fails leaves the colour list as it was. Only the first
    // activation says why, after the sign-on decision: every later one follows
    // a box of this program, and one box bringing the next never ends while the
    // server is away.
    std::exception_ptr falhaCores;
    try {
        CarregaCores();
    } catch (const std::exception&) {
        falhaCores = std::current_exception();
    }
    DecidirLogin();
    if (falhaCores && primeira) std::rethrow_exception(falhaCores);
}

void FormPellora::BotFecharCompClick() { close(); }

void FormPellora::FormClose(bool& podeFechar) {
    podeFechar = true;
    if (!dm_) return;
    auto& ds = dm_->Componentes;
    try {
        gravaEditores();
        if (emEdicao(ds)) ds.post();
    } catch (const plataforma::Abortado&) {
        // A blank new capsule was refused and dropped with its message: the
        // window closes all the same. A value refused by its field's rule keeps
        // the record, and the window, for the user to correct it.
        if (emEdicao(ds)) {
            podeFechar = false;
            return;
        }
    } catch (const std::exception& e) {
        plataforma::trataErro(e);
        podeFechar = false;
        return;
    }
    try {
        ds.close();  // applies what is pending; asks before losing what cannot be stored
    } catch (const plataforma::Abortado&) {
        podeFechar = false;
        return;
    } catch (const std::exception& e) {
        plataforma::trataErro(e);
        podeFechar = false;
        return;
    }
    if (dm2_) dm2_->CotDolar.close();
}

void FormPellora::closeEvent(QCloseEvent* e) {
    bool podeFechar = true;
    FormClose(podeFechar);
    if (podeFechar)
        e->accept();
    else
        e->ignore();
}

void FormPellora::DesabilitaBotoes() { mudaEstado(estado_.comBotoes(false)); }
void FormPellora::HabilitaBotoes() { mudaEstado(estado_.comBotoes(true)); }
void FormPellora::BloqueiaCampos() { mudaEstado(estado_.comEdicao(false)); }
void FormPellora::LiberaCampos() { mudaEstado(estado_.comEdicao(true)); }

void FormPellora::mudaEstado(const EstadoJanela& novo, QWidget* foco) {
    estado_ = novo;
    aplicaEstado(foco);
}

void FormPellora::aplicaEstado(QWidget* foco) {
    using Painel = EstadoJanela::Painel;
    const EstadoJanela& e = estado_;
    const bool capsula = !e.login;
    const bool livre = capsula && e.painel == Painel::Nenhum;  // nothing over the capsule
    const PainelJanela& mostrado = painelDoEstado();

    // The capsule shows under the panel laid over it.
    std::vector<std::pair<QWidget*, bool>> visiveis = {{login_.quadro, e.login}};
    for (std::size_t i = 0; i < paineis_.size(); ++i) {
        const auto p = static_cast<Painel>(i);
        visiveis.emplace_back(paineis_[i].quadro, capsula && (p == Painel::Nenhum || p == e.painel));
    }
    // While a panel is open only "&Fechar" may be offered: nothing opens over a
    // panel, and the buttons are off anyway while a record is edited.
    const bool botoes = capsula && e.botoes;
    std::vector<std::pair<QWidget*, bool>> ligados = {
        {BotFecharComp, botoes},
        {botgradecomp, botoes && livre},
        {BotPesqcomp, botoes && livre},
        {BitBtnUltimaCompra, botoes && livre},
        {DBNavigator1, capsula && mostrado.navegador},
        {NomeComponente, e.edicao || (capsula && e.painel == Painel::Pesquisa)},  // locked with the editors, but for a search
    };
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i)
        ligados.emplace_back(editores_[i], campos[i].soEmEdicao ? e.edicao : capsula);

    // A control about to be hidden or locked gives up the focus first, to the
    // window itself: Qt would otherwise hand it along the tab chain, through
    // controls being locked, running their exit rules on the way.
    const auto perde = [](QWidget* atual, auto& lista) {
        for (const auto& [w, fica] : lista)
            if (!fica && (w == atual || w->isAncestorOf(atual))) return true;
        return false;
    };
    QWidget* atual = focusWidget();
    if (atual && atual != this && (perde(atual, visiveis) || perde(atual, ligados))) {
        const QScopedValueRollback<bool> tirando(tirandoFoco_, true);
        setFocus(Qt::OtherFocusReason);
        atual = this;
    }
    for (const auto& [w, visivel] : visiveis) {
        if (visivel && !w->isVisibleTo(this)) w->raise();
        w->setVisible(visivel);
    }
    for (const auto& [w, ligado] : ligados) w->setEnabled(ligado);
    DBNavigator1->permiteAlteracoes(livre);

    // The focus goes where the transition sends it, else stays where it is if
    // the panel shown allows it there, else goes to the panel's own control.
    botaoCancelar_ = mostrado.esc;
    const QWidget* area = mostrado.retemFoco ? mostrado.quadro : PainelComponentes;
    const bool focoValido = atual && area->isAncestorOf(atual) && atual->isEnabled() && atual->isVisibleTo(this);
    if (!foco && !focoValido) foco = mostrado.foco;
    if (foco && foco->isEnabled() && foco->isVisibleTo(this)) foco->setFocus(Qt::OtherFocusReason);
}

const FormPellora::PainelJanela& FormPellora::painelDoEstado() const {
    return estado_.login ? login_ : paineis_[static_cast<std::size_t>(estado_.painel)];
}

// The window's panels, each placed once and named for screen readers by its title.
void FormPellora::registraPaineis() {
    using P = EstadoJanela::Painel;
    const auto registra = [](PainelJanela& onde, QFrame* quadro, QRect geometria, const QString& titulo,
                             PainelJanela p) {
        p.quadro = quadro;
        if (geometria.isValid()) quadro->setGeometry(geometria);
        quadro->setAccessibleName(titulo);
        onde = p;
    };
    registra(login_, PainelLogin, {152, 109, 331, 130}, Panel48->text(), {.foco = EditNome, .esc = BotCancSenha});
    registra(painelDe(P::Nenhum), PainelComponentes, {}, paraQString("Cadastro de Cápsulas"_w),
             {.foco = DBEdit1, .esc = BotFecharComp});
    registra(painelDe(P::Pesquisa), Panel9, {61, 94, 641, 98}, BotPesqcomp->text().remove(QLatin1Char('&')),
             {.foco = NomeComponente, .esc = nullptr});  // Esc belongs to the search box
    registra(painelDe(P::Escolha), PainelPesqComp, {107, 80, 598, 321}, Panel35->text(),
             {.foco = GradeCompNomes, .esc = AbandonaPesqComp});
    registra(painelDe(P::Tabela), pnlTabelaComp, {5, 68, 769, 483}, Panel2->text(),
             {.foco = GradeComponentes, .esc = BotFecharComp, .navegador = false});
    // The purchases leave the capsule's editors reachable (the sale price beside them).
    registra(painelDe(P::Compras), pnl_UltimaCompra, {252, 105, 525, 375}, PanelTituloUltCompra->text(),
             {.foco = DBGridUltimaCompra, .esc = BotFecharComp, .retemFoco = false});
}

widgets::DBEdit* FormPellora::editor(std::string_view controle) const {
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i)
        if (controle == campos[i].controle) return editores_[i];
    return nullptr;
}

bool FormPellora::painelComponentesVisivel() const { return PainelComponentes->isVisibleTo(this); }
bool FormPellora::descricaoDisponivel() const { return DBEdit1->isEnabled() && DBEdit1->isVisibleTo(this); }
void FormPellora::focaDescricao() {
    // An edit started by a key typed into another editor of the record (the sale
    // price beside the purchases) leaves the caret where the user types.
    const auto* e = qobject_cast<widgets::DBEdit*>(focusWidget());
    if (e && e != DBEdit1 && e->comecandoEdicao()) return;
    DBEdit1->setFocus(Qt::OtherFocusReason);
}

// An insert moves the caret before it unlocks the description, an edit after:
// the order in which the description's entry and exit rules see it.
void FormPellora::registroEmEdicao(bool inclusao) {
    if (!inclusao && !painelComponentesVisivel()) return;
    mudaEstado(estado_.comBotoes(false).comEdicao(true));
    if (!descricaoDisponivel()) return;
    if (inclusao) focaDescricao();
    DBEdit1->setReadOnly(false);
    if (!inclusao) focaDescricao();
}

void FormPellora::registroIncluido() {
    if (descricaoDisponivel()) focaDescricao();
}

void FormPellora::registroFechado() { mudaEstado(estado_.comEdicao(false).comBotoes(true)); }
std::string FormPellora::textoDescricao() const { return deQString(DBEdit1->text()); }
void FormPellora::defineTextoDescricao(const std::string& t) { DBEdit1->setText(paraQString(t)); }
std::string FormPellora::textoCodigo() const { return deQString(DBEdit50->text()); }

// A post made with the caret still in an input of the price (the navigator and
// Ctrl+S leave it there) runs that editor's exit rule first, as leaving it
// would: the price follows the value stored, and a refused value stops the
// post with its message. The description keeps the post's own rule
// (normalised, refused when blank).
bool FormPellora::gravaEditoresAntesDeGravar() {
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i) {
        if (focusWidget() != editores_[i] || !campos[i].entraNoPreco) continue;
        editores_[i]->gravaNoCampo();  // a text that is no value: its message, no post
        saidaRecusada_ = false;
        (this->*campos[i].saida)();
        if (saidaRecusada_) return false;
        break;
    }
    gravaEditores();
    return true;
}

void FormPellora::gravaEditores() {
    const auto campos = aplicacao::camposFormulario();
    for (std::size_t i = 0; i < campos.size(); ++i)
        if (!campos[i].somenteLeitura) editores_[i]->gravaNoCampo();
    if (DBEdit4) DBEdit4->gravaNoCampo();
}

// The first activation tells the user what failed; the later ones follow a box
// or the help window of this program and tell nothing (see FormActivate).
void FormPellora::ativa() {
    if (!ativada_) {
        plataforma::protegido([this] { FormActivate(); });
        return;
    }
    try {
        FormActivate();
    } catch (const std::exception&) {
    }
}

// Window activation by the program's own windows (a message box, the help
// window) runs FormActivate; switching from another application does not.
bool FormPellora::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate) {
        if (QApplication::activeWindow() != nullptr && QApplication::activeWindow() != this)
            desativadaPorJanelaPropria_ = true;
    } else if (e->type() == QEvent::WindowActivate) {
        const bool propria = std::exchange(desativadaPorJanelaPropria_, false);
        if (!ativada_ || propria) ativa();
    } else if (e->type() == QEvent::Show && !ativada_) {
        // Without a window manager the first activation may never come.
        QTimer::singleShot(0, this, [this] {
            if (!ativada_) ativa();
        });
    }
    return QWidget::event(e);
}

void FormPellora::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && botaoCancelar_ && botaoCancelar_->isEnabled() &&
        botaoCancelar_->isVisibleTo(this)) {
        botaoCancelar_->click();
        return;
    }
    // Enter presses the button that has the focus, as on the suite's desktops;
    // a button passes on the keys it does not take itself.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & ~Qt::KeypadModifier)) {
        auto* botao = qobject_cast<QPushButton*>(focusWidget());
        if (botao && botao->isEnabled() && botao->isVisibleTo(this)) {
            botao->click();
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

bool FormPellora::eventFilter(QObject* obj, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        if (obj == BotFecharComp) BotFecharCompMouseMove();
        else if (obj == BotPesqcomp) BotPesqcompMouseMove();
        else if (obj == botgradecomp) botgradecompMouseMove();
        else if (obj == PainelComponentes) PainelComponentesMouseMove();
    } else if (e->type() == QEvent::MouseButtonRelease) {
        if (obj == Label1) plataforma::protegido([this] { Label1Click(); });
        else if (obj == Imagem1) Imagem1Click();
    } else if (e->type() == QEvent::MouseButtonDblClick) {
        if (obj == PainelManual) PainelManualDblClick();
    }
    return QWidget::eventFilter(obj, e);
}

// ---------------------------------------------------------------- field entry

// The field rules below move the caret themselves: back to the field at fault
// after its message, or past a financial field the user has no right to. They
// are the rules' own moves; the window's state (aplicaEstado) never changes.
void FormPellora::avancaComEnter(char& key) {
    if (key != '\r') return;
    key = 0;
    focusNextPrevChild(true);
}

void FormPellora::DBEdit1KeyPress(char& key) {
    if (key != '\r') return;
    key = 0;
    DBEdit1->setText(paraQString(regras::NormalizaDescricao(deQString(DBEdit1->text()))));
    focusNextPrevChild(true);
}

void FormPellora::DBEdit1Enter() {
    DBEdit1->setText(paraQString(regras::NormalizaDescricao(deQString(DBEdit1->text()))));
    DBEdit1->selectAll();
    DBEdit1->setReadOnly(true);
}

void FormPellora::DBEdit1Exit() {
    if (DBEdit50->text().isEmpty()) return;
    if (DBEdit1->text().isEmpty()) {
        // The caret goes back before the message shows: the control the focus
        // was on its way to is never entered, whenever the window comes back.
        DBEdit1->retomaFoco();
        DBEdit1->setReadOnly(false);
        plataforma::mostraMensagem("Favor digitar a Descrição do Produto."_w);
        return;
    }
    if (CorDescricaoInvalida()) {
        const std::string descricao = deQString(DBEdit1->text());
        plataforma::mostraMensagem("A cor \"" + regras::ExtraiCorDescricao(descricao) +
                                   "\" não é válida."_w + "\r" + "Esta cor não consta na tabela"_w + "\r" +
                                   "de cores das cápsulas do sistema."_w);
        Imagem1->move(423, 179);
        Imagem1->show();
        DBEdit1->setText(paraQString(RemoveCorDescricao()));
    }
}

void FormPellora::DBEdit2Exit() {
    if (!AcessoFinanceiro) {
        DBEditUnid->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (regras::custoAbaixoDoMinimo(deQString(DBEdit2->text()))) {
        // Back to the field at fault (before the message, as for the description);
        // where it cannot take the caret, the price is computed all the same.
        const bool volta = DBEdit2->isEnabled() && DBEdit2->isVisible();
        if (volta) DBEdit2->retomaFoco();
        saidaRecusada_ = volta;
        plataforma::mostraMensagem(
            "Atenção: O Valor Unitário não pode ser menor que \"R$ 0.0001\",\rFavor Corrigir!"_w);
        if (volta) return;
    }
    CalculaPrecoVenda();
}

void FormPellora::DBEdit5Exit() {
    if (!AcessoFinanceiro) {
        DBEditUnid->setFocus(Qt::OtherFocusReason);
        return;
    }
    CalculaPrecoVenda();
}

void FormPellora::DBEdit6Exit() { CalculaPrecoVenda(); }

void FormPellora::CalculaPrecoVenda() {
    if (!dm_) return;
    auto& ds = dm_->Componentes;
    if (!ds.active()) return;
    gravaEditores();
    ds.edit();
    // A divisor of zero leaves the price as it was.
    if (const auto preco = regras::calculaPrecoVenda(dm_->entradasPrecoVenda())) dm_->definePrecoVenda(*preco);
}
