// Signing on: the login panel against the suite's users and workstations, the
// reuse of the suite's sign-on from real trace files under a settable clock,
// and the guards of the financial fields.
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "form/widgets/dbnavigator.h"
#include "platform/text.h"
#include "signon/codificacao.h"
#include "support/janela.h"

#include <QComboBox>
#include <QFrame>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>

using janelateste::digita;
using janelateste::entra;
using janelateste::Janela;
using janelateste::Opcoes;
using namespace plataforma::literais;

namespace {

constexpr const char* kChaveAdmin = "HCEKGKCCAK";  // ADMIN encoded, as the suite stores it
const QDate kHoje(2024, 3, 15);
const std::string kHojeTexto = "15/03/24";
const std::string kOntemTexto = "14/03/24";

Opcoes semMarca() {
    Opcoes o;
    o.marcaSaltaLogin = false;
    return o;
}

// An access string granting the rights at the given positions to a user whose
// name starts with `inicial`; every other character grants nothing.
std::string acessoCom(char inicial, std::initializer_list<int> posicoes, std::size_t tamanho = 40) {
    std::string a(tamanho, '!');
    for (int p : posicoes)
        a[static_cast<std::size_t>(p) - 1] = static_cast<char>(static_cast<unsigned char>(inicial) + p + 1);
    return a;
}

// A row of a table in memory from its columns' values; the rest null.
void insere(dados::ProvedorMemoria& tabela, const std::map<std::string, std::string>& valores) {
    std::vector<regras::Valor> linha(tabela.tabela.colunas.size());
    for (const auto& [coluna, valor] : valores) linha.at(static_cast<std::size_t>(tabela.tabela.indice(coluna))) = valor;
    tabela.tabela.linhas.push_back(std::move(linha));
}

// A column of the row whose first column holds the key.
regras::Valor valorEm(const dados::ProvedorMemoria& tabela, const std::string& chave, const char* coluna) {
    for (const auto& l : tabela.tabela.linhas)
        if (l[0] == regras::Valor(chave)) return l[static_cast<std::size_t>(tabela.tabela.indice(coluna))];
    return {};
}

void criaUsuario(Janela& j, const std::string& nome, const std::string& senha, const std::string& acesso) {
    insere(j.suite.usuarios, {{"USUARIO", identificacao::CodificarTexto(nome)},
                              {"SENHA", identificacao::CodificarTexto(senha)},
                              {"ACESSO", acesso}});
}

void criaEstacao(Janela& j, const std::string& estacao, const std::string& usuario) {
    insere(j.suite.estacoes, {{"ESTACAO", estacao},
                              {"DATBASNAM", "C:\\Brenvita\\Interfac" + estacao},
                              {"EMUSO", "N"},
                              {"USUARIO", usuario}});
}

QString q(const std::string& cp1252) { return plataforma::paraQString(cp1252); }

bool emLogin(const FormPellora& f) {
    return f.PainelLogin->isVisible() && !f.PainelComponentes->isVisible() && f.botaoCancelar() == f.BotCancSenha &&
           !f.DBEdit1->isEnabled() && !f.DBNavigator1->isEnabled() && !f.BotFecharComp->isEnabled();
}

bool emEdicao(const FormPellora& f) {
    return !f.PainelLogin->isVisible() && f.PainelComponentes->isVisible() && f.botaoCancelar() == f.BotFecharComp &&
           f.DBEdit1->isEnabled() && f.DBNavigator1->isEnabled() && f.BotFecharComp->isEnabled() &&
           f.BitBtnUltimaCompra->isEnabled() && QApplication::focusWidget() == f.DBEdit1;
}

}  // namespace

class TestLogin : public QObject {
    Q_OBJECT

private:
    // The decision at an activation, from the trace files given (empty: absent).
    static void ativaCom(Janela& j, const std::vector<std::string>& logon,
                         const std::vector<std::string>& atividade, QTime hora, const char* tempoLogoff = "5",
                         QDate data = kHoje) {
        plataforma::apagaArquivo(j.caminho("LOGON.QVF"));
        plataforma::apagaArquivo(j.caminho("ULTATIV.QVF"));
        if (!logon.empty()) plataforma::gravaLinhas(j.caminho("LOGON.QVF"), logon);
        if (!atividade.empty()) plataforma::gravaLinhas(j.caminho("ULTATIV.QVF"), atividade);
        plataforma::defineRelogio(QDateTime(data, hora));
        TempoLogoff = tempoLogoff;
        j.reativa();
    }
    static std::vector<std::string> logon(const std::string& chave, const std::string& nome, const std::string& data,
                                          const std::string& hora) {
        return {chave, nome, data, hora};
    }
    static std::optional<std::vector<std::string>> linhas(Janela& j, const char* nome) {
        if (!plataforma::arquivoExiste(j.caminho(nome))) return std::nullopt;
        return plataforma::leLinhas(j.caminho(nome));
    }

private slots:
    void initTestCase() {
        EXIGE_CLIENTE();
        // The trace files' dates as a pt-BR workstation writes them.
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    }

