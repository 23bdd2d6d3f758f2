#pragma once
// A thin client of our own over the database server's object-oriented C++ API.
// The client library is loaded at run time (dlopen + fb_get_master_interface).
// Every statement takes its values as bound parameters.
#include "data/valor.h"
#include "platform/program.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dados::fb {

// The connection's fixed driver settings, kept in one place.
struct ParametrosConexao {
    std::string usuario = "sysdba";
    std::string senha = "tallowpin";
    std::string papel = "RoleName";
    std::string charset = "WIN1252";
    int dialeto = 3;
    int esperaBloqueioSegundos = 30;  // waits on locked rows, but not forever (0: no wait)
    int esperaConexaoSegundos = 15;   // an unreachable server fails instead of hanging
};

enum class TipoColuna { Texto, Inteiro, Inteiro64, Decimal, Real, DataHora, Data, Hora, Blob, Booleano };

struct Coluna {
    std::string nome;      // as the statement aliases it ("Nota Fiscal", TEL)
    std::string tabela;    // relation, when the server tells it
    TipoColuna tipo = TipoColuna::Texto;
    int tamanho = 0;       // characters of a text column
    int escala = 0;        // decimal places of a Decimal column
    bool anulavel = true;
    bool fixo = false;     // CHAR (keeps trailing blanks)
};

struct Resultado {
    std::vector<Coluna> colunas;
    std::vector<std::vector<Valor>> linhas;
    int indice(std::string_view nome) const;  // case-insensitive; -1 when absent
};

// Takes a reading's rows as they are fetched, so that they need not all be held
// decoded at once.
class Leitor {
public:
    virtual ~Leitor() = default;
    // Before the first row; again when the reading starts over (a lost
    // connection reopened), and then the rows taken so far are to be forgotten.
    virtual void colunas(const std::vector<Coluna>& colunas) = 0;
    // One row. The vector comes back for the next row, so that its texts keep
    // their memory; the reader may also take the values.
    virtual void linha(std::vector<Valor>& valores) = 0;
};

// A database error with the server's status text, SQL code and GDS code.
class ErroBanco : public plataforma::Erro {
public:
    ErroBanco(const std::string& mensagem, int sqlcode, std::intptr_t gdscode,
              std::string classe = "EDatabaseError", std::string restricao = {})
        : plataforma::Erro(mensagem, std::move(classe)), sqlcode_(sqlcode), gdscode_(gdscode),
          restricao_(std::move(restricao)) {}
    int sqlcode() const { return sqlcode_; }
    std::intptr_t gdscode() const { return gdscode_; }
    bool violacaoChave() const;     // -803 / unique or primary key
    // The constraint or unique index a key violation names; empty when none.
    const std::string& restricao() const { return restricao_; }
    bool conexaoPerdida() const;    // network error, shutdown, connection lost
    bool bloqueio() const;          // lock conflict / lock timeout
    bool semPrivilegio() const;     // the user may not do this to that table

private:
    int sqlcode_;
    std::intptr_t gdscode_;
    std::string restricao_;
};

// The client library: `pasta` empty means the default name through the system's
// library search, otherwise the folder (with separator) + the platform's name.
std::string nomeBibliotecaCliente(const std::string& pasta);

// The server mode of the engine the client library runs local files with
// ("Super", "SuperClassic", "Classic", as its firebird.conf sets it). Only the
// shared modes let several programs open one file (the tutorial) at once; the
// mode is the engine's, not a connection's.
std::string modoDoMotorLocal(const std::string& biblioteca);

// Loads the client library as a connection would (once per path) and returns
// the file the system took; throws ErroBanco when it is no usable client.
std::string carregaCliente(const std::string& caminho);

// What a failed attach says about the way to the database.
enum class FalhaConexao {
    Biblioteca,       // the client library could not be loaded
    SemResposta,      // nothing answered at the address
    UsuarioRecusado,  // the server answered and refused the user name or password
    BancoRecusado,    // the server answered and refused the database (alias, file, access)
};
FalhaConexao classificaFalhaConexao(const ErroBanco& erro);

class Transacao;

class Conexao {
public:
    explicit Conexao(std::string nome);
    ~Conexao();
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;

    const std::string& nome() const { return nome_; }
    void defineBiblioteca(std::string caminho) { biblioteca_ = std::move(caminho); }
    const std::string& biblioteca() const { return biblioteca_; }
    void defineBanco(std::string banco) { banco_ = std::move(banco); }
    const std::string& banco() const { return banco_; }
    ParametrosConexao& parametros() { return parametros_; }

    // Opens with the settings above; throws ErroBanco on failure.
    void abre();
    // Creates the database named by banco() (default character set from the
    // parameters) and leaves it open.
    void criaBanco();
    void fecha();
    bool aberta() const;

    // A closed connection opens by itself first. A lost connection is reopened
    // once and the statement tried again; a second failure is reported.
    //
    // A SELECT runs in the connection's reading transaction: read only and read
    // committed, so that each statement sees what other workstations have
    // committed, as a transaction of its own would; started at the first read
    // and kept until the connection closes, so that a read asks the server
    // nothing besides the statement itself. A read-only read-committed
    // transaction holds back neither the server's garbage collection nor
    // anyone's locks. The statement is prepared once and kept (up to
    // kPreparadasMax of them, the least recently used freed first): the
    // program runs the same few statements again and again. At a branch each
    // of those requests is a round trip over the link.
    // Anything else runs as executa() runs it.
    Resultado consulta(const std::string& sql, const std::vector<Valor>& parametros = {});
    void le(const std::string& sql, const std::vector<Valor>& parametros, Leitor& leitor);
    // A SELECT prepared and kept as consulta() keeps it, nothing run: its
    // first run is then one request.
    void preparaLeitura(const std::string& sql);
    // One statement in its own short transaction; the rows it reached.
    long executa(const std::string& sql, const std::vector<Valor>& parametros = {});
    static constexpr std::size_t kPreparadasMax = 32;

    std::unique_ptr<Transacao> iniciaTransacao();

    struct Impl;
    Impl* impl() const { return impl_.get(); }

private:
    void liga(bool criacao);
    template <class F>
    auto comReconexao(F&& f) -> decltype(f());

    std::string nome_;
    std::string biblioteca_;
    std::string banco_;
    ParametrosConexao parametros_;
    std::unique_ptr<Impl> impl_;
};

// A read-committed transaction that waits on locks up to the lock timeout.
// Destroyed without commit, it rolls back.
class Transacao {
public:
    ~Transacao();
    Resultado consulta(const std::string& sql, const std::vector<Valor>& parametros = {});
    long executa(const std::string& sql, const std::vector<Valor>& parametros = {});
    // One INSERT, UPDATE or DELETE of one row, sent with its values in one
    // request and prepared by the server as it runs (one round trip, where
    // executa() asks for a prepare, the run and the count one after another).
    // With `contaLinha` (an UPDATE or DELETE that finds its row by a WHERE),
    // the statement returns whether it reached the row (" RETURNING 1" is
    // added: 0 or 1); one that reaches several rows is undone by the server
    // and run again as executa() runs it, for its count. Without, it returns 1.
    long alteraLinha(const std::string& sql, const std::vector<Valor>& parametros, bool contaLinha);
    void confirma();   // commit (not retaining)
    void desfaz();     // rollback

    struct Impl;
    explicit Transacao(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace dados::fb
