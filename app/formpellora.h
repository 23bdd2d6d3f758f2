#pragma once
// The capsule registry window. Its handlers are named control-then-event and
// bound to the controls' events; the rules they apply live in rules/ and
// signon/ as plain functions. The field editors are made from the table of
// app/campos.h, the panels registered once (registraPaineis).
#include "data/formulario.h"

#include <QWidget>
#include <array>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QAction;

namespace dados {
class DM;
class DM2;
}
namespace widgets {
class DBEdit;
class DBNavigator;
class DBGrid;
struct CoresCelula;
}

// What the window shows. Everything the user can reach follows from it and is
// set in one place (FormPellora::aplicaEstado): the main buttons, the navigator,
// the editors, the visible panel, the focus and the button that answers Esc.
struct EstadoJanela {
    enum class Painel { Nenhum, Pesquisa, Escolha, Tabela, Compras };
    bool login = true;               // the login panel instead of the capsule (until the first sign-on decision too)
    Painel painel = Painel::Nenhum;  // the panel laid over the capsule: search box, pick list, table, last purchases
    bool edicao = false;             // the record is edited or inserted: its editors are open (LiberaCampos)
    bool botoes = false;             // the four main buttons are on (HabilitaBotoes), as far as the panel allows

    static constexpr std::size_t quantidadePaineis = 5;  // the values of Painel

    EstadoJanela comLogin(bool l) const { auto e = *this; e.login = l; return e; }
    EstadoJanela comPainel(Painel p) const { auto e = *this; e.painel = p; return e; }
    EstadoJanela comEdicao(bool ed) const { auto e = *this; e.edicao = ed; return e; }
    EstadoJanela comBotoes(bool b) const { auto e = *this; e.botoes = b; return e; }
};

class FormPellora : public QWidget, public dados::FormularioComponentes {
    Q_OBJECT
public:
    explicit FormPellora(QWidget* parent = nullptr);
    ~FormPellora() override;

    // Binds the data-aware controls once the data modules exist.
    void defineModulos(dados::DM* dm, dados::DM2* dm2);
    dados::DM* dm() const { return dm_; }

    // Main frame.
    void FormCreate();
    void FormActivate();
    void FormClose(bool& podeFechar);
    void BotFecharCompClick();
    // Transitions of the window's state.
    void DesabilitaBotoes();
    void HabilitaBotoes();
    void BloqueiaCampos();
    void LiberaCampos();
    const EstadoJanela& estado() const { return estado_; }

    // The record's handlers reach the window through these.
    bool painelComponentesVisivel() const override;
    void registroEmEdicao(bool inclusao) override;
    void registroIncluido() override;
    void registroFechado() override;
    bool gravaEditoresAntesDeGravar() override;
    std::string textoDescricao() const override;
    void defineTextoDescricao(const std::string& texto) override;
    std::string textoCodigo() const override;
    bool descricaoDisponivel() const;
    void focaDescricao();
    void gravaEditores();

    // Field entry and price.
    void DBEdit1KeyPress(char& key);
    void DBEdit1Enter();
    void DBEdit1Exit();
    void DBEdit2Exit();
    void DBEdit5Exit();
    void DBEdit6Exit();
    void CalculaPrecoVenda();
    // Enter moves on to the next tab stop, as Tab does; the editors' key
    // handlers below only do this.
    void avancaComEnter(char& key);
    void DBEdit50KeyPress(char& key) { avancaComEnter(key); }
    void DBEdit2KeyPress(char& key) { avancaComEnter(key); }
    void DBEdit5KeyPress(char& key) { avancaComEnter(key); }
    void DBEditUnidKeyPress(char& key) { avancaComEnter(key); }
    void DBEdit6KeyPress(char& key) { avancaComEnter(key); }
    void DBEdit25KeyPress(char& key) { avancaComEnter(key); }
    void DBEdit90KeyPress(char& key) { avancaComEnter(key); }
    void DBEdit16KeyPress(char& key) { avancaComEnter(key); }

    // Sign-on.
    std::string SelecionarEstacao();
    void VerificarLogin();
    std::string DireitosDoLogon();
    void DecidirLogin();
    void EditNomeExit();
    void EditNomeKeyPress(char& key);
    void EditSenhaUKeyPress(char& key);
    void BotOkSenhaClick();
    void BotCancSenhaClick();
    void DBEdit2Enter();
    void DBEdit2Click();
    void DBEdit5Enter();
    void DBEdit5Click();
    void DBEdit16Enter();
    void DBEdit16Click();
    void DBEdit8Enter();
    void DBEdit8Click();