    void painelDeLoginSemRastro() {
        Janela j(semMarca());
        auto& f = *j.form;
        QVERIFY(emLogin(f));
        QCOMPARE(f.PainelLogin->geometry(), QRect(152, 109, 331, 130));
        QCOMPARE(f.EditNome->text(), QStringLiteral("operador"));
        QCOMPARE(UsuarioAtual.str(), std::string("operador"));
        QCOMPARE(j.foco(), f.EditNome);

        QCOMPARE(f.Panel48->text(), q("Identificação do Usuário"_w));
        QCOMPARE(f.Panel48->geometry().top(), 1);
        QCOMPARE(f.Panel48->height(), 26);
        QCOMPARE(f.Bevel10->geometry(), QRect(10, 33, 234, 89));
        QCOMPARE(f.Label216->text(), QStringLiteral("Nome"));
        QCOMPARE(f.Label216->pos(), QPoint(18, 51));
        QCOMPARE(f.Label217->text(), QStringLiteral("Senha"));
        QCOMPARE(f.Label217->pos(), QPoint(17, 82));
        QCOMPARE(f.EditNome->geometry(), QRect(63, 48, 166, 24));
        QCOMPARE(f.EditSenhaU->geometry(), QRect(63, 80, 73, 24));
        QCOMPARE(f.BotOkSenha->geometry(), QRect(250, 47, 69, 25));
        QCOMPARE(f.BotCancSenha->geometry(), QRect(250, 76, 69, 25));
        QCOMPARE(f.BotOkSenha->text(), QStringLiteral("OK"));
        QCOMPARE(f.BotCancSenha->text(), QStringLiteral("Cancela"));
        for (QWidget* w : std::initializer_list<QWidget*>{f.Label216, f.EditNome, f.EditSenhaU, f.BotOkSenha}) {
            QCOMPARE(w->font().family(), QStringLiteral("Arial"));
            QCOMPARE(w->font().pixelSize(), 13);
            QVERIFY(w->font().bold());
        }
        QCOMPARE(f.EditNome->nextInFocusChain(), f.EditSenhaU);
        QCOMPARE(f.EditSenhaU->nextInFocusChain(), f.BotOkSenha);
        QCOMPARE(f.BotOkSenha->nextInFocusChain(), f.BotCancSenha);

        // The password shows one '#' a character; Enter in the name box moves on
        // and leaving it upper-cases the name.
        f.EditNome->selectAll();
        QTest::keyClicks(f.EditNome, "maria");
        QTest::keyClick(f.EditNome, Qt::Key_Return);
        QCOMPARE(f.EditNome->text(), QStringLiteral("MARIA"));
        QCOMPARE(j.foco(), f.EditSenhaU);
        QTest::keyClicks(f.EditSenhaU, "ab c");
        QCOMPARE(f.EditSenhaU->displayText(), QStringLiteral("####"));
        QCOMPARE(f.EditSenhaU->text(), QStringLiteral("ab c"));
        QVERIFY(j.mensagens.textos.empty());

        // Esc is the panel's "Cancela": the window closes, the program ends.
        QTest::keyClick(f.EditSenhaU, Qt::Key_Escape);
        QVERIFY(!f.isVisible());
        QVERIFY(!j.dm->Componentes.active());
    }

