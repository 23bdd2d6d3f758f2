#include "data/dataset.h"

#include "data/formato.h"
#include "platform/program.h"
#include "platform/text.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#ifdef __GLIBC__

using namespace plataforma::literais;
#endif

namespace dados {

// ---------------------------------------------------------------------------
// Rows and values

enum class Situacao : unsigned char { Inalterada, Incluida, Alterada, Apagada };

struct ClientDataSet::Linha {
    std::vector<Valor> valores;    // what the row holds now
    std::vector<Valor> originais;  // as read from the database; only while modified or deleted
    Situacao situacao = Situacao::Inalterada;
    bool naoGravada = false;  // the new row of an insert that has not been posted yet
    long ordem = 0;           // place of the change in the log
};

namespace {

using plataforma::Erro;

const Valor kNulo{};

std::optional<Decimal> comoDecimalExato(const Valor& v) {
    if (auto p = std::get_if<Decimal>(&v)) return *p;
    if (auto p = std::get_if<std::int32_t>(&v)) return Decimal{*p, 0};
    if (auto p = std::get_if<std::int64_t>(&v)) return Decimal{*p, 0};
    return std::nullopt;
}

// Same value: text byte for byte, numbers by value whatever their scale or width.
bool iguais(const Valor& a, const Valor& b) {
    if (a.index() == b.index()) {
        if (auto x = std::get_if<Decimal>(&a)) return *x == std::get<Decimal>(b);
        return a == b;
    }
    if (nulo(a) || nulo(b)) return false;
    const auto da = comoDecimalExato(a), db = comoDecimalExato(b);
    if (da && db) return *da == *db;
    const auto ra = std::get_if<double>(&a), rb = std::get_if<double>(&b);
    if (ra && db) return *ra == db->comoReal();
    if (rb && da) return *rb == da->comoReal();
    return false;
}

// A byte string that is equal for two keys exactly when iguais() holds for each
// value (doubles aside, which are never keys here), to index rows by key.
void anexaChave(std::string& s, const Valor& v) {
    auto bytes = [&s](const void* p, std::size_t n) { s.append(static_cast<const char*>(p), n); };
    auto texto = [&](char tipo, const std::string& t) {
        const std::uint32_t n = static_cast<std::uint32_t>(t.size());
        s.push_back(tipo);
        bytes(&n, sizeof n);
        s += t;
    };
    if (nulo(v)) {
        s.push_back('N');
    } else if (auto t = std::get_if<std::string>(&v)) {
        texto('S', *t);
    } else if (auto d = comoDecimalExato(v)) {
        Decimal n = *d;
        while (n.escala > 0 && n.unidades % 10 == 0) {
            n.unidades /= 10;
            --n.escala;
        }
        s.push_back('D');
        bytes(&n.unidades, sizeof n.unidades);
        s.push_back(static_cast<char>(n.escala));
    } else if (auto r = std::get_if<double>(&v)) {
        s.push_back('R');
        bytes(r, sizeof *r);
    } else if (auto h = std::get_if<QDateTime>(&v)) {
        const qint64 ms = h->toMSecsSinceEpoch();
        s.push_back('T');
        bytes(&ms, sizeof ms);
    } else if (auto b = std::get_if<Blob>(&v)) {
        texto('B', b->bytes);
    }
}

std::string chave(const std::vector<Valor>& valores, const std::vector<int>& indices) {
    std::string s;
    for (int i : indices) anexaChave(s, valores[static_cast<std::size_t>(i)]);
    return s;
}

bool mesmaChave(const std::vector<Valor>& a, const std::vector<Valor>& b, const std::vector<int>& indices) {
    for (int i : indices)
        if (!iguais(a[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(i)])) return false;
    return true;
}

std::string textoDoValor(const Valor& v) {
    if (auto t = std::get_if<std::string>(&v)) return *t;
    if (auto i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
    if (auto i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (auto d = std::get_if<Decimal>(&v)) return textoDecimal(*d, '.');
    if (auto r = std::get_if<double>(&v)) return textoReal(*r, '.');
    if (auto b = std::get_if<Blob>(&v)) return b->bytes;
    return {};
}

Valor inteiroCompacto(std::int64_t v) {
    if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::int32_t>(v);
    return v;
}

[[noreturn]] void valorInvalido(const DefCampo& def) {
    throw Erro("Valor inválido para o campo '"_w + def.nome + "'.", "EDatabaseError");
}

// Brings a value to the field's type: text cut to its width, decimals at the
// field's scale. Empty text is no value at all.
Valor ajusta(const DefCampo& def, Valor v) {
    if (nulo(v)) return v;
    try {
        switch (def.tipo) {
        case TipoCampo::Texto: {
            if (std::holds_alternative<QDateTime>(v)) valorInvalido(def);
            std::string t = textoDoValor(v);
            if (def.tamanho > 0 && t.size() > static_cast<std::size_t>(def.tamanho))
                t.resize(static_cast<std::size_t>(def.tamanho));
            if (t.empty()) return Valor{};
            return t;
        }
        case TipoCampo::Inteiro:
            if (std::holds_alternative<std::int32_t>(v)) return v;
            if (auto i = std::get_if<std::int64_t>(&v)) return inteiroCompacto(*i);
            if (auto d = std::get_if<Decimal>(&v)) return inteiroCompacto(d->naEscala(0).unidades);
            if (auto r = std::get_if<double>(&v)) return inteiroCompacto(Decimal::deReal(*r, 0).unidades);
            if (auto t = std::get_if<std::string>(&v)) {
                if (auto i = leInteiro(*t)) return inteiroCompacto(*i);
            }
            break;
        case TipoCampo::Decimal:
            if (auto d = comoDecimalExato(v)) return d->naEscala(def.escala);
            if (auto r = std::get_if<double>(&v)) return Decimal::deReal(*r, def.escala);
            if (auto t = std::get_if<std::string>(&v)) {
                if (auto d = leDecimal(*t, '.', def.escala)) return *d;
            }
            break;
        case TipoCampo::Real:
            if (std::holds_alternative<double>(v)) return v;
            if (auto d = comoDecimalExato(v)) return d->comoReal();
            if (auto t = std::get_if<std::string>(&v)) {
                if (auto r = leReal(*t, '.')) return *r;
            }
            break;
        case TipoCampo::DataHora:
            if (std::holds_alternative<QDateTime>(v)) return v;
            break;
        case TipoCampo::Blob:
            if (std::holds_alternative<Blob>(v)) return v;
            if (auto t = std::get_if<std::string>(&v)) return Blob{std::move(*t)};
            break;
        }
    } catch (const Erro&) {
        throw;
    } catch (const std::exception&) {
        // Out of range for the field's scale or a value that is not a number.
        valorInvalido(def);
    }
    valorInvalido(def);
}

TipoCampo tipoDaColuna(fb::TipoColuna t) {
    switch (t) {
    case fb::TipoColuna::Texto: return TipoCampo::Texto;
    case fb::TipoColuna::Inteiro:
    case fb::TipoColuna::Inteiro64:
    case fb::TipoColuna::Booleano: return TipoCampo::Inteiro;
    case fb::TipoColuna::Decimal: return TipoCampo::Decimal;
    case fb::TipoColuna::Real: return TipoCampo::Real;
    case fb::TipoColuna::DataHora:
    case fb::TipoColuna::Data:
    case fb::TipoColuna::Hora: return TipoCampo::DataHora;
    case fb::TipoColuna::Blob: return TipoCampo::Blob;
    }
    return TipoCampo::Texto;
}

bool mesmasDefinicoes(const std::vector<DefCampo>& a, const std::vector<DefCampo>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].nome != b[i].nome || a[i].tipo != b[i].tipo || a[i].tamanho != b[i].tamanho ||
            a[i].escala != b[i].escala)
            return false;
    return true;
}

bool vazio(const Valor& v) {
    if (nulo(v)) return true;
    auto t = std::get_if<std::string>(&v);
    return t && t->empty();
}

}  // namespace

// ---------------------------------------------------------------------------
// Campo

Campo::Campo(ClientDataSet& ds, DefCampo def, int indice) : ds_(ds), def_(std::move(def)), indice_(indice) {}

const Valor& Campo::valor() const { return ds_.valor(indice_); }

bool Campo::nulo() const { return dados::nulo(valor()); }

double Campo::comoReal() const {
    const Valor& v = valor();
    if (auto d = comoDecimalExato(v)) return d->comoReal();
    if (auto r = std::get_if<double>(&v)) return *r;
    if (auto t = std::get_if<std::string>(&v)) {
        if (auto r = leReal(*t, separadorDecimal())) return *r;
        if (auto r = leReal(*t, '.')) return *r;
    }
    return 0;
}

std::string Campo::comoTexto() const {
    const Valor& v = valor();
    if (auto d = std::get_if<Decimal>(&v)) return textoDecimal(*d, separadorDecimal());
    if (auto r = std::get_if<double>(&v)) return textoReal(*r, separadorDecimal());
    if (auto h = std::get_if<QDateTime>(&v)) return textoDataHora(*h);
    return textoDoValor(v);
}

std::string Campo::textoExibicao() const { return dados::textoExibicao(valor(), def_); }

void Campo::defineValor(Valor v) { ds_.defineValorCampo(indice_, std::move(v)); }

void Campo::defineReal(double v) { defineValor(v); }

void Campo::defineTexto(const std::string& texto) {
    if (texto.empty()) {
        defineValor(Valor{});
        return;
    }
    auto invalido = [&]() -> Erro {
        return Erro("'" + texto + "' não é um valor válido para o campo '"_w + def_.nome + "'.",
                    "EConvertError");
    };
    switch (def_.tipo) {
    case TipoCampo::Texto: defineValor(texto); return;
    case TipoCampo::Blob: defineValor(Blob{texto}); return;
    case TipoCampo::Inteiro:
        if (auto i = leInteiro(texto)) return defineValor(inteiroCompacto(*i));
        throw invalido();
    case TipoCampo::Decimal:
        if (auto t = semSeparadorMilhar(texto, separadorDecimal(), separadorMilhar()))
            if (auto d = leDecimal(*t, separadorDecimal(), def_.escala)) return defineValor(*d);
        throw invalido();
    case TipoCampo::Real:
        if (auto t = semSeparadorMilhar(texto, separadorDecimal(), separadorMilhar()))
            if (auto r = leReal(*t, separadorDecimal())) return defineValor(*r);
        throw invalido();
    case TipoCampo::DataHora:
        if (auto h = leDataHora(texto)) return defineValor(*h);
        throw invalido();
    }
}

// ---------------------------------------------------------------------------
// Provider

namespace {

// Plain upper-case names go as they are; anything else (an alias with a blank,
// a lower-case name) is quoted.
std::string identificador(const std::string& nome) {
    bool simples = !nome.empty() && nome[0] >= 'A' && nome[0] <= 'Z';
    for (char c : nome)
        simples = simples && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$');
    if (simples) return nome;
    std::string r = "\"";
    for (char c : nome) {
        if (c == '"') r.push_back('"');
        r.push_back(c);
    }
    return r + "\"";
}

struct Comando {
    std::string sql;
    std::vector<Valor> parametros;
};

// " WHERE A = ? AND B IS NULL" over the given fields' old values.
void condicao(Comando& c, const std::vector<DefCampo>& campos, const std::vector<Valor>& antigos,
              const std::vector<int>& indices) {
    c.sql += " WHERE ";
    bool primeiro = true;
    for (int i : indices) {
        const auto u = static_cast<std::size_t>(i);
        if (!primeiro) c.sql += " AND ";
        primeiro = false;
        c.sql += identificador(campos[u].nome);
        if (nulo(antigos[u])) {
            c.sql += " IS NULL";
        } else {
            c.sql += " = ?";
            c.parametros.push_back(antigos[u]);
        }
    }
}

std::vector<int> camposLocalizadores(const std::vector<DefCampo>& campos, ModoAtualizacao modo) {
    std::vector<int> r;
    if (modo == ModoAtualizacao::SomenteChave)
        for (std::size_t i = 0; i < campos.size(); ++i)
            if (campos[i].chave) r.push_back(static_cast<int>(i));
    if (r.empty())  // all columns, or no key to go by: every comparable column
        for (std::size_t i = 0; i < campos.size(); ++i)
            if (campos[i].tipo != TipoCampo::Blob) r.push_back(static_cast<int>(i));
    return r;
}

Comando monta(const Provider::Alteracao& a, const std::string& tabela, const std::vector<int>& localizadores) {
    const auto& campos = *a.campos;
    Comando c;
    switch (a.tipo) {
    case TipoAlteracao::Inclusao: {
        std::string nomes, marcas;
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (i > 0) {
                nomes += ", ";
                marcas += ", ";
            }
            nomes += identificador(campos[i].nome);
            marcas += "?";
            c.parametros.push_back((*a.novos)[i]);
        }
        c.sql = "INSERT INTO " + tabela + " (" + nomes + ") VALUES (" + marcas + ")";
        break;
    }
    case TipoAlteracao::Alteracao: {
        std::string atribuicoes;
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (i >= a.alterados.size() || !a.alterados[i]) continue;
            if (!atribuicoes.empty()) atribuicoes += ", ";
            atribuicoes += identificador(campos[i].nome) + " = ?";
            c.parametros.push_back((*a.novos)[i]);
        }
        if (atribuicoes.empty()) return c;  // nothing changed here: nothing to send
        c.sql = "UPDATE " + tabela + " SET " + atribuicoes;
        condicao(c, campos, *a.antigos, localizadores);
        break;
    }
    case TipoAlteracao::Exclusao:
        c.sql = "DELETE FROM " + tabela;
        condicao(c, campos, *a.antigos, localizadores);
        break;
    }
    return c;
}

}  // namespace

