// The database client against the test run's server: connection parameters,
// failures, every column type of COMPONEN there and back, bound parameters,
// key violations, lock timeouts, reconnection and the embedded tutorial database.
#include "data/fbclient.h"
#include "platform/text.h"
#include "support/dbtest.h"
#include "support/fuso.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <thread>

using namespace dados;
using namespace dados::fb;
using namespace plataforma::literais;

namespace {

std::string descreve(const Valor& v) {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) return "null";
            else if constexpr (std::is_same_v<T, std::string>) return "'" + x + "'";
            else if constexpr (std::is_same_v<T, Decimal>) return x.comoTexto() + "d";
            else if constexpr (std::is_same_v<T, QDateTime>) return x.toString(Qt::ISODateWithMs).toStdString();
            else if constexpr (std::is_same_v<T, Blob>) return "blob(" + std::to_string(x.bytes.size()) + ")";
            else return std::to_string(x);
        },
        v);
}

std::string texto(std::size_t n, char c) { return std::string(n, c); }

// The 63 columns of COMPONEN in table order, each with a value at the edge of
// its type: full widths, Windows-1252 accents, the extreme exact decimals.
std::vector<std::pair<std::string, Valor>> linhaCompleta() {
    Blob ficha;
    for (int i = 0; i < 200000; ++i) ficha.bytes += static_cast<char>(i * 7 % 256);  // several segments, zeros included
    return {
        {"CODIGO", std::string("000777")},
        {"COMPONENTE", std::string("Ácido fólico "_w) + texto(57, 'x')},  // 70 bytes
        {"GRUPO", std::string("CAP")},
        {"FAMILIA", std::string("Gelatina dura ção"_w)},
        {"UNID", std::string("un")},
        {"CONTROLADA", std::string("Não"_w)},
        {"CUSTOUNITUS", Decimal{999999999999999LL, 8}},  // 9999999.99999999, the top of (15,8)
        {"CUSTOUNITR", Decimal{1, 8}},                   // 0.00000001
        {"MULTIPLICADOR", Decimal{999999999999999999LL, 8}},  // 9999999999.99999999
        {"DIVISORUNID", Decimal{-999999999999999999LL, 8}},
        {"PRECOUS", Decimal{12345, 2}},
        {"PRECOR", Decimal{225, 3}},
        {"QDEESTOQUE", 1234.5678},
        {"ESTOQUECRITICO", -0.1},
        {"ESTOQUEMAXIMO", 1.0e300},
        {"TRIBUTACAO", std::string("T18")},
        {"ICMS", Decimal{18, 0}},
        {"FABRICANTE", texto(40, 'F')},
        {"FORNECEDOR", std::string("Gelatinas São José"_w)},
        {"LOTE", std::string("L-2024/07")},
        {"FATORCORRECAO", Decimal{12, 1}},
        {"DENSIDADE", Decimal{1, 0}},
        {"USAEXCIPIENTE", std::string("N")},
        {"DOSAGEMMIN", Decimal{5, 1}},
        {"DOSAGEMMAX", Decimal{1500, 0}},
        {"DOSEMINPERC", Decimal{1, 2}},
        {"DOSEMAXPERC", Decimal{99999, 3}},
        {"FICHATECNICA", ficha},
        {"EXCIPIENTE", std::string("Amido")},
        {"VALIDADE", dataHora(QDate(2031, 12, 31), QTime(23, 59, 58, 123))},
        {"DCB", std::string("04321")},
        {"LISTA", std::string("C1")},
        {"USOCONTINUO", std::string("S")},
        {"VALIDADEPRODMANIP", Decimal{180, 0}},
        {"FATORDILUICAO", Decimal{15, 1}},
        {"CORCAPSULA", std::string("azul claro")},
        {"COMISSAO", Decimal{-1, 8}},
        {"MEQ", Decimal{0, 8}},
        {"GRUPOF", std::string("N")},
        {"TEMPOMANIP", std::int32_t{-2147483647 - 1}},
        {"BC", Decimal{10050, 2}},
        {"UNID_VENDA", std::string("un")},
        {"CUSTOFIXO", Decimal{75, 2}},
        {"USAR_FORMPRECO", std::string("S")},
        {"GRUPOS", texto(12, 'G')},
        {"TIPORECEITA", std::string("RX")},
        {"REGMSMEDICAM", std::string("1.2345.6789")},
        {"EXCIPIENTE2", std::string("Talco")},
        {"EXCIPIENTE3", std::monostate{}},
        {"EXCIPIENTE4", std::string("")},
        {"EXCIPIENTE5", std::string("  com brancos  ")},
        {"CLASSE", std::string("Insumo")},
        {"DESCONTO", Decimal{-500, 2}},
        {"CONDARMAZENA", texto(239, 'c') + "º"_w},  // 240 bytes, the last one a º
        {"ALIQIPI", Decimal{0, 2}},
        {"ALIQISS", Decimal{5, 0}},
        {"BASEICMS", Decimal{100, 0}},
        {"SUBSTRIB", std::string("N")},
        {"LUCROST", Decimal{3333333333LL, 8}},
        {"ICMSECF", Decimal{17, 0}},
        {"CST", Decimal{60, 0}},
        {"NOMECIENTIFICO", std::string("Gelatina \x96 tipo A")},  // an en dash, 0x96 in Windows-1252
        {"GRUPOPRECO", texto(60, 'P')},
    };
}

