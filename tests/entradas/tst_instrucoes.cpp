// Every statement that carries a user's text, through the data module's own
// chains, with texts meant to break a statement: quotes, LIKE wildcards, an
// attempt at a second statement, long texts and characters outside
// Windows-1252. No SQL error, the text found or stored exactly as the program
// means it, and no other row touched.
#include "data/catalogo.h"
#include "data/dm.h"
#include "rules/normalizacao.h"
#include "rules/pesquisa.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "signon/codificacao.h"
#include "support/dbtest.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace dados;

namespace {

// The statements as the windows send them, the user's text a bound value.
const std::string kPaginasDoAssunto =
    "Select Assunto, Pagina, Texto from TUTORIAL where Assunto = ? order by ASSUNTO, PAGINA";
const std::string kUltimaPagina = "Select Max(Pagina) as QdePaginas from Tutorial where ASSUNTO = ?";

std::string comoTexto(const Valor& v) {
    if (auto t = std::get_if<std::string>(&v)) return *t;
    return {};
}

// Every row of the tables a user's text could reach, as one comparable text.
std::string retrato(fb::Conexao& c, const std::string& tabela, const std::string& ordem,
                    const std::string& excetoChave = {}) {
    std::string r;
    for (const auto& linha : c.consulta("select * from " + tabela + " order by " + ordem).linhas) {
        if (!excetoChave.empty() && comoTexto(linha[0]) == excetoChave) continue;
        for (const auto& v : linha) {
            r += std::to_string(v.index()) + ':';
            if (auto t = std::get_if<std::string>(&v)) r += *t;
            else if (auto d = std::get_if<Decimal>(&v)) r += d->comoTexto();
            else if (auto x = std::get_if<double>(&v)) r += std::to_string(*x);
            else if (auto i = std::get_if<std::int32_t>(&v)) r += std::to_string(*i);
            else if (auto h = std::get_if<QDateTime>(&v)) r += h->toString(Qt::ISODateWithMs).toStdString();
            r += '|';
        }
        r += '\n';
    }
    return r;
}

}  // namespace

// A database error fails the test with its message instead of ending the run.
#define SEM_ERRO(corpo)                                           \
    do {                                                          \
        try {                                                     \
            corpo;                                                \
        } catch (const std::exception& e) {                       \
            QFAIL(qPrintable(QString::fromLatin1(e.what())));     \
        }                                                         \
    } while (0)

class TstInstrucoes : public QObject {
    Q_OBJECT

    QTemporaryDir pasta_;
    std::unique_ptr<DM> dm_;
    std::unique_ptr<fb::Conexao> outra_;  // looks at the database from another workstation
    std::string suite_;                   // COMPONEN, USUARIOS and ESTACOES before each test

    std::string suiteAgora(const std::string& excetoCodigo = {}) {
        return retrato(*outra_, "COMPONEN", "CODIGO", excetoCodigo) + retrato(*outra_, "USUARIOS", "USUARIO") +
               retrato(*outra_, "ESTACOES", "ESTACAO");
    }

    // The texts, as data rows of each test.
    static void textos() {
        QTest::addColumn<QByteArray>("texto");
        QTest::newRow("quote") << QByteArray("'");
        QTest::newRow("two quotes") << QByteArray("''");
        QTest::newRow("percent") << QByteArray("%");
        QTest::newRow("underscore") << QByteArray("_");
        QTest::newRow("second statement") << QByteArray("'; delete from COMPONEN; --");
        QTest::newRow("300 characters") << QByteArray(300, 'x');
        QTest::newRow("300 accented") << QByteArray(300, '\xE7');
        QTest::newRow("70 wildcards") << QByteArray(70, '%');
        // What the window makes of characters outside Windows-1252 ('?'), and
        // the five bytes Windows-1252 leaves unassigned, which reach the
        // program as C1 control characters pasted into a box.
        QTest::newRow("outside Windows-1252") << QByteArray::fromStdString(
            plataforma::deQString(QString::fromUtf8("Ca\u0301psula \u65e5\u672c \U0001F600 \u0100")));
        QTest::newRow("unassigned bytes") << QByteArray("Capsula \x81\x8D\x8F\x90\x9D");
    }