Provider::Provider(std::string nome, SQLDataSet* origem, std::string tabela, ModoAtualizacao modo)
    : nome_(std::move(nome)), origem_(origem), tabela_(std::move(tabela)), modo_(modo) {}

fb::Resultado Provider::le() const {
    if (!origem_ || !origem_->conexao)
        throw Erro(nome_ + ": sem conexão com o banco de dados."_w, "EDatabaseError");
    return origem_->conexao->consulta(origem_->commandText, origem_->parametros);
}

ResultadoAplicacao Provider::aplica(const std::vector<Alteracao>& alteracoes, int maxErros,
                                    std::vector<bool>& aceitas) const {
    aceitas.assign(alteracoes.size(), false);
    ResultadoAplicacao res;
    if (alteracoes.empty()) return res;
    if (!origem_ || !origem_->conexao)
        throw Erro(nome_ + ": sem conexão com o banco de dados."_w, "EDatabaseError");
    if (tabela_.empty()) throw Erro(nome_ + ": não há tabela para gravar as alterações."_w);

    const std::string tabela = identificador(tabela_);
    std::vector<bool> ok(alteracoes.size(), false);
    auto tx = origem_->conexao->iniciaTransacao();
    for (std::size_t i = 0; i < alteracoes.size(); ++i) {
        const Alteracao& a = alteracoes[i];
        const Comando c = monta(a, tabela, camposLocalizadores(*a.campos, modo_));
        if (c.sql.empty()) {
            ok[i] = true;
            continue;
        }
        Recusa recusa{a.tipo, {}, {}, 0, 0, false, i, -1};
        try {
            const long afetadas = tx->executa(c.sql, c.parametros);
            if (afetadas > 0 || a.tipo == TipoAlteracao::Inclusao) {
                ok[i] = true;
                continue;
            }
            recusa.mensagem = "Registro não encontrado ou alterado por outro usuário."_w;
        } catch (const fb::ErroBanco& e) {
            // A lost connection is no refusal of this row: the whole apply fails.
            if (e.conexaoPerdida()) throw;
            recusa.mensagem = e.what();
            recusa.sqlcode = e.sqlcode();
            recusa.gdscode = e.gdscode();
            recusa.violacaoChave = e.violacaoChave();
        }
        recusa.valores = a.novos ? *a.novos : *a.antigos;
        res.recusas.push_back(std::move(recusa));
        if (maxErros >= 0 && static_cast<int>(res.recusas.size()) > maxErros) {
            tx->desfaz();
            res.desfeita = true;
            return res;
        }
    }
    tx->confirma();
    aceitas = std::move(ok);
    res.aplicadas = static_cast<int>(std::count(aceitas.begin(), aceitas.end(), true));
    return res;
}