    void loginComNomeESenhaEmQualquerCaixa() {
        Janela j(semMarca());
        auto& f = *j.form;
        // The stored password of MARIA is the encoding of ABC.
        QCOMPARE(std::get<std::string>(valorEm(j.suite.usuarios, identificacao::CodificarTexto("MARIA"), "SENHA")),
                 std::string("BKBCAK"));
        entra(f, "Maria", "abc");
        QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
        QVERIFY(emEdicao(f));
        QCOMPARE(f.windowTitle(), q("  CAD. DE CÁPSULAS  -  Usuário: \"MARIA\"   Estação: 02"_w));
        QCOMPARE(UsuarioAtual.str(), std::string("MARIA"));
        QCOMPARE(EstacaoAtual.str(), std::string("02"));
        QCOMPARE(f.EditNome->text(), QStringLiteral("MARIA"));
        QVERIFY(f.EditSenhaU->text().isEmpty());
        QVERIFY(!AcessoFinanceiro);
        // The workstation is marked in the cached rows only.
        QCOMPARE(std::get<std::string>(valorEm(j.suite.estacoes, "02", "EMUSO")),
                 std::string("N"));
        // No sign-on trace file is written by a login.
        QVERIFY(!plataforma::arquivoExiste(j.caminho("LOGON.QVF")));

        // The login lasts for the run: a later activation (a message box
        // closing) keeps the editing state and the user, and writes no trace
        // file either.
        plataforma::defineRelogio(QDateTime(kHoje, QTime(11, 0, 0)));
        j.reativa();
        QVERIFY(emEdicao(f));
        QCOMPARE(UsuarioAtual.str(), std::string("MARIA"));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("ULTATIV.QVF")));
    }

    void loginDoAdministradorComDireitoFinanceiro() {
        Janela j(semMarca());
        auto& f = *j.form;
        entra(f, "admin", "123");
        QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
        QVERIFY(emEdicao(f));
        QVERIFY(AcessoFinanceiro);
        QCOMPARE(EstacaoAtual.str(), std::string("01"));

        // A valid sign-on of another user in the trace files does not replace
        // the one made here, nor lend its rights.
        criaUsuario(j, "JOAO", "1", acessoCom('J', {2, 7}));
        ativaCom(j, logon(identificacao::CodificarTexto("JOAO"), "JOAO", kHojeTexto, "10:00:00"), {}, QTime(10, 1, 0));
        QVERIFY(emEdicao(f));
        QCOMPARE(UsuarioAtual.str(), std::string("ADMIN"));
        QVERIFY(AcessoFinanceiro);
    }

    void recusasComMensagemEFoco() {
        Janela j(semMarca());
        auto& f = *j.form;
        criaUsuario(j, "JOAO", "1", acessoCom('J', {7, 24}));  // no login right

        // Enter on "OK" reached by Tab is its click, and the keypad's too.
        for (const auto tecla : {Qt::Key_Return, Qt::Key_Enter}) {
            j.mensagens.limpa();
            QVERIFY(j.volta());
            QTest::mouseClick(f.EditNome, Qt::LeftButton);
            f.EditNome->setText(QStringLiteral("fulano"));
            QTest::keyClick(f.EditNome, Qt::Key_Tab);
            QTest::keyClick(j.foco(), Qt::Key_Tab);
            QCOMPARE(j.foco(), f.BotOkSenha);
            QTest::keyClick(f.BotOkSenha, tecla, tecla == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Usuário FULANO não autorizado"_w});
        }
        j.mensagens.limpa();
        QCOMPARE(j.foco(), f.EditNome);

        f.EditNome->clear();
        QTest::mouseClick(f.BotOkSenha, Qt::LeftButton);
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Não foi informado o Nome do Usuário."_w});
        QCOMPARE(j.foco(), f.EditNome);
        QVERIFY(emLogin(f));

        j.mensagens.limpa();
        entra(f, "fulano", "1");
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Usuário FULANO não autorizado"_w});
        QCOMPARE(j.foco(), f.EditNome);

        // A wrong password keeps both typed texts, and the focus on the password.
        j.mensagens.limpa();
        entra(f, "maria", "abd");
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Senha incorreta. Tente novamente."});
        QCOMPARE(j.foco(), f.EditSenhaU);
        QCOMPARE(f.EditNome->text(), QStringLiteral("MARIA"));
        QCOMPARE(f.EditSenhaU->text(), QStringLiteral("abd"));
        QVERIFY(emLogin(f));

        // The right password without the login right (position 2).
        j.mensagens.limpa();
        entra(f, "joao", "1");
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Usuário JOAO não autorizado"_w});
        QCOMPARE(j.foco(), f.EditNome);
        QVERIFY(emLogin(f));
        QVERIFY(AcessoFinanceiro);  // read before the login right is checked

        // A name of blanks is a name like any other.
        j.mensagens.limpa();
        f.EditNome->setText(QStringLiteral("   "));
        QTest::mouseClick(f.BotOkSenha, Qt::LeftButton);
        QCOMPARE(j.mensagens.textos, std::vector<std::string>{"Usuário     não autorizado"_w});
    }

    void direitosPelaPosicaoAPartirDaInicial() {
        // The login right is the initial plus 3 at position 2; one less grants nothing.
        {
            Janela j(semMarca());
            std::string a = acessoCom('J', {24});
            a[1] = 'J' + 2;
            criaUsuario(j, "JOAO", "1", a);
            entra(*j.form, "joao", "1");
            QCOMPARE(j.mensagens.ultima(), std::string("Usuário JOAO não autorizado"_w));
        }
        // Login and financial rights; a three-character workstation code shows two.
        {
            Janela j(semMarca());
            criaUsuario(j, "JOAO", "1", acessoCom('J', {2, 24}));
            criaEstacao(j, "101", "joao");
            entra(*j.form, "joao", "1");
            QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
            QVERIFY(emEdicao(*j.form));
            QVERIFY(AcessoFinanceiro);
            QCOMPARE(EstacaoAtual.str(), std::string("10"));
            QVERIFY(j.form->windowTitle().endsWith(QStringLiteral("\"JOAO\"   Esta") + QChar(0xE7) +
                                                   QChar(0xE3) + QStringLiteral("o: 10")));
        }
        // An access string shorter than 24 never holds the financial right.
        {
            Janela j(semMarca());
            criaUsuario(j, "JOAO", "1", acessoCom('J', {2, 7}, 20));
            criaEstacao(j, "05", "JOAO");
            entra(*j.form, "JOAO", "1");
            QVERIFY(emEdicao(*j.form));
            QVERIFY(!AcessoFinanceiro);
        }
    }

    void nomeComAspasVaiComoValor() {
        Janela j(semMarca());
        criaUsuario(j, "D'AVILA", "7", acessoCom('D', {2}));
        criaEstacao(j, "07", "d'Avila");
        entra(*j.form, "d'avila", "7");
        QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
        QCOMPARE(j.form->windowTitle(), q("  CAD. DE CÁPSULAS  -  Usuário: \"D'AVILA\"   Estação: 07"_w));
    }

    // Only a-z change case on both sides: "joão" is found as it is written,
    // "JOÃO" is another name.
    void nomeAcentuadoAchaSuaEstacao() {
        Janela j(semMarca());
        criaUsuario(j, "JOãO"_w, "1", acessoCom('J', {2}));
        criaEstacao(j, "07", "JOÃO"_w);
        criaEstacao(j, "08", "joão"_w);
        entra(*j.form, "joão", "1");
        QVERIFY2(j.mensagens.textos.empty(), j.mensagens.ultima().c_str());
        QVERIFY(emEdicao(*j.form));
        QCOMPARE(EstacaoAtual.str(), std::string("08"));
    }

    // The database fails while the workstation is looked up: the error, and
    // the panel again; nobody is signed on, then or at a later activation.
    void erroAoSelecionarEstacaoVoltaAoLogin() {
        Janela j(semMarca());
        auto& f = *j.form;
        j.suite.estacoes.indisponivel = "Column unknown USUARIO";
        entra(f, "maria", "abc");
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));
        QVERIFY(j.mensagens.ultima().find("USUARIO") != std::string::npos);
        QVERIFY(j.volta());
        QVERIFY(emLogin(f));
        j.reativa();
        QVERIFY(emLogin(f));
    }

    void semEstacaoDuasMensagensEOFim() {
        Janela j(semMarca());
        auto& f = *j.form;
        criaUsuario(j, "PEDRO", "9", acessoCom('P', {2}));
        entra(f, "pedro", "9");
        const std::string longa =
            "Não foi possível selecionar uma área de trabalho para o usuário \"PEDRO\". \r\r"_w
            "Causas prováveis: \r\r"_w
            "  1) Na tabela \"Estacoes.db\" não foi incluída uma estação para o usuário \"PEDRO\".\r"_w
            "     Obs: Criar também a área de trabalho física (pasta C:\\Brenvita\\InterfacXX) para este "_w
            "usuário.\r"_w
            "  --> Favor contactar o suporte técnico da VEX SISTEMAS <--"_w;
        QCOMPARE(j.mensagens.textos,
                 (std::vector<std::string>{longa, "Não foi identificada uma área de trabalho para o usuáro PEDRO"_w}));
        QVERIFY(!f.isVisible());
        QVERIFY(!j.dm->Componentes.active());
    }

    void reusoDoLogonDentroDoTempo() {
        Janela j(semMarca());
        auto& f = *j.form;
        QVERIFY(emLogin(f));

        // Signed on at 10:00:00, auto-logoff 5 minutes: valid at 10:04:59.
        ativaCom(j, logon(kChaveAdmin, "Admin", kHojeTexto, "10:00:00"), {}, QTime(10, 4, 59));
        QVERIFY(emEdicao(f));
        QVERIFY(f.EditNome->text().isEmpty());
        QCOMPARE(UsuarioAtual.str(), std::string(kChaveAdmin));
        QCOMPARE(NomeLogon.str(), std::string("Admin"));
        QVERIFY(AcessoFinanceiro);
        QCOMPARE(linhas(j, "ULTATIV.QVF"), std::make_optional(std::vector<std::string>{kHojeTexto, "10:04:59"}));
        QVERIFY(plataforma::arquivoExiste(j.caminho("LOGON.QVF")));
        // The reuse neither changes the caption nor selects a workstation.
        QCOMPARE(f.windowTitle(), q("  Cadastro de Cápsulas"_w));

        // At 10:05:01 it has lapsed: both files go and the panel comes back.
        ativaCom(j, logon(kChaveAdmin, "Admin", kHojeTexto, "10:00:00"), {}, QTime(10, 5, 1));
        QVERIFY(emLogin(f));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("LOGON.QVF")));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("ULTATIV.QVF")));
        QCOMPARE(f.EditNome->text(), QStringLiteral("operador"));

        // The last-activity file's moment replaces the sign-on's; exactly at the
        // limit still counts.
        ativaCom(j, logon(kChaveAdmin, "Admin", kHojeTexto, "08:00:00"), {kHojeTexto, "10:00:00"}, QTime(10, 5, 0));
        QVERIFY(emEdicao(f));

        // MARIA reuses the sign-on without the financial right.
        AcessoFinanceiro = true;
        ativaCom(j, logon(identificacao::CodificarTexto("MARIA"), "maria", kHojeTexto, "10:00:00"), {}, QTime(10, 0, 30));
        QVERIFY(emEdicao(f));
        QVERIFY(!AcessoFinanceiro);
    }

    void reusoNaPartidaComOTempoDaConfiguracao() {
        Opcoes o = semMarca();
        o.ativa = false;
        Janela j(o);  // auto-logoff 30 in the settings file
        plataforma::gravaLinhas(j.caminho("LOGON.QVF"), logon(kChaveAdmin, "ADMIN", kHojeTexto, "10:00:00"));
        plataforma::defineRelogio(QDateTime(kHoje, QTime(10, 29, 59)));
        QApplication::setActiveWindow(j.form.get());
        QTRY_VERIFY(emEdicao(*j.form));
        QCOMPARE(linhas(j, "ULTATIV.QVF"), std::make_optional(std::vector<std::string>{kHojeTexto, "10:29:59"}));
    }

    void logonVencidoApagaOsArquivos() {
        Janela j(semMarca());
        auto& f = *j.form;
        // Signed on yesterday.
        ativaCom(j, logon(kChaveAdmin, "ADMIN", kOntemTexto, "10:00:00"), {kHojeTexto, "10:00:00"},
                 QTime(10, 1, 0));
        QVERIFY(emLogin(f));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("LOGON.QVF")));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("ULTATIV.QVF")));

        // Two minutes across midnight are two minutes.
        ativaCom(j, logon(kChaveAdmin, "ADMIN", kHojeTexto, "00:01:00"), {}, QTime(0, 3, 0));
        QVERIFY(emEdicao(f));
        ativaCom(j, logon(kChaveAdmin, "ADMIN", kOntemTexto, "23:59:00"), {}, QTime(0, 1, 0));
        QVERIFY(emLogin(f));  // signed on another day

        // A last activity of yesterday at a later hour is not recent.
        ativaCom(j, logon(kChaveAdmin, "ADMIN", kHojeTexto, "08:00:00"), {kOntemTexto, "10:00:00"},
                 QTime(10, 1, 0));
        QVERIFY(emLogin(f));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("LOGON.QVF")));
        QVERIFY(!plataforma::arquivoExiste(j.caminho("ULTATIV.QVF")));
    }

    void logonNaoReusavelMantemOsArquivos() {
        Janela j(semMarca());
        auto& f = *j.form;
        criaUsuario(j, "JOAO", "1", acessoCom('J', {2, 24}));  // no reuse right
        const auto logonJoao = logon(identificacao::CodificarTexto("JOAO"), "Joao", kHojeTexto, "10:00:00");
        const std::vector<std::string> atividade{kHojeTexto, "10:02:00"};
        ativaCom(j, logonJoao, atividade, QTime(10, 3, 0));
        QVERIFY(emLogin(f));
        QCOMPARE(linhas(j, "LOGON.QVF"), std::make_optional(logonJoao));
        QCOMPARE(linhas(j, "ULTATIV.QVF"), std::make_optional(atividade));
        QVERIFY(AcessoFinanceiro);  // DireitosDoLogon reads the rights all the same

        // A key that is not a user, a name encoded twice, a bad auto-logoff time,
        // a time that does not convert: the login state, files kept.
        ativaCom(j, logon(identificacao::CodificarTexto(kChaveAdmin), "ADMIN", kHojeTexto, "10:00:00"), {}, QTime(10, 1, 0));
        QVERIFY(emLogin(f));
        for (const char* tempo : {"60", "abc", ""}) {
            ativaCom(j, logon(kChaveAdmin, "ADMIN", kHojeTexto, "10:00:00"), {}, QTime(10, 1, 0), tempo);
            QVERIFY2(emLogin(f), tempo);
            QVERIFY(plataforma::arquivoExiste(j.caminho("LOGON.QVF")));
        }
        ativaCom(j, logon(kChaveAdmin, "ADMIN", kHojeTexto, "10h00"), {}, QTime(10, 1, 0));
        QVERIFY(emLogin(f));
        QVERIFY(plataforma::arquivoExiste(j.caminho("LOGON.QVF")));
        QVERIFY(j.mensagens.textos.empty());
    }

    void arquivoMarcaDispensaOLogin() {
        Janela j;  // "SaltaCad.db" in the current folder
        auto& f = *j.form;
        ativaCom(j, {}, {}, QTime(9, 30, 15));
        QVERIFY(emEdicao(f));
        QCOMPARE(linhas(j, "ULTATIV.QVF"), std::make_optional(std::vector<std::string>{kHojeTexto, "09:30:15"}));
        QVERIFY(!AcessoFinanceiro);  // nothing sets it without a sign-on

        // Only the current folder counts.
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        ativaCom(j, {}, {}, QTime(9, 31, 0));
        QVERIFY(emLogin(f));
    }

    void camposFinanceirosSemDireito() {
        Janela j;
        auto& f = *j.form;
        AcessoFinanceiro = false;
        QTest::mouseClick(f.DBNavigator1->botao(widgets::DBNavigator::Editar), Qt::LeftButton);
        const std::string negado =
            "Acesso negado. Você precisar ter permissão de acesso ao módulo financeiro para acessar este "_w
            "campo.";
        for (widgets::DBEdit* e : {f.DBEdit2, f.DBEdit5, f.DBEdit16, f.DBEdit8}) {
            j.mensagens.limpa();
            f.DBEdit25->setFocus();
            QTest::mouseClick(e, Qt::LeftButton);
            QCOMPARE(j.mensagens.textos, std::vector<std::string>{negado});
            QCOMPARE(j.foco(), f.DBEditUnid);
        }
        // However the focus arrives: here with the window, after the colour
        // message of a Tab out of the description. Nothing typed reaches the cost.
        QTest::mouseClick(f.DBNavigator1->botao(widgets::DBNavigator::Cancelar), Qt::LeftButton);
        const std::string codigo = j.dm->ComponentesCODIGO->comoTexto();
        const auto custo = j.gravado(codigo, "CUSTOUNITR");
        QTest::keyClick(j.foco(), Qt::Key_F2);
        QCOMPARE(j.foco(), f.DBEdit1);
        QTest::keyClick(f.DBEdit1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.DBEdit1, "capsula 0 xyz");
        j.mensagens.limpa();
        QTest::keyClick(f.DBEdit1, Qt::Key_Tab);
        QCOMPARE(j.mensagens.textos.size(), std::size_t(1));  // no such colour
        QCOMPARE(j.foco(), f.DBEditUnid);
        QTest::keyClicks(j.foco(), "9");
        QTest::keyClick(j.foco(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(j.gravado(codigo, "CUSTOUNITR") == custo);

        // With the right, nothing stands in the way.
        QTest::keyClick(j.foco(), Qt::Key_F2);
        AcessoFinanceiro = true;
        j.mensagens.limpa();
        QTest::mouseClick(f.DBEdit2, Qt::LeftButton);
        QCOMPARE(j.foco(), f.DBEdit2);
        QVERIFY(j.mensagens.textos.empty());
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
