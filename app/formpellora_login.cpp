// Sign-on of the main window: the login panel, the user's workstation, the
// rights, and the reuse of the suite's sign-on through its trace files.
#include "app/formpellora.h"

#include "form/widgets/aparencia.h"
#include "data/dm.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbnavigator.h"
#include "form/widgets/ligacao.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "platform/user.h"
#include "settings/settings.h"
#include "signon/codificacao.h"
#include "signon/rastro.h"
#include "signon/sessao.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

using namespace plataforma::literais;

using aparencia::arial;
using aparencia::pinta;
using plataforma::deQString;
using plataforma::paraQString;

namespace {

constexpr const char* kMarcaSaltaLogin = "SaltaCad.db";  // in the current folder

const QColor kVermelho{255, 0, 0};

// The login panel's key and focus events, turned into the form's handlers.
class EventosPainelLogin : public QObject {
public:
    explicit EventosPainelLogin(FormPellora* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            std::function<void(char&)> gancho;
            if (obj == form_->EditNome)
                gancho = [this](char& k) { form_->EditNomeKeyPress(k); };
            else if (obj == form_->EditSenhaU)
                gancho = [this](char& k) { form_->EditSenhaUKeyPress(k); };
            if (gancho) {
                char c = widgets::teclaDe(*static_cast<QKeyEvent*>(e)).caractere;
                if (c != 0 && !widgets::passaPeloGancho(gancho, c)) return true;  // consumed
            }
        } else if (e->type() == QEvent::FocusOut && obj == form_->EditNome) {
            // Only the user's own leaving counts, not a message box taking the window.
            if (focoNome_.saiu(*static_cast<QFocusEvent*>(e))) plataforma::protegido([this] { form_->EditNomeExit(); });
        } else if (e->type() == QEvent::FocusIn && obj == form_->EditNome) {
            focoNome_.entrou(*static_cast<QFocusEvent*>(e));
        } else if (e->type() == QEvent::Resize && obj == form_->PainelLogin) {
            // The title bar spans the panel's top, whatever width it is given.
            const int borda = form_->PainelLogin->frameWidth();
            form_->Panel48->setGeometry(borda, borda, form_->PainelLogin->width() - 2 * borda, 26);
        }
        return QObject::eventFilter(obj, e);
    }

private:
    FormPellora* form_;
    widgets::Foco focoNome_;
};

std::string maiusculas(const std::string& texto) { return plataforma::maiusculasAscii(texto); }

// The financial fields: entering one without the right skips to the unit box,
// clicking one says why. While browsing the unit box is locked and the sale
// price on the purchases panel is not: the field gives the focus up to the
// window, or typing into it would start an edit of the price.
void entradaFinanceira(FormPellora& f) {
    if (AcessoFinanceiro) return;
    if (f.DBEditUnid->isEnabled())
        f.DBEditUnid->setFocus(Qt::OtherFocusReason);
    else
        f.setFocus(Qt::OtherFocusReason);
}

void cliqueFinanceiro() {
    if (!AcessoFinanceiro)
        plataforma::mostraMensagem(
            "Acesso negado. Você precisar ter permissão de acesso ao módulo financeiro para acessar "_w
            "este campo.");
}

}  // namespace

// ---------------------------------------------------------------- the panel

void FormPellora::criaPainelLogin() {
    const QFont fonte = arial(13, true);
    PainelLogin = new QFrame(this);
    PainelLogin->setObjectName(QStringLiteral("PainelLogin"));
    PainelLogin->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PainelLogin->setAutoFillBackground(true);
    PainelLogin->hide();

    Panel48 = aparencia::barraTitulo(PainelLogin, paraQString("Identificação do Usuário"_w));
    Panel48->setObjectName(QStringLiteral("Panel48"));
    Panel48->setGeometry(1, 1, 329, 26);

    Bevel10 = new QFrame(PainelLogin);
    Bevel10->setObjectName(QStringLiteral("Bevel10"));
    Bevel10->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel10->setGeometry(10, 33, 234, 89);

    auto rotulo = [this, &fonte](const char* nome, const char* texto, int x, int y) {
        auto* l = new QLabel(paraQString(texto), PainelLogin);
        l->setObjectName(QString::fromLatin1(nome));
        l->setFont(fonte);
        l->adjustSize();
        l->move(x, y);
        return l;
    };
    Label216 = rotulo("Label216", "Nome", 18, 51);
    Label217 = rotulo("Label217", "Senha", 17, 82);

    EditNome = new QLineEdit(PainelLogin);
    EditNome->setObjectName(QStringLiteral("EditNome"));
    EditNome->setFont(fonte);
    EditNome->setGeometry(63, 48, 166, 24);

    EditSenhaU = new QLineEdit(PainelLogin);
    EditSenhaU->setObjectName(QStringLiteral("EditSenhaU"));
    EditSenhaU->setFont(fonte);
    EditSenhaU->setGeometry(63, 80, 73, 24);
    EditSenhaU->setEchoMode(QLineEdit::Password);
    // One '#' for every typed character.
    EditSenhaU->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 35; }"));

    auto botao = [this, &fonte](const char* nome, const char* texto, QRect r, const QColor& cor) {
        auto* b = new QPushButton(paraQString(texto), PainelLogin);
        b->setObjectName(QString::fromLatin1(nome));
        b->setFont(fonte);
        pinta(b, QColor(), cor);
        b->setGeometry(r);
        b->setAutoDefault(false);
        return b;
    };
    BotOkSenha = botao("BotOkSenha", "OK", {250, 47, 69, 25}, aparencia::kAzulMarinho);
    BotCancSenha = botao("BotCancSenha", "Cancela", {250, 76, 69, 25}, kVermelho);

    setTabOrder(EditNome, EditSenhaU);
    setTabOrder(EditSenhaU, BotOkSenha);
    setTabOrder(BotOkSenha, BotCancSenha);

    auto* eventos = new EventosPainelLogin(this);
    for (QObject* o : std::initializer_list<QObject*>{PainelLogin, EditNome, EditSenhaU}) o->installEventFilter(eventos);
    ligaClique(BotOkSenha, &FormPellora::BotOkSenhaClick);
    ligaClique(BotCancSenha, &FormPellora::BotCancSenhaClick);
}