// ---------------------------------------------------------------------------
// ClientDataSet


ClientDataSet::ClientDataSet(std::string nome, Provider* provider)
    : nome_(std::move(nome)), provider_(provider) {}

ClientDataSet::~ClientDataSet() = default;

void ClientDataSet::defineCampos(std::vector<DefCampo> defs) {
    if (active()) throw Erro(nome_ + ": os campos não podem mudar com o conjunto de dados aberto."_w);
    defsFixas_ = std::move(defs);
    criaCampos(defsFixas_);
}

void ClientDataSet::criaCampos(const std::vector<DefCampo>& defs) {
    defs_ = defs;
    campos_.clear();
    campos_.reserve(defs_.size());
    for (std::size_t i = 0; i < defs_.size(); ++i)
        campos_.push_back(std::make_unique<Campo>(*this, defs_[i], static_cast<int>(i)));
    indicesChave_.clear();
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].chave) indicesChave_.push_back(static_cast<int>(i));
    if (indicesChave_.empty())
        for (std::size_t i = 0; i < defs_.size(); ++i) indicesChave_.push_back(static_cast<int>(i));
}

Campo* ClientDataSet::campo(std::string_view nome) const {
    for (const auto& c : campos_)
        if (plataforma::iguaisSemCaixaAscii(c->nome(), nome)) return c.get();
    return nullptr;
}

