#pragma once
// The dataset chain: SQL dataset (reads) -> provider (packs rows, writes changes
// back) -> client dataset (rows cached in memory, a log of posted changes) ->
// data source (tells bound controls what changed).
#include "data/fbclient.h"
#include "data/linhacompacta.h"
#include "data/valor.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dados {

enum class TipoCampo { Texto, Inteiro, Decimal, Real, DataHora, Blob };

// Definition of a field of a fixed field list.
struct DefCampo {
    std::string nome;
    TipoCampo tipo = TipoCampo::Texto;
    int tamanho = 0;          // text: width in characters; decimal: precision
    int escala = 0;           // decimal places
    bool chave = false;       // written on insert/update, used to find the row
    bool obrigatorio = false; // refused when empty at post
    std::string formato;      // display mask ("#,##0.0000"), empty for none
};

class ClientDataSet;

// A field object: the column of the current row of its dataset.
class Campo {
public:
    Campo(ClientDataSet& ds, DefCampo def, int indice);
    const std::string& nome() const { return def_.nome; }
    const DefCampo& def() const { return def_; }
    TipoCampo tipo() const { return def_.tipo; }
    int tamanho() const { return def_.tamanho; }
    int indice() const { return indice_; }
    ClientDataSet& dataset() const { return ds_; }

    const Valor& valor() const;       // current row; null when there is none
    bool nulo() const;
    double comoReal() const;          // null and text that is not a number read as 0
    std::string comoTexto() const;    // plain value in the workstation's number format
    std::string textoExibicao() const;  // display format applied (browse text)

    // Assignments need the dataset in edit or insert. Text is cut to the width;
    // decimals are kept at the field's scale (rounding half away from zero).
    void defineValor(Valor v);
    // Parses the plain text for the field's type (workstation number format);
    // empty text gives null. Throws plataforma::Erro when it is not a value.
    void defineTexto(const std::string& texto);
    void limpa() { defineValor(Valor{}); }

private:
    ClientDataSet& ds_;
    DefCampo def_;
    int indice_;
};

// The SELECT side of a chain. Only reads.
struct SQLDataSet {
    std::string nome;
    fb::Conexao* conexao = nullptr;
    std::string commandText;
    std::vector<Valor> parametros;  // bound values for the '?' markers of commandText
};

enum class ModoAtualizacao { SomenteChave, TodasColunas };

enum class TipoAlteracao { Inclusao, Alteracao, Exclusao };

// A row refused by the database when changes were applied.
struct Recusa {
    TipoAlteracao tipo;
    std::vector<Valor> valores;  // the row as it was sent
    std::string mensagem;
    int sqlcode = 0;
    std::intptr_t gdscode = 0;
    bool violacaoChave = false;
    bool inexistente = false;   // nothing in the table carries the row's key any more
    std::size_t alteracao = 0;  // its place in the changes sent
    int linha = -1;             // the client dataset's row (recNo()-1); -1 for a deletion
    std::string restricao;      // the constraint or unique index a key violation names
};

struct ResultadoAplicacao {
    int aplicadas = 0;
    std::vector<Recusa> recusas;
    bool desfeita = false;  // more refusals than allowed: everything rolled back
};

// Same value: text byte for byte, numbers by value whatever their scale or width.
bool mesmoValor(const Valor& a, const Valor& b);

// What reads a client dataset's rows and writes its changes back: the database
// (Provider), or a table held in memory (ProvedorMemoria) where the dataset's
// own logic is tried without a server.
class Provedor {
public:
    Provedor(std::string nome, ModoAtualizacao modo);
    virtual ~Provedor();
    const std::string& nome() const { return nome_; }
    ModoAtualizacao modo() const { return modo_; }
    // The statement it reads, for a dataset whose statement changes; none here.
    virtual SQLDataSet* origem() const { return nullptr; }

    virtual void le(fb::Leitor& leitor) const = 0;

    struct Alteracao {
        TipoAlteracao tipo;
        const std::vector<DefCampo>* campos;
        const std::vector<Valor>* antigos;  // null for an insert
        const std::vector<Valor>* novos;    // null for a delete
        std::vector<bool> alterados;        // per field: changed here
    };
    // One INSERT, UPDATE or DELETE per logged change, in one transaction. A
    // refused statement leaves nothing behind, so with room for refusals each
    // change goes in or not on its own. A delete of a row that is gone already
    // counts as done. maxErros < 0: unlimited.
    [[nodiscard]] ResultadoAplicacao aplica(const std::vector<Alteracao>& alteracoes, int maxErros,
                                            std::vector<bool>& aceitas);