// ---------------------------------------------------------------- workstation

std::string FormPellora::SelecionarEstacao() {
    EstacaoAtual = "";
    std::string resultado;
    EditNome->setText(paraQString(UsuarioAtual.str()));

    const auto estacao = dm()->estacaoDoUsuario(UsuarioAtual, plataforma::agora());
    if (!estacao) {
        // A name of at most 60 characters never reaches the caps of the short
        // strings in which the first pieces were joined.
        plataforma::mostraMensagem(
            "Não foi possível selecionar uma área de trabalho para o usuário \""_w + UsuarioAtual.str() +
            "\". " + "\r\r" + "Causas prováveis: "_w + "\r\r" +
            "  1) Na tabela \"Estacoes.db\" não foi incluída uma estação para o usuário \""_w +
            UsuarioAtual.str() + "\"." + "\r" +
            "     Obs: Criar também a área de trabalho física (pasta C:\\Brenvita\\InterfacXX) para este "_w
            "usuário."_w +
            "\r" + "  --> Favor contactar o suporte técnico da VEX SISTEMAS <--"_w);
    } else {
        EstacaoAtual = estacao->estacao;
        resultado = estacao->banco;
        setWindowTitle(paraQString("  CAD. DE CÁPSULAS  -  Usuário: \""_w + UsuarioAtual.str() +
                                   "\"   Estação: "_w + EstacaoAtual.str()));
    }
    return resultado;
}

// ---------------------------------------------------------------- login