Campo& ClientDataSet::fieldByName(std::string_view nome) const {
    if (Campo* c = campo(nome)) return *c;
    throw Erro(nome_ + ": campo '" + std::string(nome) + "' não encontrado."_w, "EDatabaseError");
}

void ClientDataSet::exigeAberto() const {
    if (!active())
        throw Erro(nome_ + ": operação não permitida com o conjunto de dados fechado."_w,
                   "EDatabaseError");
}

bool ClientDataSet::editando() const { return estado_ == Estado::Editando || estado_ == Estado::Inserindo; }

std::vector<Valor>& ClientDataSet::valoresTrabalho() {
    return estado_ == Estado::Editando ? buffer_->valores : linhas_[static_cast<std::size_t>(atual_)]->valores;
}

// Rows of a result, in the order of the fields. With a fixed field list the
// columns are matched by name; values are brought to the fields' widths and scales.
std::vector<std::unique_ptr<ClientDataSet::Linha>> ClientDataSet::linhasDe(fb::Resultado&& r) const {
    const std::size_t n = defs_.size();
    std::vector<int> origem(n);
    bool direto = r.colunas.size() == n;
    for (std::size_t i = 0; i < n; ++i) {
        const int c = r.indice(defs_[i].nome);
        if (c < 0)
            throw Erro(nome_ + ": campo '" + defs_[i].nome + "' não encontrado."_w, "EDatabaseError");
        origem[i] = c;
        direto = direto && c == static_cast<int>(i);
    }
    // Only the fields whose column can hold more than the field need a look per row.
    std::vector<std::size_t> ajustar;
    for (std::size_t i = 0; i < n; ++i) {
        const DefCampo& d = defs_[i];
        const fb::Coluna& col = r.colunas[static_cast<std::size_t>(origem[i])];
        const bool texto = d.tipo == TipoCampo::Texto && d.tamanho > 0 &&
                           (col.tipo != fb::TipoColuna::Texto || col.tamanho <= 0 || col.tamanho > d.tamanho);
        const bool decimal = d.tipo == TipoCampo::Decimal &&
                             (col.tipo != fb::TipoColuna::Decimal || col.escala != d.escala);
        if (texto || decimal) ajustar.push_back(i);
    }

    std::vector<std::unique_ptr<Linha>> linhas;
    linhas.reserve(r.linhas.size());
    for (auto& lida : r.linhas) {
        auto l = std::make_unique<Linha>();
        if (direto) {
            l->valores = std::move(lida);
        } else {
            l->valores.resize(n);
            for (std::size_t i = 0; i < n; ++i) l->valores[i] = std::move(lida[static_cast<std::size_t>(origem[i])]);
        }
        for (std::size_t i : ajustar) {
            Valor& v = l->valores[i];
            if (auto t = std::get_if<std::string>(&v)) {
                if (t->size() > static_cast<std::size_t>(defs_[i].tamanho))
                    t->resize(static_cast<std::size_t>(defs_[i].tamanho));
            } else if (!nulo(v)) {
                v = ajusta(defs_[i], std::move(v));
            }
        }
        linhas.push_back(std::move(l));
    }
    return linhas;
}

