#pragma once
// What every database test needs. scripts/test starts a private server and
// exports FB_TEST_HOST ("127.0.0.1/PORT"), FB_TEST_DIR (the server's folder) and
// FB_TEST_SUITE_DB (the suite database file, reachable through the Windows alias
// the program uses). Tutorial databases are made embedded in temporary folders.
//
// A database test starts with EXIGE_BANCO(): without the server it fails, so a
// run outside scripts/test cannot pass silently. It skips only where the build
// says it has no server (FB_TEST_SEM_SERVIDOR: the Windows build under Wine).
#include "data/fbclient.h"

#include <QTest>
#include <QtGlobal>
#include <QCoreApplication>
#include <QScopeGuard>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#define EXIGE_BANCO()                                                                   \
    do {                                                                                \
        if (dbteste::disponivel()) break;                                               \
        if (qEnvironmentVariableIsSet("FB_TEST_SEM_SERVIDOR"))                          \
            QSKIP("no database server for this build (FB_TEST_SEM_SERVIDOR)");         \
        QFAIL("FB_TEST_HOST not set: run scripts/test");                                \
    } while (0)

// A test of the embedded tutorial database needs the client library only; a
// build without one (FB_TEST_SEM_SERVIDOR) skips it.
#define EXIGE_CLIENTE()                                                                 \
    do {                                                                                \
        if (qEnvironmentVariableIsSet("FB_TEST_SEM_SERVIDOR"))                          \
            QSKIP("no database client for this build (FB_TEST_SEM_SERVIDOR)");          \
    } while (0)

namespace dbteste {

// The suite database's location on the server, as the program names it.
inline constexpr const char* kAliasSuite = "C:\\brenvita\\dados\\brenvita.bd";

inline std::string variavel(const char* nome) { return qEnvironmentVariable(nome).toStdString(); }

inline bool disponivel() { return !variavel("FB_TEST_HOST").empty(); }

// "127.0.0.1/PORT": what the settings file's server address holds in the tests.
inline std::string servidor() { return variavel("FB_TEST_HOST"); }

inline std::string bancoSuite() { return servidor() + ":" + kAliasSuite; }

// The source tree (for db/*.sql), as the build names it: a compiler cache may
// make __FILE__ relative, and the tests change their current folder.
inline std::filesystem::path raizProjeto() { return CAPSULAS_RAIZ; }

inline std::string caminhoProjeto(const std::string& relativo) { return (raizProjeto() / relativo).string(); }

// The embedded engine keeps its lock files in a folder of its own, chosen before
// the client library is first loaded (call it in initTestCase when a test loads
// the library by other means).
inline void preparaAmbiente() {
    static bool feito = false;
    if (feito) return;
    feito = true;
    const std::string pastaServidor = variavel("FB_TEST_DIR");
    const auto pasta = pastaServidor.empty()
                           ? std::filesystem::temp_directory_path() /
                                 ("capsulas-fblock-" + std::to_string(QCoreApplication::applicationPid()))
                           : std::filesystem::path(pastaServidor) / "embedded-lock";
    std::filesystem::create_directories(pasta);
    qputenv("FIREBIRD_LOCK", QByteArray::fromStdString(pasta.string()));
    // The private server knows only its own users: a login in the developer's
    // environment would stand in for the program's (comoUsuarioPrograma sets one).
    qunsetenv("ISC_USER");
    qunsetenv("ISC_PASSWORD");
}

inline std::unique_ptr<dados::fb::Conexao> conectaSuite(const std::string& nome = "BrenDados") {
    preparaAmbiente();
    auto c = std::make_unique<dados::fb::Conexao>(nome);
    c->defineBanco(bancoSuite());
    c->abre();
    return c;
}

// Children before parents, should keys between them ever appear.
inline const std::vector<std::string>& tabelasSuite() {
    static const std::vector<std::string> tabelas = {"COMPRAS",  "NFISCAL",  "FORNECED", "COMPONEN", "CORCAP",
                                                     "USUARIOS", "ESTACOES", "UNIDADES", "FABRIC",   "COTDOLAR"};
    return tabelas;
}

inline void limpaSuite(dados::fb::Conexao& c) {
    for (const auto& t : tabelasSuite()) c.executa("delete from " + t);
}

// The statements of an SQL script without terminator changes: split on ';'
// outside quotes and comments; COMMIT, ROLLBACK and SET (isql commands) left out,
// since every statement runs in a transaction of its own.
inline std::vector<std::string> instrucoesScript(const std::string& texto) {
    std::vector<std::string> instrucoes;
    std::string atual;
    auto fecha = [&] {
        const auto ini = atual.find_first_not_of(" \t\r\n");
        if (ini != std::string::npos) {
            std::string s = atual.substr(ini, atual.find_last_not_of(" \t\r\n") - ini + 1);
            std::string cabeca;
            for (char c : s.substr(0, 9)) cabeca += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            const bool ignorada = cabeca.rfind("COMMIT", 0) == 0 || cabeca.rfind("ROLLBACK", 0) == 0 ||
                                  cabeca.rfind("SET ", 0) == 0;
            if (!ignorada) instrucoes.push_back(s);
        }
        atual.clear();
    };
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c == '\'' || c == '"') {
            const auto fim = texto.find(c, i + 1);  // a doubled quote reopens at once
            const auto ate = fim == std::string::npos ? texto.size() : fim + 1;
            atual.append(texto, i, ate - i);
            i = ate - 1;
        } else if (c == '/' && i + 1 < texto.size() && texto[i + 1] == '*') {
            const auto fim = texto.find("*/", i + 2);
            i = fim == std::string::npos ? texto.size() : fim + 1;
            atual += ' ';
        } else if (c == '-' && i + 1 < texto.size() && texto[i + 1] == '-') {
            const auto fim = texto.find('\n', i);
            i = fim == std::string::npos ? texto.size() : fim;
            atual += '\n';
        } else if (c == ';') {
            fecha();
        } else {
            atual += c;
        }
    }
    fecha();
    return instrucoes;
}