void FormPellora::VerificarLogin() {
    const std::string nome = deQString(EditNome->text());
    if (nome.empty()) {
        plataforma::mostraMensagem("Não foi informado o Nome do Usuário."_w);
        EditNome->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::string nomeMaiusculo = plataforma::corta(maiusculas(nome), 60);
    const auto usuario = dm()->usuario(identificacao::CodificarTexto(nomeMaiusculo));
    if (!usuario) {
        plataforma::mostraMensagem("Usuário "_w + nome + " não autorizado"_w);
        EditNome->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::string senha = plataforma::corta(usuario->senha, 20);
    if (senha != identificacao::CodificarTexto(maiusculas(deQString(EditSenhaU->text())))) {
        plataforma::mostraMensagem("Senha incorreta. Tente novamente.");
        EditSenhaU->setFocus(Qt::OtherFocusReason);
        return;
    }
    AcessoUsuario = usuario->acesso;
    AcessoFinanceiro = identificacao::temDireito(AcessoUsuario.str(), nomeMaiusculo, identificacao::kDireitoFinanceiro);
    if (!identificacao::temDireito(AcessoUsuario.str(), nomeMaiusculo, identificacao::kDireitoLogin)) {
        plataforma::mostraMensagem("Usuário "_w + nome + " não autorizado"_w);
        EditNome->setFocus(Qt::OtherFocusReason);
        return;
    }

    // The sign-on holds for the rest of the run: the activations that follow
    // (every message box brings one) do not ask for it again.
    loginFeito_ = true;
    EditSenhaU->clear();
    estadoEdicao();
    UsuarioAtual = nomeMaiusculo;

    std::string banco;
    try {
        banco = SelecionarEstacao();
    } catch (...) {
        // Without a workstation nobody is signed on: the panel again, and the
        // error goes on to be shown.
        loginFeito_ = false;
        estadoLogin();
        throw;
    }
    if (banco.empty()) {
        // The name SelecionarEstacao put into the name box; read from the session
        // since the activation after its message may have emptied the box.
        plataforma::mostraMensagem("Não foi identificada uma área de trabalho para o usuáro "_w +
                                   maiusculas(UsuarioAtual));
        close();
    }
}

std::string FormPellora::DireitosDoLogon() {
    if (UsuarioAtual.empty()) return {};
    const std::string nomeMaiusculo = plataforma::corta(maiusculas(NomeLogon), 60);
    std::string resultado;
    // The logon file carries the user's key as stored: it is not encoded again.
    if (const auto usuario = dm()->usuario(UsuarioAtual.str())) {
        AcessoUsuario = usuario->acesso;
        resultado = AcessoUsuario;
        AcessoFinanceiro = identificacao::temDireito(AcessoUsuario.str(), nomeMaiusculo, identificacao::kDireitoFinanceiro);
        if (!identificacao::temDireito(AcessoUsuario.str(), nomeMaiusculo, identificacao::kDireitoReusarLogon)) resultado.clear();
    }
    return resultado;
}

// ---------------------------------------------------------------- decision

void FormPellora::DecidirLogin() {
    bool loginNecessario = true;
    const QDateTime agora = plataforma::agora();
    const std::string arquivoLogon = plataforma::caminhoSuite(identificacao::kArquivoLogon);
    const std::string arquivoAtividade = plataforma::caminhoSuite(identificacao::kArquivoAtividade);

    if (loginFeito_) {
        // Signed on through the panel in this run: that user stays, and another
        // user's trace files neither replace nor lend their rights.
        loginNecessario = false;
    } else {
        const auto logon = identificacao::leArquivoRastro(arquivoLogon);
        if (logon.estado != identificacao::ArquivoRastro::Estado::Ausente) {
            const auto decisao =
                identificacao::decideLogon(logon, identificacao::leArquivoRastro(arquivoAtividade), TempoLogoff.str(), agora);
            if (logon.estado == identificacao::ArquivoRastro::Estado::Lido) {
                UsuarioAtual = decisao.usuario;
                NomeLogon = decisao.nome;
            }
            if (decisao.apagarArquivos) {
                // Another module may hold them; what can't be deleted stays.
                plataforma::apagaArquivo(arquivoLogon);
                plataforma::apagaArquivo(arquivoAtividade);
            } else if (decisao.candidato && !DireitosDoLogon().empty()) {
                loginNecessario = false;
            }
        }
    }

    if (plataforma::arquivoExiste(kMarcaSaltaLogin) || !loginNecessario) {
        // Written in one pass; a failure leaves the old file and the work goes on.
        // A login through the panel writes none: the files tell of the suite's
        // sign-on, which may be another user's, and keeping it alive is not ours.
        if (!loginFeito_) plataforma::gravaLinhas(arquivoAtividade, identificacao::linhasUltimaAtividade(agora));
        estadoEdicao();
    } else {
        estadoLogin();
    }
}

// Signed on: from the login panel (or before the first decision) to the capsule
// with its buttons, or back to the panel that was open under the login panel; a
// window already signed on stays as it is.
void FormPellora::estadoEdicao() {
    EditNome->clear();
    if (!estado_.login) {
        aplicaEstado();
        return;
    }
    // A record still being edited keeps its editors, its disabled buttons and the
    // focus in the field at fault.
    EstadoJanela novo = estado_.comLogin(false);
    if (novo.painel == EstadoJanela::Painel::Nenhum) novo.botoes = !novo.edicao;
    mudaEstado(novo, novo.edicao ? nullptr : DBEdit1);
}

void FormPellora::estadoLogin() {
    // Already showing the panel (the return from a refusal's message): the typed
    // texts and the focus on the field at fault stay.
    const bool jaMostrado = estado_.login && PainelLogin->isVisibleTo(this);
    UsuarioAtual = plataforma::corta(plataforma::usuarioSistema(), 60);
    if (!jaMostrado) EditNome->setText(paraQString(UsuarioAtual.str()));
    mudaEstado(estado_.comLogin(true), jaMostrado ? nullptr : EditNome);
}

// ---------------------------------------------------------------- handlers

void FormPellora::EditNomeExit() { EditNome->setText(paraQString(maiusculas(deQString(EditNome->text())))); }

void FormPellora::EditNomeKeyPress(char& key) {
    if (key != '\r') return;
    key = 0;
    focusNextPrevChild(true);
}

void FormPellora::EditSenhaUKeyPress(char& key) {
    if (key != '\r') return;
    key = 0;
    VerificarLogin();
}

void FormPellora::BotOkSenhaClick() { VerificarLogin(); }

// When the close is refused (a change that cannot be stored, kept), the login
// panel stays as it was.
void FormPellora::BotCancSenhaClick() { close(); }

void FormPellora::DBEdit2Enter() { entradaFinanceira(*this); }
void FormPellora::DBEdit2Click() { cliqueFinanceiro(); }
void FormPellora::DBEdit5Enter() { entradaFinanceira(*this); }
void FormPellora::DBEdit5Click() { cliqueFinanceiro(); }
void FormPellora::DBEdit16Enter() { entradaFinanceira(*this); }
void FormPellora::DBEdit16Click() { cliqueFinanceiro(); }
void FormPellora::DBEdit8Enter() { entradaFinanceira(*this); }
void FormPellora::DBEdit8Click() { cliqueFinanceiro(); }