// The value as the column gives it back: decimals at the column's 8 places.
Valor comoVolta(const Valor& v) {
    if (auto d = std::get_if<Decimal>(&v)) return d->naEscala(8);
    return v;
}

std::string juntaColunas(const std::vector<std::pair<std::string, Valor>>& linha) {
    std::string s;
    for (const auto& [nome, valor] : linha) s += (s.empty() ? "" : ", ") + nome;
    return s;
}

}  // namespace

class TstFbClient : public QObject {
    Q_OBJECT

    std::unique_ptr<Conexao> con;

private slots:
    void initTestCase() {
        fusoteste::saoPaulo();
        EXIGE_BANCO();
        con = dbteste::conectaSuite();
        dbteste::limpaSuite(*con);
    }

    void init() { dbteste::limpaSuite(*con); }  // each case starts from empty tables

    void cleanupTestCase() {
        if (con) dbteste::limpaSuite(*con);
    }

    void connectsWithTheSuiteParameters() {
        const ParametrosConexao p;
        QCOMPARE(p.usuario, std::string("sysdba"));
        QCOMPARE(p.papel, std::string("RoleName"));
        QCOMPARE(p.charset, std::string("WIN1252"));
        QCOMPARE(p.dialeto, 3);
        QCOMPARE(p.esperaBloqueioSegundos, 30);
        QCOMPARE(nomeBibliotecaCliente(""), std::string("libfbclient.so.2"));
        QCOMPARE(nomeBibliotecaCliente("/opt/fb/lib/"), std::string("/opt/fb/lib/libfbclient.so.2"));

        const Resultado r = con->consulta(
            "select a.MON$USER, a.MON$CHARACTER_SET_ID, t.MON$ISOLATION_MODE, t.MON$LOCK_TIMEOUT, 1/2 as METADE "
            "from MON$ATTACHMENTS a join MON$TRANSACTIONS t on t.MON$ATTACHMENT_ID = a.MON$ATTACHMENT_ID "
            "where a.MON$ATTACHMENT_ID = current_connection and t.MON$TRANSACTION_ID = current_transaction");
        QCOMPARE(r.linhas.size(), std::size_t{1});
        const auto& l = r.linhas[0];
        QCOMPARE(std::get<std::string>(l[0]).substr(0, 6), std::string("SYSDBA"));
        QCOMPARE(std::get<std::int32_t>(l[1]), 53);  // WIN1252
        QCOMPARE(std::get<std::int32_t>(l[2]), 2);   // read committed, record version
        QCOMPARE(std::get<std::int32_t>(l[3]), 30);  // lock timeout in seconds
        QCOMPARE(std::get<std::int64_t>(l[4]), std::int64_t{0});  // integer division: dialect 3
    }

    void unreachableServerIsADatabaseErrorWithTheServersText() {
        Conexao c("BrenDados");
        c.defineBanco("127.0.0.1/1:C:\\brenvita\\dados\\brenvita.bd");  // nothing listens on port 1
        try {
            c.abre();
            QFAIL("connected to a closed port");
        } catch (const ErroBanco& e) {
            const std::string m = e.what();
            QVERIFY2(m.find("network request to host \"127.0.0.1\"") != std::string::npos, m.c_str());
            QCOMPARE(e.gdscode(), std::intptr_t{335544721});
            QCOMPARE(e.classe(), std::string("EDatabaseError"));
        }
        QVERIFY(!c.aberta());

        Conexao semBiblioteca("BrenDados");
        semBiblioteca.defineBiblioteca(nomeBibliotecaCliente("/nenhuma/pasta/"));
        semBiblioteca.defineBanco(dbteste::bancoSuite());
        try {
            semBiblioteca.abre();
            QFAIL("opened without a client library");
        } catch (const ErroBanco& e) {
            QVERIFY2(std::string(e.what()).find("/nenhuma/pasta/libfbclient.so.2") != std::string::npos, e.what());
        }
    }