    // The writing side of one apply.
    class Gravacao {
    public:
        virtual ~Gravacao() = default;
        // Rows the change reached, found by the old values of `localizadores`
        // (an insert: 1). Throws fb::ErroBanco when the table refuses it.
        virtual long grava(const Alteracao& a, const std::vector<int>& localizadores) = 0;
        // Whether a row with the old values of `campos` is there.
        virtual bool existe(const Alteracao& a, const std::vector<int>& campos) = 0;
        virtual void confirma() = 0;
        virtual void desfaz() = 0;
    };

protected:
    virtual std::unique_ptr<Gravacao> iniciaGravacao() = 0;

private:
    std::string nome_;
    ModoAtualizacao modo_;
};

// The provider of a chain: reads its SQL dataset's statement and writes to one table.
class Provider : public Provedor {
public:
    Provider(std::string nome, SQLDataSet* origem, std::string tabela,
             ModoAtualizacao modo = ModoAtualizacao::TodasColunas);
    SQLDataSet* origem() const override { return origem_; }
    const std::string& tabela() const { return tabela_; }

    void le(fb::Leitor& leitor) const override;

protected:
    std::unique_ptr<Gravacao> iniciaGravacao() override;

private:
    fb::Conexao& conexao() const;

    SQLDataSet* origem_;
    std::string tabela_;
};

enum class Estado { Fechado, Navegando, Editando, Inserindo };
enum class AcaoErroPost { Falhar, Abortar };

// Something that listens to a client dataset (a data source).
class Observador {
public:
    virtual ~Observador() = default;
    virtual void registroMudou() = 0;        // current row moved, rows re-read, opened/closed
    virtual void estadoMudou() = 0;          // browse/edit/insert/closed
    virtual void campoMudou(const Campo& campo) = 0;
    // Before a post (and before an edit is ended by a move, an apply or a
    // refresh): controls write into the fields what they still hold.
    virtual void gravaPendente() {}
};

class ClientDataSet {
public:
    ClientDataSet(std::string nome, Provedor* provider);
    ~ClientDataSet();
    ClientDataSet(const ClientDataSet&) = delete;
    ClientDataSet& operator=(const ClientDataSet&) = delete;

    const std::string& nome() const { return nome_; }
    Provedor* provider() const { return provider_; }

    // Fixed field list; without one the fields follow the statement at open.
    void defineCampos(std::vector<DefCampo> defs);
    const std::vector<std::unique_ptr<Campo>>& campos() const { return campos_; }
    Campo* campo(std::string_view nome) const;         // case-insensitive; nullptr when absent
    Campo& fieldByName(std::string_view nome) const;   // throws when absent

    void open();
    void close();
    bool active() const { return estado_ != Estado::Fechado; }
    Estado state() const { return estado_; }
    // Close, set the SQL dataset's command text (and bound values), open.
    void defineComando(const std::string& sql, std::vector<Valor> parametros = {});

    int recordCount() const;
    int recNo() const;  // 1-based; 0 when there is no row
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    void first();
    void prior();
    void next();
    void last();
    void moveTo(int recNo);
    bool locate(std::string_view campo, const Valor& valor);  // exact match

    void append();   // a new row at the end, in insert state
    void insert();   // a new row at the current position, in insert state
    void edit();     // nothing when already editing or inserting
    void post();
    void cancel();
    void remove();   // delete the current row (logged)

    int changeCount() const;  // logged changes still to apply
    // The change of row `indice` (recNo()-1) still to apply; nullopt when none.
    std::optional<TipoAlteracao> alteracaoPendente(int indice) const;
    // Forgets the change of row `indice` still to apply: a changed row gets
    // back the values read, a new row goes away.
    void descartaAlteracao(int indice);
    // A field was assigned since the edit or insert began.
    bool modificado() const { return modificado_; }
    [[nodiscard]] ResultadoAplicacao applyUpdates(int maxErros);
    // Re-reads with the current statement; the current row stays on the same key
    // when it still exists; logged changes are kept over the rows read.
    void refresh();