void ClientDataSet::open() {
    if (active()) return;
    if (!provider_) throw Erro(nome_ + ": sem provedor de dados.", "EDatabaseError");
    if (BeforeOpen) BeforeOpen(*this);
    fb::Resultado r = provider_->le();
    if (defsFixas_.empty()) {
        // The fields follow the statement; the field objects stay when the columns do.
        std::vector<DefCampo> defs;
        defs.reserve(r.colunas.size());
        for (const auto& c : r.colunas) {
            DefCampo d;
            d.nome = c.nome;
            d.tipo = tipoDaColuna(c.tipo);
            d.tamanho = d.tipo == TipoCampo::Texto ? c.tamanho : d.tipo == TipoCampo::Decimal ? 18 : 0;
            d.escala = d.tipo == TipoCampo::Decimal ? c.escala : 0;
            defs.push_back(std::move(d));
        }
        if (!mesmasDefinicoes(defs, defs_)) criaCampos(defs);
    }
    linhas_ = linhasDe(std::move(r));
    apagadas_.clear();
    buffer_.reset();
    modificado_ = false;
    atual_ = linhas_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = linhas_.empty();
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterOpen) AfterOpen(*this);
    if (AfterScroll) AfterScroll(*this);
}

void ClientDataSet::close() {
    if (!active()) return;
    if (BeforeClose) BeforeClose(*this);
    if (!active()) return;
    buffer_.reset();
    linhas_.clear();
    apagadas_.clear();
    modificado_ = false;
    atual_ = -1;
    bof_ = eof_ = true;
    defineEstado(Estado::Fechado);
    notificaRegistro();
}

void ClientDataSet::defineComando(const std::string& sql, std::vector<Valor> parametros) {
    close();
    if (!provider_ || !provider_->origem()) throw Erro(nome_ + ": sem provedor de dados.", "EDatabaseError");
    provider_->origem()->commandText = sql;
    provider_->origem()->parametros = std::move(parametros);
    open();
}

int ClientDataSet::recordCount() const { return static_cast<int>(linhas_.size()); }

int ClientDataSet::recNo() const { return atual_ + 1; }

void ClientDataSet::rolou() {
    notificaRegistro();
    if (AfterScroll) AfterScroll(*this);
}

void ClientDataSet::first() {
    exigeAberto();
    encerraEdicao();
    atual_ = linhas_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = linhas_.empty();
    rolou();
}

void ClientDataSet::last() {
    exigeAberto();
    encerraEdicao();
    atual_ = static_cast<int>(linhas_.size()) - 1;
    eof_ = true;
    bof_ = linhas_.empty();
    rolou();
}

void ClientDataSet::next() {
    exigeAberto();
    encerraEdicao();
    if (atual_ + 1 < static_cast<int>(linhas_.size())) {
        ++atual_;
        bof_ = eof_ = false;
    } else {
        eof_ = true;
    }
    rolou();
}

void ClientDataSet::prior() {
    exigeAberto();
    encerraEdicao();
    if (atual_ > 0) {
        --atual_;
        bof_ = eof_ = false;
    } else {
        bof_ = true;
    }
    rolou();
}

void ClientDataSet::moveTo(int numero) {
    exigeAberto();
    encerraEdicao();
    if (linhas_.empty()) return;
    atual_ = std::clamp(numero, 1, static_cast<int>(linhas_.size())) - 1;
    bof_ = eof_ = false;
    rolou();
}

bool ClientDataSet::locate(std::string_view nomeCampo, const Valor& valor) {
    exigeAberto();
    const std::size_t c = static_cast<std::size_t>(fieldByName(nomeCampo).indice());
    encerraEdicao();
    for (std::size_t i = 0; i < linhas_.size(); ++i) {
        if (!iguais(linhas_[i]->valores[c], valor)) continue;
        atual_ = static_cast<int>(i);
        bof_ = eof_ = false;
        rolou();
        return true;
    }
    return false;
}

void ClientDataSet::encerraEdicao() {
    if (!editando()) return;
    notificaGravacao();
    if (modificado_)
        post();
    else
        cancel();
}