    void everyComponenColumnComesBackAsWritten() {
        const auto linha = linhaCompleta();
        QCOMPARE(linha.size(), std::size_t{63});
        std::vector<Valor> valores;
        for (const auto& c : linha) valores.push_back(c.second);
        const std::string marcas = [&] {
            std::string s;
            for (std::size_t i = 0; i < linha.size(); ++i) s += i ? ", ?" : "?";
            return s;
        }();
        QCOMPARE(con->executa("insert into COMPONEN (" + juntaColunas(linha) + ") values (" + marcas + ")", valores), 1L);
        QCOMPARE(con->executa("insert into COMPONEN (CODIGO) values (?)", {std::string("000778")}), 1L);

        const Resultado r = con->consulta("select " + juntaColunas(linha) +
                                          " from COMPONEN where CODIGO in (?, ?) order by CODIGO",
                                          {std::string("000777"), std::string("000778")});
        QCOMPARE(r.colunas.size(), linha.size());
        QCOMPARE(r.linhas.size(), std::size_t{2});
        for (std::size_t i = 0; i < linha.size(); ++i) {
            QCOMPARE(r.colunas[i].nome, linha[i].first);
            const Valor esperado = comoVolta(linha[i].second);
            const std::string msg = linha[i].first + ": " + descreve(r.linhas[0][i]) + " != " + descreve(esperado);
            QVERIFY2(r.linhas[0][i] == esperado, msg.c_str());
            if (i > 0) QVERIFY2(nulo(r.linhas[1][i]), linha[i].first.c_str());
        }

        // What the columns say about themselves.
        const Coluna& componente = r.colunas[r.indice("componente")];
        QCOMPARE(componente.tipo, TipoColuna::Texto);
        QCOMPARE(componente.tamanho, 70);
        QVERIFY(!componente.fixo);
        QCOMPARE(componente.tabela, std::string("COMPONEN"));
        QVERIFY(!r.colunas[r.indice("CODIGO")].anulavel);
        QCOMPARE(r.colunas[r.indice("MULTIPLICADOR")].tipo, TipoColuna::Decimal);
        QCOMPARE(r.colunas[r.indice("MULTIPLICADOR")].escala, 8);
        QCOMPARE(r.colunas[r.indice("QDEESTOQUE")].tipo, TipoColuna::Real);
        QCOMPARE(r.colunas[r.indice("TEMPOMANIP")].tipo, TipoColuna::Inteiro);
        QCOMPARE(r.colunas[r.indice("VALIDADE")].tipo, TipoColuna::DataHora);
        QCOMPARE(r.colunas[r.indice("FICHATECNICA")].tipo, TipoColuna::Blob);
        QCOMPARE(r.indice("NAOEXISTE"), -1);

        // Exact decimals are compared exactly by the server too.
        QCOMPARE(con->consulta("select CODIGO from COMPONEN where MULTIPLICADOR = ? and CUSTOUNITR = ?",
                               {Decimal{999999999999999999LL, 8}, Decimal{1, 8}})
                     .linhas.size(),
                 std::size_t{1});
    }

    void valuesAreConvertedToTheParametersType() {
        // Text into a number, a whole number into a decimal, a decimal at another scale.
        con->executa("insert into COMPONEN (CODIGO, TEMPOMANIP, CUSTOUNITR, PRECOR) values (?, ?, ?, ?)",
                     {std::string("000001"), std::string("42"), std::int32_t{3}, Decimal{12345, 4}});
        const Resultado r = con->consulta("select TEMPOMANIP, CUSTOUNITR, PRECOR from COMPONEN");
        QCOMPARE(std::get<std::int32_t>(r.linhas[0][0]), 42);
        QCOMPARE(std::get<Decimal>(r.linhas[0][1]).comoTexto(), std::string("3.00000000"));
        QCOMPARE(std::get<Decimal>(r.linhas[0][2]).comoTexto(), std::string("1.23450000"));
        QVERIFY_THROWS_EXCEPTION(ErroBanco, con->consulta("select CODIGO from COMPONEN where CODIGO = ?"));
    }