    // Values of a row (tests, grids): row index is recNo()-1. While editing, the
    // current row shows the values being edited. recordCount() counts the new
    // row of an insert from the moment it is appended.
    std::vector<Valor> linha(int indice) const;
    Valor valorEm(int indice, int indiceCampo) const;
    // The current row's value; the reference holds until the row moves or changes.
    const Valor& valor(int indiceCampo) const;

    // Events, named as the handlers bind them.
    std::function<void(ClientDataSet&)> BeforeOpen, AfterOpen, BeforeClose, BeforeInsert, AfterInsert,
        BeforeEdit, AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete,
        AfterDelete, AfterScroll;
    std::function<void(ClientDataSet&, const std::exception&, AcaoErroPost&)> OnPostError;

    void adicionaObservador(Observador* o);
    void removeObservador(Observador* o);

    // Used by Campo.
    void defineValorCampo(int indice, Valor v);

private:
    struct Pendencia;
    // A cached row: its values packed, and its change still to apply, if any.
    struct Linha {
        LinhaCompacta valores;                // what the row holds now (none for a deleted row)
        std::unique_ptr<Pendencia> pendencia;
    };
    class Leitura;

    void notificaRegistro();
    void notificaEstado();
    void notificaGravacao();
    void defineEstado(Estado e);
    void criaCampos(const std::vector<DefCampo>& defs);
    std::vector<Linha> le(std::vector<DefCampo>* defsLidas) const;
    void mesclaPendentes(std::vector<Linha>& antigas);
    void validaObrigatorios() const;
    void exigeAberto() const;
    bool editando() const;
    void vaiPara(int indice);
    void rolou();
    // Leaves edit or insert the way a move does: posts when a field was assigned,
    // otherwise cancels.
    void encerraEdicao();
    void comecaInclusao(std::size_t posicao);
    void grava();

    std::string nome_;
    Provedor* provider_;
    std::vector<DefCampo> defsFixas_;
    std::vector<DefCampo> defs_;
    FormatoLinha formato_;
    std::vector<std::unique_ptr<Campo>> campos_;
    std::vector<int> indicesChave_;  // fields that identify a row: the key, else all
    std::vector<Linha> linhas_;
    std::vector<Linha> apagadas_;    // deleted rows waiting to be applied
    std::vector<Valor> buffer_;      // the row being edited or inserted
    // The current row unpacked, for the references valor() hands out; refilled
    // when `correnteValida_` is false (every move and every change of rows clears it).
    mutable std::vector<Valor> corrente_;
    mutable bool correnteValida_ = false;
    int atual_ = -1;
    int anterior_ = -1;  // current row before an insert, for its cancel
    bool modificado_ = false;
    bool bof_ = true, eof_ = true;
    Estado estado_ = Estado::Fechado;
    std::vector<Observador*> observadores_;
    long sequencia_ = 0;
};

// Binds a client dataset to data-aware controls.
class DataSource : public QObject, public Observador {
    Q_OBJECT
public:
    DataSource(std::string nome, ClientDataSet* ds, QObject* parent = nullptr);
    ~DataSource() override;
    const std::string& nome() const { return nome_; }
    ClientDataSet* dataset() const { return ds_; }

    void registroMudou() override { emit dataChanged(); }
    void estadoMudou() override { emit stateChanged(); }
    void campoMudou(const Campo& campo) override { emit fieldChanged(&campo); }
    void gravaPendente() override { emit updateRecord(); }

signals:
    void updateRecord();  // write what the control holds into its field now
    void dataChanged();
    void stateChanged();
    void fieldChanged(const dados::Campo* campo);

private:
    std::string nome_;
    ClientDataSet* ds_;
};

// The workstation's number format: display masks ("#,##0.0000") with the
// locale's separators.
std::string formataNumero(double v, const std::string& mascara);
std::string formataDecimal(const Decimal& d, const std::string& mascara);
// A value as its field shows it in a browse (grids and locked editors): the
// display mask when the field has one, otherwise the plain value in the
// workstation's format; dates in the locale's short form.
std::string textoExibicao(const Valor& v, const DefCampo& def);
char separadorDecimal();
char separadorMilhar();

}  // namespace dados