void ClientDataSet::comecaInclusao(std::size_t posicao) {
    exigeAberto();
    encerraEdicao();
    if (BeforeInsert) BeforeInsert(*this);
    auto l = std::make_unique<Linha>();
    l->valores.resize(defs_.size());
    l->naoGravada = true;
    anterior_ = atual_;
    posicao = std::min(posicao, linhas_.size());
    linhas_.insert(linhas_.begin() + static_cast<std::ptrdiff_t>(posicao), std::move(l));
    atual_ = static_cast<int>(posicao);
    bof_ = eof_ = false;
    modificado_ = false;
    defineEstado(Estado::Inserindo);
    notificaRegistro();
    if (AfterInsert) AfterInsert(*this);
    if (AfterScroll) AfterScroll(*this);
}

void ClientDataSet::append() { comecaInclusao(linhas_.size()); }

void ClientDataSet::insert() { comecaInclusao(atual_ < 0 ? 0 : static_cast<std::size_t>(atual_)); }

void ClientDataSet::edit() {
    exigeAberto();
    if (editando()) return;
    if (linhas_.empty()) {  // no row to change: a new one
        append();
        return;
    }
    if (BeforeEdit) BeforeEdit(*this);
    if (editando() || !active() || atual_ < 0) return;  // the handler moved on by itself
    buffer_ = std::make_unique<Linha>();
    buffer_->valores = linhas_[static_cast<std::size_t>(atual_)]->valores;
    modificado_ = false;
    defineEstado(Estado::Editando);
    if (AfterEdit) AfterEdit(*this);
}

void ClientDataSet::validaObrigatorios() const {
    const auto& valores = linha(atual_);
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (defs_[i].obrigatorio && vazio(valores[i]))
            throw Erro("O campo '" + defs_[i].nome + "' precisa de um valor.", "EDatabaseError");
}

// Stores the row being edited or inserted and logs the change.
void ClientDataSet::grava() {
    Linha& l = *linhas_[static_cast<std::size_t>(atual_)];
    if (estado_ == Estado::Inserindo) {
        l.naoGravada = false;
        l.situacao = Situacao::Incluida;
        l.ordem = ++sequencia_;
        return;
    }
    std::vector<Valor>& novos = buffer_->valores;
    bool mudou = false;
    for (std::size_t i = 0; i < novos.size() && !mudou; ++i) mudou = !iguais(novos[i], l.valores[i]);
    if (mudou) {
        if (l.situacao == Situacao::Inalterada) {
            l.originais = std::move(l.valores);
            l.situacao = Situacao::Alterada;
            l.ordem = ++sequencia_;
        }
        l.valores = std::move(novos);
        if (l.situacao == Situacao::Alterada) {
            // Changed back to what the database holds: nothing left to send.
            bool igual = true;
            for (std::size_t i = 0; i < l.valores.size() && igual; ++i) igual = iguais(l.valores[i], l.originais[i]);
            if (igual) {
                l.situacao = Situacao::Inalterada;
                std::vector<Valor>().swap(l.originais);
            }
        }
    }
    buffer_.reset();
}

void ClientDataSet::post() {
    exigeAberto();
    if (!editando()) return;
    notificaGravacao();
    if (BeforePost) BeforePost(*this);
    if (!editando()) return;  // the handler cancelled: nothing to store
    try {
        validaObrigatorios();
        grava();
    } catch (const std::exception& e) {
        AcaoErroPost acao = AcaoErroPost::Falhar;
        if (OnPostError) OnPostError(*this, e, acao);
        if (acao == AcaoErroPost::Abortar) throw plataforma::Abortado();
        throw;
    }
    modificado_ = false;
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterPost) AfterPost(*this);
}

void ClientDataSet::cancel() {
    if (!editando()) return;
    if (BeforeCancel) BeforeCancel(*this);
    if (!editando()) return;
    if (estado_ == Estado::Inserindo) {
        linhas_.erase(linhas_.begin() + atual_);
        // Back to the row that was current before the insert: with the new row
        // gone it has its old index again.
        atual_ = std::min(anterior_, static_cast<int>(linhas_.size()) - 1);
        if (atual_ < 0 && !linhas_.empty()) atual_ = 0;
    }
    buffer_.reset();
    modificado_ = false;
    bof_ = eof_ = linhas_.empty();
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterCancel) AfterCancel(*this);
}

void ClientDataSet::remove() {
    exigeAberto();
    if (estado_ == Estado::Inserindo) {
        cancel();
        return;
    }
    if (atual_ < 0)
        throw Erro(nome_ + ": operação não permitida com o conjunto de dados vazio."_w, "EDatabaseError");
    if (BeforeDelete) BeforeDelete(*this);
    buffer_.reset();
    modificado_ = false;
    std::unique_ptr<Linha> l = std::move(linhas_[static_cast<std::size_t>(atual_)]);
    linhas_.erase(linhas_.begin() + atual_);
    if (l->situacao != Situacao::Incluida) {  // a row never sent needs no DELETE
        if (l->situacao == Situacao::Inalterada) l->originais = std::move(l->valores);
        l->valores.clear();
        l->situacao = Situacao::Apagada;
        l->ordem = ++sequencia_;
        apagadas_.push_back(std::move(l));
    }
    atual_ = std::min(atual_, static_cast<int>(linhas_.size()) - 1);
    bof_ = eof_ = linhas_.empty();
    defineEstado(Estado::Navegando);
    notificaRegistro();
    if (AfterDelete) AfterDelete(*this);
    if (AfterScroll) AfterScroll(*this);
}