    void otherTypesAndNames() {
        const Resultado r = con->consulta(
            "select cast(? as char(6)) as C, cast(? as varchar(6)) as V, 1 as \"Nota Fiscal\", 2 Tel, "
            "cast('2024-02-29' as date) as D, cast('13:14:15.5' as time) as H, cast(9000000000 as bigint) as G, "
            "cast(-7 as smallint) as S, cast(-1.5 as numeric(4,1)) as N, cast(null as integer) as Z "
            "from RDB$DATABASE",
            {std::string("ab"), std::string("ab  ")});
        const auto& l = r.linhas.at(0);
        QCOMPARE(std::get<std::string>(l[0]), std::string("ab    "));  // CHAR keeps its trailing blanks
        QVERIFY(r.colunas[0].fixo);
        QCOMPARE(r.colunas[0].tamanho, 6);
        QCOMPARE(std::get<std::string>(l[1]), std::string("ab  "));
        QCOMPARE(r.colunas[2].nome, std::string("Nota Fiscal"));
        QCOMPARE(r.colunas[3].nome, std::string("TEL"));
        QCOMPARE(r.indice("nota fiscal"), 2);
        QCOMPARE(r.indice("Tel"), 3);
        QCOMPARE(std::get<QDateTime>(l[4]), dataHora(QDate(2024, 2, 29)));
        QCOMPARE(r.colunas[4].tipo, TipoColuna::Data);
        QCOMPARE(std::get<QDateTime>(l[5]).time(), QTime(13, 14, 15, 500));
        QCOMPARE(r.colunas[5].tipo, TipoColuna::Hora);
        QCOMPARE(std::get<std::int64_t>(l[6]), std::int64_t{9000000000});
        QCOMPARE(std::get<std::int32_t>(l[7]), -7);
        QCOMPARE(std::get<Decimal>(l[8]).comoTexto(), std::string("-1.5"));
        QVERIFY(nulo(l[9]));
    }

    // The day daylight saving time began in Sao Paulo had no midnight there:
    // a timestamp of it is read and written back as it was.
    void timestampWithoutALocalMidnight() {
        con->executa("insert into COMPONEN (CODIGO, VALIDADE) values ('000001', '2017-10-15 00:30:00')");
        con->executa("update COMPONEN set VALIDADE = ?", {dbteste::valor(*con, "select VALIDADE from COMPONEN")});
        QCOMPARE(dbteste::valor(*con, "select cast(VALIDADE as varchar(24)) from COMPONEN"),
                 Valor(std::string("2017-10-15 00:30:00.0000")));
    }

    void primaryKeyViolationIsRecognised() {
        con->executa("insert into COMPONEN (CODIGO) values (?)", {std::string("000001")});
        try {
            con->executa("insert into COMPONEN (CODIGO) values (?)", {std::string("000001")});
            QFAIL("the same key was stored twice");
        } catch (const ErroBanco& e) {
            QVERIFY(e.violacaoChave());
            QVERIFY(!e.bloqueio());
            QVERIFY(!e.conexaoPerdida());
            QCOMPARE(e.sqlcode(), -803);
            QCOMPARE(e.gdscode(), std::intptr_t{335544665});
            QVERIFY2(std::string(e.what()).find("PK_COMPONEN") != std::string::npos, e.what());
        }
    }

    void parametersAreStoredLiterally() {
        con->executa("insert into COMPONEN (CODIGO) values ('000002')");
        const std::string ataque = "'; delete from COMPONEN; --";
        con->executa("insert into COMPONEN (CODIGO, COMPONENTE) values (?, ?)", {std::string("000003"), ataque});
        const Resultado r = con->consulta("select CODIGO from COMPONEN where COMPONENTE = ?", {ataque});
        QCOMPARE(r.linhas.size(), std::size_t{1});
        QCOMPARE(con->consulta("select CODIGO from COMPONEN").linhas.size(), std::size_t{2});
        QCOMPARE(con->executa("delete from COMPONEN"), 2L);
    }

