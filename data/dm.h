#pragma once
// The data module DM: the suite connection, the tutorial connection and their
// cached datasets, with the capsule record's handlers.
#include "data/dataset.h"
#include "data/fbclient.h"
#include "data/formulario.h"
#include "rules/preco.h"

#include <QDateTime>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dados {

// A plain query without provider or cache: statement set before each use.
struct ConsultaSQL {
    fb::Conexao* conexao = nullptr;
    std::string sql;
    std::vector<Valor> parametros;
    fb::Resultado resultado;
    bool aberta = false;

    void open() { resultado = conexao->consulta(sql, parametros); aberta = true; }
    void close() { resultado = {}; aberta = false; }
};

class SuiteMemoria;

// One cached dataset chain: SQL dataset, provider, client dataset, data source.
// The client dataset reads and writes through the chain's own provider, or
// through one given from outside (a table in memory).
struct Cadeia {
    Cadeia(const std::string& nome, const std::string& nomeCds, fb::Conexao* conexao,
           const std::string& tabela, ModoAtualizacao modo, const std::string& sql,
           const std::vector<DefCampo>* campos, bool comDataSource = true, Provedor* deFora = nullptr);
    SQLDataSet sqlds;
    Provider dsp;
    ClientDataSet cds;
    std::unique_ptr<DataSource> ds;
};

class DM {
public:
    // Over the suite database on the server; or, given one, over the suite's
    // tables in memory (nothing connects: the window without a server).
    explicit DM(SuiteMemoria* memoria = nullptr);
    ~DM();
    DM(const DM&) = delete;
    DM& operator=(const DM&) = delete;

    // Opens the suite connection at the server named by the settings; on failure
    // shows the connection message and ends the program.
    void DataModuleCreate();
    // What the window's first activation reads, asked of the server before it:
    // the capsules read, the colours' statement prepared. A failure is left
    // for the activation to meet and tell.
    void adiantaLeituras();

    fb::Conexao sqlcon1{"BrenDados"};
    fb::Conexao SQLConnection1{"IBConnection"};  // tutorial database, open while help is shown

    Cadeia componen;      // SQLDS_Componen, DSP_Componen, Componentes, DS_Componentes
    Cadeia compNome;      // SQLDS_CompNome, DSP_CompNome, CompNome, DS_CompNome
    Cadeia tutorial;      // SQLDS_Tutorial, DSP_Tutorial, Tutorial, DS_Tutorial
    Cadeia sqlDataSet1;   // SQLDataSet1, DSP_SQLDataSet1, CDS_SQLDataSet1, DS_SQLDataSet1

    ClientDataSet& Componentes = componen.cds;
    DataSource& DS_Componentes = *componen.ds;
    ClientDataSet& CompNome = compNome.cds;
    DataSource& DS_CompNome = *compNome.ds;
    ClientDataSet& Tutorial = tutorial.cds;
    DataSource& DS_Tutorial = *tutorial.ds;
    ClientDataSet& CDS_SQLDataSet1 = sqlDataSet1.cds;
    DataSource& DS_SQLDataSet1 = *sqlDataSet1.ds;
    SQLDataSet& SQLDS_Componen = componen.sqlds;
    SQLDataSet& SQLDS_CompNome = compNome.sqlds;
    SQLDataSet& SQLDS_Tutorial = tutorial.sqlds;
    SQLDataSet& SQLDataSet1 = sqlDataSet1.sqlds;

    ConsultaSQL SQLQuery1;
    ConsultaSQL SQLQueryTutorial;

    // Named field objects of Componentes used by the program.
    Campo* ComponentesCODIGO = nullptr;
    Campo* ComponentesCOMPONENTE = nullptr;
    Campo* ComponentesGRUPO = nullptr;
    Campo* ComponentesUNID = nullptr;
    Campo* ComponentesCUSTOUNITR = nullptr;
    Campo* ComponentesMULTIPLICADOR = nullptr;
    Campo* ComponentesDIVISORUNID = nullptr;
    Campo* ComponentesPRECOR = nullptr;
    Campo* ComponentesFATORCORRECAO = nullptr;
    Campo* ComponentesFATORDILUICAO = nullptr;
    Campo* ComponentesESTOQUECRITICO = nullptr;
    Campo* ComponentesESTOQUEMAXIMO = nullptr;
    Campo* ComponentesCUSTOFIXO = nullptr;

    // The main window, reached through a narrow interface.
    void defineFormulario(FormularioComponentes* f) { form_ = f; }