int ClientDataSet::changeCount() const {
    int n = static_cast<int>(apagadas_.size());
    for (const auto& l : linhas_)
        if (l->situacao != Situacao::Inalterada) ++n;
    return n;
}

std::optional<TipoAlteracao> ClientDataSet::alteracaoPendente(int indice) const {
    switch (linhas_.at(static_cast<std::size_t>(indice))->situacao) {
    case Situacao::Incluida: return TipoAlteracao::Inclusao;
    case Situacao::Alterada: return TipoAlteracao::Alteracao;
    case Situacao::Apagada: return TipoAlteracao::Exclusao;
    case Situacao::Inalterada: break;
    }
    return std::nullopt;
}

ResultadoAplicacao ClientDataSet::applyUpdates(int maxErros) {
    exigeAberto();
    encerraEdicao();
    std::vector<Linha*> log;
    for (const auto& l : linhas_)
        if (l->situacao != Situacao::Inalterada) log.push_back(l.get());
    for (const auto& l : apagadas_) log.push_back(l.get());
    if (log.empty()) return {};
    std::sort(log.begin(), log.end(), [](const Linha* a, const Linha* b) { return a->ordem < b->ordem; });

    std::vector<Provider::Alteracao> alteracoes;
    alteracoes.reserve(log.size());
    for (Linha* l : log) {
        Provider::Alteracao a{};
        a.campos = &defs_;
        switch (l->situacao) {
        case Situacao::Incluida:
            a.tipo = TipoAlteracao::Inclusao;
            a.novos = &l->valores;
            break;
        case Situacao::Alterada:
            a.tipo = TipoAlteracao::Alteracao;
            a.antigos = &l->originais;
            a.novos = &l->valores;
            a.alterados.resize(defs_.size());
            for (std::size_t i = 0; i < defs_.size(); ++i) a.alterados[i] = !iguais(l->originais[i], l->valores[i]);
            break;
        case Situacao::Apagada:
        case Situacao::Inalterada:
            a.tipo = TipoAlteracao::Exclusao;
            a.antigos = &l->originais;
            break;
        }
        alteracoes.push_back(std::move(a));
    }

    std::vector<bool> aceitas;
    ResultadoAplicacao res = provider_->aplica(alteracoes, maxErros, aceitas);
    // Each refusal names its row, so the caller can go back to exactly that row
    // (two rows may share a code while one of them waits to be stored).
    for (Recusa& r : res.recusas) {
        const Linha* refusada = log[r.alteracao];
        for (std::size_t i = 0; i < linhas_.size(); ++i)
            if (linhas_[i].get() == refusada) r.linha = static_cast<int>(i);
    }
    if (res.desfeita) return res;
    bool apagadaAceita = false;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (!aceitas[i]) continue;
        Linha& l = *log[i];
        if (l.situacao == Situacao::Apagada) {
            l.situacao = Situacao::Inalterada;  // marks it for removal below
            apagadaAceita = true;
        } else {
            l.situacao = Situacao::Inalterada;
            std::vector<Valor>().swap(l.originais);
        }
    }
    if (apagadaAceita)
        std::erase_if(apagadas_, [](const auto& l) { return l->situacao == Situacao::Inalterada; });
    return res;
}

void ClientDataSet::refresh() {
    exigeAberto();
    encerraEdicao();
    fb::Resultado r = provider_->le();

    // The current row is found again by itself when it carries a pending change
    // (it moves over to the new rows), else by its key.
    const Linha* corrente = atual_ >= 0 ? linhas_[static_cast<std::size_t>(atual_)].get() : nullptr;
    const bool correntePendente = corrente && corrente->situacao != Situacao::Inalterada;
    std::vector<Valor> chaveCorrente;
    if (corrente && !correntePendente) chaveCorrente = corrente->valores;
    const int posicaoAnterior = atual_;

    std::vector<std::unique_ptr<Linha>> antigas = std::move(linhas_);
    linhas_ = linhasDe(std::move(r));
    mesclaPendentes(antigas);

    atual_ = -1;
    if (correntePendente) {
        for (std::size_t i = 0; i < linhas_.size() && atual_ < 0; ++i)
            if (linhas_[i].get() == corrente) atual_ = static_cast<int>(i);
    } else if (!chaveCorrente.empty()) {
        for (std::size_t i = 0; i < linhas_.size() && atual_ < 0; ++i)
            if (mesmaChave(linhas_[i]->valores, chaveCorrente, indicesChave_)) atual_ = static_cast<int>(i);
    }
    if (atual_ < 0) atual_ = std::min(std::max(posicaoAnterior, 0), static_cast<int>(linhas_.size()) - 1);
    bof_ = eof_ = linhas_.empty();
    notificaRegistro();
}