    void conferePesquisa(const QByteArray& texto) {
        // The window looks up no text longer than a description: the longest
        // it sends is that of a description.
        const std::string procurado =
            plataforma::corta(regras::NormalizaDescricao(texto.toStdString()), regras::kLarguraDescricao);
        auto& nomes = dm_->CompNome;
        auto achadas = [&](const std::string& t) {
            const auto pesquisa = pesquisaDescricao(t);
            nomes.defineComando(pesquisa->sql, pesquisa->parametros);
            return nomes.recordCount();
        };
        // No demo capsule begins with any of these, but wildcards match some.
        const bool curingas = !regras::prefixoSimples(procurado);
        QCOMPARE(achadas(procurado) > 0, curingas);
        QCOMPARE(suiteAgora(), suite_);

        // A real prefix with the same characters after it finds nothing either,
        // and the plain prefix still finds its capsules.
        const std::string depoisDeUmPrefixo = plataforma::corta("Capsula 0" + procurado, regras::kLarguraDescricao);
        QCOMPARE(achadas(depoisDeUmPrefixo) > 0, curingas);
        QVERIFY(achadas("Capsula 0 ") > 0);
        nomes.close();
    }

    void confereEstacaoDoUsuario(const QByteArray& texto) {
        const std::string nome = plataforma::corta(texto.toStdString(), 60);
        QVERIFY(!dm_->estacaoDoUsuario(nome, QDateTime::currentDateTime()));
        QCOMPARE(suiteAgora(), suite_);
    }

    void confereNomeDeLogin(const QByteArray& texto) {
        const std::string nome = plataforma::corta(plataforma::maiusculasAscii(texto.toStdString()), 60);
        QVERIFY(!dm_->usuario(identificacao::CodificarTexto(nome)));
        QVERIFY(dm_->usuario(identificacao::CodificarTexto("ADMIN")));
        QCOMPARE(suiteAgora(), suite_);
    }

    void confereDescricao(const QByteArray& texto) {
        const std::string esperada = regras::NormalizaDescricao(plataforma::corta(texto.toStdString(), 70));
        auto& comp = dm_->Componentes;
        comp.open();
        plataforma::GravadorMensagens mensagens;

        comp.append();
        const std::string codigo = comp.fieldByName("CODIGO").comoTexto();
        comp.fieldByName("COMPONENTE").defineValor(texto.toStdString());
        comp.post();
        QCOMPARE(mensagens.textos, std::vector<std::string>{});
        QCOMPARE(comp.changeCount(), 0);
        auto guardada = outra_->consulta("select COMPONENTE, GRUPO from COMPONEN where CODIGO = ?", {codigo});
        QCOMPARE(guardada.linhas.size(), std::size_t{1});
        QCOMPARE(comoTexto(guardada.linhas[0][0]), esperada);
        QCOMPARE(suiteAgora(codigo), suite_);

        // Renaming the first capsule by description changes that row alone.
        comp.first();
        const std::string outro = comp.fieldByName("CODIGO").comoTexto();
        const std::string antes = suiteAgora(outro);
        const std::string nomeAntigo = comp.fieldByName("COMPONENTE").comoTexto();
        comp.edit();
        comp.fieldByName("COMPONENTE").defineValor(texto.toStdString() + "!");
        comp.post();
        QCOMPARE(comp.changeCount(), 0);
        guardada = outra_->consulta("select COMPONENTE from COMPONEN where CODIGO = ?", {outro});
        QCOMPARE(comoTexto(guardada.linhas[0][0]),
                 regras::NormalizaDescricao(plataforma::corta(texto.toStdString() + "!", 70)));
        QCOMPARE(suiteAgora(outro), antes);

        // Back as they were.
        QVERIFY(comp.locate("CODIGO", outro));
        comp.edit();
        comp.fieldByName("COMPONENTE").defineValor(nomeAntigo);
        comp.post();
        QVERIFY(comp.locate("CODIGO", codigo));
        comp.remove();
        QCOMPARE(comp.changeCount(), 0);
        QCOMPARE(mensagens.textos, std::vector<std::string>{});
        QCOMPARE(suiteAgora(), suite_);
    }