    // Colour.
    void CarregaCores();
    bool CorDescricaoInvalida();
    std::string RemoveCorDescricao();
    void Label1Click();
    void ComboBox1Click();
    void BitBtn1Click();
    void Imagem1Click();
    void escondeImagem1();  // the mouse-move handlers below only call this
    void desenhaImagem1();  // the hint picture, drawn once when the window is made
    void DBEdit2MouseMove() { escondeImagem1(); }
    void DBEdit5MouseMove() { escondeImagem1(); }
    void DBEdit6MouseMove() { escondeImagem1(); }
    void DBEdit25MouseMove() { escondeImagem1(); }
    void DBEdit90MouseMove() { escondeImagem1(); }
    void DBEdit16MouseMove() { escondeImagem1(); }
    void BotFecharCompMouseMove() { escondeImagem1(); }
    void BotPesqcompMouseMove() { escondeImagem1(); }
    void botgradecompMouseMove() { escondeImagem1(); }

    // Search and table.
    void BotPesqcompClick();
    void NomeComponenteKeyPress(char& key);
    void PesquisaDescricao();
    void AceitaCompClick();
    void AbandonaPesqCompClick();
    void GradeCompNomesKeyPress(char& key);
    void botgradecompClick();
    void BitBtn13Click();
    void GradeComponentesDrawColumnCell(int recNo, int coluna, bool selecionada, widgets::CoresCelula& cores);

    // Last purchases.
    void BitBtnUltimaCompraClick();
    void BitBtnOcultarUltCompraClick();
    void DBGridUltimaCompraDrawColumnCell(int recNo, int coluna, bool selecionada, widgets::CoresCelula& cores);

    // Context help.
    void ManualdeOperao1Click();
    void PainelComponentesMouseMove();
    void PainelComponentesEnter();
    void DBNavigator1Enter();
    void PainelManualDblClick();
    // The subject of a control of the subject table (empty for none).
    static std::string assuntoDoControle(const std::string& nomeControle);
    void defineAssuntoDoControle(const std::string& nomeControle);
    // Right-click on a control of the subject table: its subject, before the menu.
    void DBNavigator1ContextPopup() { defineAssuntoDoControle("DBNavigator1"); }
    void BotPesqcompContextPopup() { defineAssuntoDoControle("BotPesqcomp"); }
    void botgradecompContextPopup() { defineAssuntoDoControle("botgradecomp"); }
    void BotFecharCompContextPopup() { defineAssuntoDoControle("BotFecharComp"); }
    void DBEdit1ContextPopup() { defineAssuntoDoControle("DBEdit1"); }
    void DBEdit50ContextPopup() { defineAssuntoDoControle("DBEdit50"); }
    void DBEdit2ContextPopup() { defineAssuntoDoControle("DBEdit2"); }
    void DBEdit5ContextPopup() { defineAssuntoDoControle("DBEdit5"); }
    void DBEditUnidContextPopup() { defineAssuntoDoControle("DBEditUnid"); }
    void DBEdit6ContextPopup() { defineAssuntoDoControle("DBEdit6"); }
    void DBEdit25ContextPopup() { defineAssuntoDoControle("DBEdit25"); }
    void DBEdit90ContextPopup() { defineAssuntoDoControle("DBEdit90"); }
    void DBEdit16ContextPopup() { defineAssuntoDoControle("DBEdit16"); }
    void DBEdit8ContextPopup() { defineAssuntoDoControle("DBEdit8"); }
    void NomeComponenteContextPopup() { defineAssuntoDoControle("NomeComponente"); }
    void EditNomeContextPopup() { defineAssuntoDoControle("EditNome"); }
    void EditSenhaUContextPopup() { defineAssuntoDoControle("EditSenhaU"); }

    // Controls. The field editors, made from the table of app/campos.h, in its order.
    const std::vector<widgets::DBEdit*>& editores() const { return editores_; }
    widgets::DBEdit* editor(std::string_view controle) const;  // nullptr for no field editor
    QFrame* PainelComponentes = nullptr;
    widgets::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* BotPesqcomp = nullptr;
    QPushButton* botgradecomp = nullptr;
    QPushButton* BitBtnUltimaCompra = nullptr;
    QPushButton* BotFecharComp = nullptr;
    widgets::DBEdit* DBEdit1 = nullptr;
    widgets::DBEdit* DBEdit50 = nullptr;
    widgets::DBEdit* DBEdit2 = nullptr;
    widgets::DBEdit* DBEdit5 = nullptr;
    widgets::DBEdit* DBEditUnid = nullptr;
    widgets::DBEdit* DBEdit6 = nullptr;
    widgets::DBEdit* DBEdit25 = nullptr;
    widgets::DBEdit* DBEdit90 = nullptr;
    widgets::DBEdit* DBEdit16 = nullptr;
    widgets::DBEdit* DBEdit8 = nullptr;
    QFrame* Bevel1 = nullptr;  // raised frame around the sale price
    QLabel* Label357 = nullptr;  // "Estoque Máximo"