    void transactionCommitsOrRollsBack() {
        {
            auto t = con->iniciaTransacao();
            t->executa("insert into COMPONEN (CODIGO) values (?)", {std::string("000010")});
            QCOMPARE(t->consulta("select count(*) from COMPONEN").linhas[0][0], Valor(std::int64_t{1}));
            t->desfaz();
            QVERIFY_THROWS_EXCEPTION(ErroBanco, t->executa("delete from COMPONEN"));
        }
        {
            auto t = con->iniciaTransacao();
            t->executa("insert into COMPONEN (CODIGO) values (?)", {std::string("000011")});
        }  // dropped without commit: rolled back
        {
            auto t = con->iniciaTransacao();
            t->executa("insert into COMPONEN (CODIGO) values (?)", {std::string("000012")});
            t->confirma();
        }
        const Resultado r = con->consulta("select CODIGO from COMPONEN");
        QCOMPARE(r.linhas.size(), std::size_t{1});
        QCOMPARE(std::get<std::string>(r.linhas[0][0]), std::string("000012"));
    }

    void aLockedRowEndsTheWaitAfterTheTimeout() {
        con->executa("insert into COMPONEN (CODIGO, LOTE) values ('000020', 'A')");
        auto outra = dbteste::conectaSuite("outra");
        // The server checks lock timeouts once a second: a wait of N seconds ends
        // after N-1 to N of them, so 2 shows both the wait and its end.
        outra->parametros().esperaBloqueioSegundos = 2;
        auto segura = con->iniciaTransacao();
        segura->executa("update COMPONEN set LOTE = 'B' where CODIGO = '000020'");

        QElapsedTimer relogio;
        relogio.start();
        try {
            outra->executa("update COMPONEN set LOTE = 'C' where CODIGO = '000020'");
            QFAIL("updated a row held by another transaction");
        } catch (const ErroBanco& e) {
            const qint64 ms = relogio.elapsed();
            QVERIFY2(e.bloqueio(), e.what());
            QVERIFY2(ms >= 900 && ms < 4000, std::to_string(ms).c_str());
        }
        segura->desfaz();
        QCOMPARE(outra->executa("update COMPONEN set LOTE = 'C' where CODIGO = '000020'"), 1L);
    }

    void aLostConnectionIsReopenedOnce() {
        auto vitima = dbteste::conectaSuite("vitima");
        const Valor antes = vitima->consulta("select current_connection from RDB$DATABASE").linhas[0][0];
        // Another attachment ends this one, as a server shutdown would.
        con->executa("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = ?", {antes});
        const Valor depois = vitima->consulta("select current_connection from RDB$DATABASE").linhas[0][0];
        QVERIFY(!(antes == depois));
        QVERIFY(vitima->aberta());
    }

    void aClosedConnectionOpensOnFirstUse() {
        Conexao c("BrenDados");
        c.defineBanco(dbteste::bancoSuite());
        QVERIFY(!c.aberta());
        QCOMPARE(c.consulta("select 1 from RDB$DATABASE").linhas.size(), std::size_t{1});
        QVERIFY(c.aberta());
        c.fecha();
        QVERIFY(!c.aberta());
    }

    // A read runs a kept statement in a kept transaction: it still sees each
    // commit of another connection (and nothing uncommitted), goes on after a
    // failed run, and leaves the table free for another connection's indexes.
    void aKeptStatementReadsWhatOthersCommitted() {
        con->executa("insert into COMPONEN (CODIGO, LOTE) values ('000030', 'A')");
        const std::string sql = "select LOTE, 1 / cast(? as integer) from COMPONEN where CODIGO = '000030'";
        const auto lote = [&](std::int32_t divisor) { return con->consulta(sql, {divisor}).linhas.at(0).at(0); };
        QCOMPARE(lote(1), Valor(std::string("A")));
        auto outra = dbteste::conectaSuite("outra");
        auto pendente = outra->iniciaTransacao();
        pendente->executa("update COMPONEN set LOTE = 'B' where CODIGO = '000030'");
        QCOMPARE(lote(1), Valor(std::string("A")));
        pendente->confirma();
        QCOMPARE(lote(1), Valor(std::string("B")));

        QVERIFY_THROWS_EXCEPTION(ErroBanco, lote(0));  // division by zero while fetching
        outra->executa("update COMPONEN set LOTE = 'C' where CODIGO = '000030'");
        QCOMPARE(lote(1), Valor(std::string("C")));

        outra->executa("create index IX_TESTE_LOTE on COMPONEN (LOTE)");
        outra->executa("drop index IX_TESTE_LOTE");
        QCOMPARE(lote(1), Valor(std::string("C")));
    }