    void confereAssuntoDaAjuda(const QByteArray& texto) {
        const std::string assunto = plataforma::corta(texto.toStdString(), 60);
        auto& tutorial = dm_->Tutorial;
        auto& banco = dm_->SQLConnection1;
        const std::string outroAssunto = retrato(banco, "TUTORIAL", "ASSUNTO, PAGINA");

        tutorial.defineComando(kPaginasDoAssunto, {assunto});
        QCOMPARE(tutorial.recordCount(), 0);
        tutorial.append();
        tutorial.fieldByName("ASSUNTO").defineValor(assunto);
        tutorial.fieldByName("PAGINA").defineValor(std::int32_t{1});
        tutorial.fieldByName("TEXTO").defineValor(texto.toStdString());
        tutorial.post();
        QCOMPARE(dm_->recusaTutorial(), std::string());
        QCOMPARE(tutorial.changeCount(), 0);

        tutorial.defineComando(kPaginasDoAssunto, {assunto});
        QCOMPARE(tutorial.recordCount(), 1);
        QCOMPARE(tutorial.fieldByName("ASSUNTO").comoTexto(), assunto);
        QCOMPARE(tutorial.fieldByName("TEXTO").comoTexto(), texto.toStdString());
        const auto ultima = banco.consulta(kUltimaPagina, {assunto});
        QCOMPARE(std::get<std::int32_t>(ultima.linhas.at(0).at(0)), 1);

        tutorial.remove();
        QCOMPARE(tutorial.changeCount(), 0);
        tutorial.close();
        QCOMPARE(retrato(banco, "TUTORIAL", "ASSUNTO, PAGINA"), outroAssunto);
        QCOMPARE(suiteAgora(), suite_);
    }

private slots:
    void initTestCase() {
        EXIGE_BANCO();
        QVERIFY(pasta_.isValid());
        dbteste::preparaAmbiente();
        plataforma::definePastaSuite(pasta_.path().toStdString());
        dbteste::criaTutorialEmbutido(pasta_.path().toStdString());
        IpServidorCentral = dbteste::servidor();
        outra_ = dbteste::conectaSuite("Outra");
        dbteste::limpaSuite(*outra_);
        dbteste::carregaDemo(*outra_);
        dm_ = std::make_unique<DM>();
        dm_->DataModuleCreate();
        dm_->abreTutorialSeNecessario();
        dm_->SQLConnection1.executa("insert into TUTORIAL (ASSUNTO, PAGINA, TEXTO) values ('CUSTO', 1, 'Outro')");
    }

    void cleanupTestCase() {
        if (dm_) dm_->Componentes.BeforeClose = nullptr;
        dm_.reset();
    }

    void init() { suite_ = suiteAgora(); }

    void pesquisa_data() { textos(); }
    // The search text is normalised and matched as a prefix, its wildcards literal.
    void pesquisa() {
        QFETCH(QByteArray, texto);
        SEM_ERRO(conferePesquisa(texto));
    }

    void estacaoDoUsuario_data() { textos(); }
    // The workstation of the signed-on user, whose name is at most 60
    // characters in the program (a longer value would be refused by the
    // server as wider than the column).
    void estacaoDoUsuario() {
        QFETCH(QByteArray, texto);
        SEM_ERRO(confereEstacaoDoUsuario(texto));
    }

    void nomeDeLogin_data() { textos(); }
    // The login name is looked up among the cached users by its encoded form.
    void nomeDeLogin() {
        QFETCH(QByteArray, texto);
        SEM_ERRO(confereNomeDeLogin(texto));
    }

    void descricao_data() { textos(); }
    // A new capsule described with the text, then an existing one renamed to it:
    // stored as the program means it (normalised, cut to 70), nothing else changed.
    void descricao() {
        QFETCH(QByteArray, texto);
        SEM_ERRO(confereDescricao(texto));
    }

    void assuntoDaAjuda_data() { textos(); }
    // A help subject: its pages looked up, a first page stored under it, its
    // last page counted; the other subject's page untouched. The subject is
    // at most 60 characters in the program.
    void assuntoDaAjuda() {
        QFETCH(QByteArray, texto);
        SEM_ERRO(confereAssuntoDaAjuda(texto));
    }
};

QTEST_MAIN(TstInstrucoes)
#include "tst_instrucoes.moc"