    // What the main window asks of the capsules, in its words: it decides
    // when, these say what is read and how.

    // The capsules whose description starts with the text (CompNome, for the
    // pick list); how many. None: CompNome is left closed.
    std::size_t pesquisaPorDescricao(const std::string& inicio);
    // Componentes on the capsule current in CompNome, if any.
    void vaiParaEscolhida();
    void fechaPesquisa() { CompNome.close(); }

    // The last purchases of a description (CDS_SQLDataSet1, the newest current)
    // and the newest one's supplier.
    struct Fornecedor {
        std::string nome;
        std::string telefone;
    };
    Fornecedor abreUltimasCompras(const std::string& descricao);
    void fechaUltimasCompras() { CDS_SQLDataSet1.close(); }

    // The capsule colours, in the list's order.
    std::vector<std::string> cores();

    // The current capsule's sale-price inputs with the workstation's settings,
    // and the price into its column.
    regras::EntradasPreco entradasPrecoVenda() const;
    void definePrecoVenda(double preco);

    std::string ProximoCodigo();
    // The next code, and past a code another workstation was refused for.
    std::string codigoAlemDe(const std::string& recusado);

    // Handlers of Componentes.
    void ComponentesBeforeInsert(ClientDataSet&);
    void ComponentesAfterInsert(ClientDataSet&);
    void ComponentesBeforeEdit(ClientDataSet&);
    void ComponentesBeforePost(ClientDataSet&);
    void ComponentesAfterPost(ClientDataSet&);
    void ComponentesAfterCancel(ClientDataSet&);
    void ComponentesAfterDelete(ClientDataSet&);
    void ComponentesBeforeClose(ClientDataSet&);
    void ComponentesPostError(ClientDataSet&, const std::exception&, AcaoErroPost&);
    // Handlers of Tutorial.
    void TutorialAfterPost(ClientDataSet&);
    void TutorialAfterDelete(ClientDataSet&);
    // The database's message for the last tutorial change that could not be stored
    // (empty when the last apply stored everything).
    const std::string& recusaTutorial() const { return recusaTutorial_; }

    // The sign-on, in its words.
    struct Usuario {
        std::string senha;  // encoded, as stored
        std::string acesso;
    };
    // The user stored under the key (the encoded upper-case name, or a logon
    // file's key as it is); none when there is none.
    std::optional<Usuario> usuario(const std::string& chave);
    struct Estacao {
        std::string estacao;
        std::string banco;  // DATBASNAM: the workstation's folder
    };
    // The first workstation registered for the user, the names compared with
    // only a-z upper-cased on both sides, marked in use at `agora` in the
    // cached rows only (nothing writes them back); none when there is none.
    std::optional<Estacao> estacaoDoUsuario(const std::string& usuario, const QDateTime& agora);

    // Opens the tutorial connection when first needed (embedded, suite folder).
    void abreTutorialSeNecessario();
    // Closes the pages and the connection: held only while a help window is
    // open, since other programs of the workstation open the same file.
    void fechaTutorial();

private:
    Cadeia usuarios;  // SQLDS_Usuarios, DSP_Usuarios, Usuarios, DS_Usuarios
    Cadeia estacoes;  // SQLDS_Estacoes, DSP_Estacoes, Estacoes (no data source)
    ClientDataSet& Usuarios = usuarios.cds;
    ClientDataSet& Estacoes = estacoes.cds;

    // Applies the capsule log; tells the user about refused rows (unless `avisa`
    // is false); a new capsule whose code was taken meanwhile gets the next free
    // code and is applied again. Returns false when a change stays pending.
    bool aplicaComponentes(bool avisa = true);
    // Whether a new capsule was refused for its code, not for another unique column.
    bool conflitoDeCodigo(const Recusa& recusa);
    // Tells the user of each new capsule stored under another code than the one shown.
    void avisaCodigosTrocados();
    void aplicaTutorial();

    // Componentes, CompNome and the like read anew: their statement again, or
    // the table in memory again.
    void reabre(ClientDataSet& ds, const std::string& sql, std::vector<Valor> parametros = {});

    SuiteMemoria* memoria_ = nullptr;
    FormularioComponentes* form_ = nullptr;
    bool silencioso_ = false;  // our own edits of a pending row run no handler
    std::string recusaTutorial_;
    std::vector<std::string> codigosTrocados_;  // messages waiting for the re-read rows
};

// The message shown when a change can't be stored (an error message, so the
// log keeps it too).
std::string mensagemGravacaoRecusada(const std::string& mensagemBanco);

}  // namespace dados