    // One request per row: whether an UPDATE or DELETE reached its row, and
    // the count of one that reached several.
    void aRowChangeCountsTheRowsItReached() {
        con->executa("insert into COMPONEN (CODIGO, LOTE) values ('000040', 'L')");
        con->executa("insert into COMPONEN (CODIGO, LOTE) values ('000041', 'L')");
        auto t = con->iniciaTransacao();
        const std::string muda = "update COMPONEN set COMPONENTE = ? where LOTE = ?";
        QCOMPARE(t->alteraLinha(muda, {std::string("x"), std::string("nenhum")}, true), 0L);
        QCOMPARE(t->alteraLinha(muda, {std::string("duas"), std::string("L")}, true), 2L);
        QCOMPARE(t->alteraLinha("insert into COMPONEN (CODIGO, LOTE) values (?, ?)",
                                {std::string("000042"), std::monostate{}}, false),
                 1L);
        QCOMPARE(t->alteraLinha("delete from COMPONEN where CODIGO = ?", {std::string("000040")}, true), 1L);
        t->confirma();
        const Resultado r = con->consulta("select CODIGO, COMPONENTE from COMPONEN order by CODIGO");
        QCOMPARE(r.linhas.size(), std::size_t{2});
        QCOMPARE(r.linhas[0][1], Valor(std::string("duas")));
        QCOMPARE(r.linhas[1][0], Valor(std::string("000042")));
    }

    void aTerminationSignalStillEndsTheProgram() {
        // The client library takes over SIGTERM; a connected program must still end.
        QProcess filho;
        filho.start(QCoreApplication::applicationFilePath(), {"--conecta-e-recebe-sigterm"});
        QVERIFY(filho.waitForFinished(15000));
        QCOMPARE(filho.exitStatus(), QProcess::CrashExit);
    }

    void scriptsSplitOutsideQuotesAndComments() {
        const auto s = dbteste::instrucoesScript(
            "/* a; b */ insert into T values ('x;y', 'it''s');\n-- c; d\nSET NAMES WIN1252;\n"
            "select \"A;B\" from T;\ncommit;\n  ");
        QCOMPARE(s.size(), std::size_t{2});
        QCOMPARE(s[0], std::string("insert into T values ('x;y', 'it''s')"));
        QCOMPARE(s[1], std::string("select \"A;B\" from T"));
    }

    void demoDataLoads() {
        dbteste::carregaDemo(*con);
        const auto conta = [&](const std::string& sql) {
            return std::get<std::int64_t>(con->consulta(sql).linhas.at(0).at(0));
        };
        QVERIFY(conta("select count(*) from COMPONEN where GRUPO = 'CAP'") >= 30);
        QVERIFY(conta("select count(*) from COMPONEN where GRUPO <> 'CAP'") > 0);
        QCOMPARE(conta("select count(*) from USUARIOS"), std::int64_t{2});
        QCOMPARE(std::get<std::string>(con->consulta("select CONTROLADA from COMPONEN where CODIGO = '000001'")
                                           .linhas.at(0)
                                           .at(0)),
                 std::string("Não"_w));
    }

    void embeddedTutorialDatabase() {
        QTemporaryDir pasta;
        const std::string arquivo = dbteste::criaTutorialEmbutido(pasta.path().toStdString());
        Conexao c("IBConnection");
        c.defineBanco(arquivo);
        c.executa("insert into TUTORIAL (ASSUNTO, PAGINA, TEXTO) values (?, ?, ?)",
                  {std::string("CUSTO UNITÁRIO R$"_w), std::int32_t{1}, std::string("Página"_w)});
        const Resultado r = c.consulta("select TEXTO from TUTORIAL where ASSUNTO = ?", {std::string("CUSTO UNITÁRIO R$"_w)});
        QCOMPARE(std::get<std::string>(r.linhas.at(0).at(0)), std::string("Página"_w));
        QCOMPARE(r.colunas[0].tamanho, 1000);
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--conecta-e-recebe-sigterm") {
        auto c = dbteste::conectaSuite();
        std::raise(SIGTERM);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        return 0;  // still alive: the test sees a normal exit
    }
    QCoreApplication app(argc, argv);
    TstFbClient teste;
    return QTest::qExec(&teste, argc, argv);
}
#include "tst_fbclient.moc"