    // Colour group.
    QFrame* Bevel2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Imagem1 = nullptr;

    // Login panel.
    QFrame* PainelLogin = nullptr;
    QLabel* Panel48 = nullptr;
    QFrame* Bevel10 = nullptr;
    QLabel* Label216 = nullptr;
    QLineEdit* EditNome = nullptr;
    QLabel* Label217 = nullptr;
    QLineEdit* EditSenhaU = nullptr;
    QPushButton* BotOkSenha = nullptr;
    QPushButton* BotCancSenha = nullptr;

    // Search entry, pick list and table.
    QFrame* Panel9 = nullptr;
    QLabel* Label41 = nullptr;
    QLineEdit* NomeComponente = nullptr;
    QFrame* PainelPesqComp = nullptr;
    QLabel* Panel35 = nullptr;
    widgets::DBGrid* GradeCompNomes = nullptr;
    QLabel* Label173 = nullptr;
    QPushButton* AceitaComp = nullptr;
    QPushButton* AbandonaPesqComp = nullptr;
    QFrame* pnlTabelaComp = nullptr;
    QLabel* Panel2 = nullptr;
    widgets::DBGrid* GradeComponentes = nullptr;
    QPushButton* BitBtn13 = nullptr;

    // Last purchases.
    QFrame* pnl_UltimaCompra = nullptr;
    QLabel* PanelTituloUltCompra = nullptr;
    widgets::DBGrid* DBGridUltimaCompra = nullptr;
    QLabel* lblFornecUltimaCompra = nullptr;
    QLabel* lblTelUltimaCompra = nullptr;
    QPushButton* BitBtnOcultarUltCompra = nullptr;
    widgets::DBEdit* DBEdit4 = nullptr;
    QLabel* Label4 = nullptr;  // "Valor Unit. Venda R$" beside DBEdit4

    // Help.
    QMenu* PopupMenu1 = nullptr;
    QAction* ManualdeOperao1 = nullptr;
    QFrame* PainelManual = nullptr;
    QString MediaPlayer1Arquivo;  // the video manual's file; nothing plays it

    // The button that answers Esc (BotFecharComp, BotCancSenha, AbandonaPesqComp or none).
    QPushButton* botaoCancelar() const { return botaoCancelar_; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* obj, QEvent* e) override;

private:
    // A panel of the window: the login panel, the capsule (Painel::Nenhum) and the
    // panels laid over it. Placed once, named by its title (registraPaineis).
    struct PainelJanela {
        QFrame* quadro = nullptr;
        QWidget* foco = nullptr;         // the control that takes the focus when it shows
        QPushButton* esc = nullptr;      // the button that answers Esc (none: the control with the focus keeps it)
        bool retemFoco = true;           // the focus stays inside it (else anywhere on the capsule)
        bool navegador = true;           // the navigator stays usable under it
    };
    void registraPaineis();
    PainelJanela& painelDe(EstadoJanela::Painel p) { return paineis_[static_cast<std::size_t>(p)]; }
    const PainelJanela& painelDoEstado() const;

    // A click on `botao` runs `manipulador` under the general error handler.
    void ligaClique(QPushButton* botao, void (FormPellora::*manipulador)());

    void criaControles();
    void criaPainelLogin();
    void criaPaineisPesquisa();
    void criaPainelCompras();
    void criaMenuAjuda();
    void ligaEventos();
    void estadoEdicao();      // the signed-on window: the capsule, or the panel that was open
    void estadoLogin();       // the login panel
    bool aplicaCorDeFundo();
    void ativa();             // an activation by the program itself or one of its windows

    // Makes `novo` the window's state and applies it; the focus goes to `foco`
    // when given, else it stays where it is if the state allows it there.
    void mudaEstado(const EstadoJanela& novo, QWidget* foco = nullptr);
    void aplicaEstado(QWidget* foco = nullptr);

    std::vector<widgets::DBEdit*> editores_;  // one for each row of the field table, in its order
    PainelJanela login_;
    std::array<PainelJanela, EstadoJanela::quantidadePaineis> paineis_;

    dados::DM* dm_ = nullptr;
    dados::DM2* dm2_ = nullptr;
    EstadoJanela estado_;
    QPushButton* botaoCancelar_ = nullptr;
    bool loginFeito_ = false;
    bool ativando_ = false;
    bool ativada_ = false;
    bool desativadaPorJanelaPropria_ = false;
    bool tirandoFoco_ = false;  // the window takes the focus from a control it locks or hides
    bool saidaRecusada_ = false;  // the last exit rule put the caret back into its field
};