// Runs a script file (bytes as they are: the connection's character set) one
// statement at a time; a failure names the statement.
inline void executaScript(dados::fb::Conexao& c, const std::string& caminho) {
    std::ifstream in(caminho, std::ios::binary);
    if (!in) throw std::runtime_error("script not found: " + caminho);
    const std::string texto((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const auto& s : instrucoesScript(texto)) {
        try {
            c.executa(s);
        } catch (const dados::fb::ErroBanco& e) {
            throw dados::fb::ErroBanco(std::string(e.what()) + "\nin: " + s, e.sqlcode(), e.gdscode());
        }
    }
}

// The program's own user as the administrator's guide makes it: the role of
// db/privilegios.sql given to a user of the server.
inline constexpr const char* kUsuarioPrograma = "CAPSULAS";
inline constexpr const char* kSenhaPrograma = "c4psul4s";

inline void criaUsuarioPrograma(dados::fb::Conexao& sysdba) {
    sysdba.executa(std::string("create or alter user ") + kUsuarioPrograma + " password '" + kSenhaPrograma +
                   "' using plugin Srp");
    // The role as the script makes it now, whatever an earlier run left.
    if (!sysdba.consulta("select 1 from RDB$ROLES where RDB$ROLE_NAME = 'ROLENAME'").linhas.empty())
        sysdba.executa("drop role ROLENAME");
    executaScript(sysdba, caminhoProjeto("db/privilegios.sql"));
    sysdba.executa(std::string("grant ROLENAME to user ") + kUsuarioPrograma);
}

// ISC_USER and ISC_PASSWORD naming the program's own user until the guard goes.
inline auto comoUsuarioPrograma() {
    qputenv("ISC_USER", kUsuarioPrograma);
    qputenv("ISC_PASSWORD", kSenhaPrograma);
    return qScopeGuard([] {
        qunsetenv("ISC_USER");
        qunsetenv("ISC_PASSWORD");
    });
}

inline void carregaDemo(dados::fb::Conexao& c) { executaScript(c, caminhoProjeto("db/demo.sql")); }

// One value (first column of the first row); null when there is no row.
inline regras::Valor valor(dados::fb::Conexao& c, const std::string& sql, const std::vector<regras::Valor>& p = {}) {
    auto r = c.consulta(sql, p);
    return r.linhas.empty() ? regras::Valor{} : r.linhas[0][0];
}

// A fresh TUTORIAL.BD in `pasta`, made embedded through our own client; returns its path.
inline std::string criaTutorialEmbutido(const std::string& pasta) {
    preparaAmbiente();
    std::filesystem::create_directories(pasta);
    const std::string arquivo = (std::filesystem::path(pasta) / "TUTORIAL.BD").string();
    std::filesystem::remove(arquivo);
    dados::fb::Conexao c("IBConnection");
    c.defineBanco(arquivo);
    c.criaBanco();
    executaScript(c, caminhoProjeto("db/tutorial.sql"));
    c.fecha();
    return arquivo;
}

}  // namespace dbteste