// Puts the changes still to apply over freshly read rows: a modified row keeps
// the columns changed here and takes the others as read; new rows are kept;
// rows deleted here stay away.
void ClientDataSet::mesclaPendentes(std::vector<std::unique_ptr<Linha>>& antigas) {
    std::vector<std::unique_ptr<Linha>*> alteradas;
    std::vector<std::unique_ptr<Linha>> novas;
    for (auto& l : antigas) {
        if (l->situacao == Situacao::Alterada) alteradas.push_back(&l);
        if (l->situacao == Situacao::Incluida) novas.push_back(std::move(l));
    }
    if (alteradas.empty() && novas.empty() && apagadas_.empty()) return;

    std::unordered_map<std::string, std::size_t> porChave;
    if (!alteradas.empty() || !apagadas_.empty()) {
        porChave.reserve(linhas_.size());
        for (std::size_t i = 0; i < linhas_.size(); ++i)
            porChave.emplace(chave(linhas_[i]->valores, indicesChave_), i);
    }
    auto acha = [&](const std::vector<Valor>& valores) -> std::ptrdiff_t {
        const auto it = porChave.find(chave(valores, indicesChave_));
        return it == porChave.end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
    };

    std::vector<bool> remover(linhas_.size(), false);
    for (const auto& l : apagadas_) {
        const auto i = acha(l->originais);
        if (i >= 0) remover[static_cast<std::size_t>(i)] = true;
    }
    for (auto* p : alteradas) {
        Linha& minha = **p;
        const auto i = acha(minha.originais);
        if (i < 0 || remover[static_cast<std::size_t>(i)]) {
            novas.push_back(std::move(*p));  // gone from the database: the change stays to be sent
            continue;
        }
        Linha& lida = *linhas_[static_cast<std::size_t>(i)];
        for (std::size_t c = 0; c < minha.valores.size(); ++c) {
            if (!iguais(minha.originais[c], minha.valores[c])) continue;
            minha.originais[c] = lida.valores[c];
            minha.valores[c] = std::move(lida.valores[c]);
        }
        linhas_[static_cast<std::size_t>(i)] = std::move(*p);
    }
    if (std::find(remover.begin(), remover.end(), true) != remover.end()) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < linhas_.size(); ++i)
            if (!remover[i]) linhas_[j++] = std::move(linhas_[i]);
        linhas_.resize(j);
    }
    for (auto& l : novas) linhas_.push_back(std::move(l));
}

const std::vector<Valor>& ClientDataSet::linha(int indice) const {
    if (estado_ == Estado::Editando && indice == atual_) return buffer_->valores;
    return linhas_.at(static_cast<std::size_t>(indice))->valores;
}

const Valor& ClientDataSet::valor(int indiceCampo) const {
    if (atual_ < 0 || indiceCampo < 0) return kNulo;
    const auto& v = linha(atual_);
    return static_cast<std::size_t>(indiceCampo) < v.size() ? v[static_cast<std::size_t>(indiceCampo)] : kNulo;
}

void ClientDataSet::defineValorCampo(int indice, Valor v) {
    if (!editando())
        throw Erro(nome_ + ": o conjunto de dados não está em edição nem em inclusão."_w,
                   "EDatabaseError");
    const auto i = static_cast<std::size_t>(indice);
    valoresTrabalho()[i] = ajusta(defs_[i], std::move(v));
    modificado_ = true;
    const Campo& c = *campos_[i];
    for (Observador* o : std::vector<Observador*>(observadores_)) o->campoMudou(c);
}

void ClientDataSet::adicionaObservador(Observador* o) {
    if (std::find(observadores_.begin(), observadores_.end(), o) == observadores_.end()) observadores_.push_back(o);
}

void ClientDataSet::removeObservador(Observador* o) { std::erase(observadores_, o); }

// Observers may remove themselves while being told: walk a copy.
void ClientDataSet::notificaRegistro() {
    for (Observador* o : std::vector<Observador*>(observadores_)) o->registroMudou();
}

void ClientDataSet::notificaEstado() {
    for (Observador* o : std::vector<Observador*>(observadores_)) o->estadoMudou();
}

void ClientDataSet::notificaGravacao() {
    for (Observador* o : std::vector<Observador*>(observadores_)) o->gravaPendente();
}

void ClientDataSet::defineEstado(Estado e) {
    if (e == estado_) return;
    estado_ = e;
    notificaEstado();
}

// ---------------------------------------------------------------------------
// DataSource

DataSource::DataSource(std::string nome, ClientDataSet* ds, QObject* parent)
    : QObject(parent), nome_(std::move(nome)), ds_(ds) {
    if (ds_) ds_->adicionaObservador(this);
}

DataSource::~DataSource() {
    if (ds_) ds_->removeObservador(this);
}

}  // namespace dados
