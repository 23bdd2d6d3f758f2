#include "data/fbclient.h"

#include "platform/espera.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <type_traits>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <dlfcn.h>
#include <signal.h>
#endif

#include "platform/text.h"

using namespace plataforma::literais;

namespace dados::fb {

using namespace Firebird;

namespace {

// ---------------------------------------------------------------------------
// The client library, loaded once per path and kept for the whole run:
// unloading a database client that runs threads of its own is not safe.

using FuncaoMaster = IMaster* (*)();
using FuncaoSqlcode = ISC_LONG (*)(const ISC_STATUS*);

struct Biblioteca {
    std::string arquivo;  // the file loaded, as the system found it
    IMaster* master = nullptr;
    IUtil* util = nullptr;
    IProvider* provedor = nullptr;
    FuncaoSqlcode sqlcode = nullptr;
};

#ifdef _WIN32
// The system's reason for the last failure, in the system's language.
std::string erroCarga() {
    const DWORD codigo = GetLastError();
    char texto[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, codigo, 0, texto,
                             sizeof texto, nullptr);
    while (n > 0 && (texto[n - 1] == '\n' || texto[n - 1] == '\r' || texto[n - 1] == ' ' || texto[n - 1] == '.')) --n;
    return "código "_w + std::to_string(codigo) + (n > 0 ? ": " + std::string(texto, n) : std::string());
}

// A file name given with a folder is loaded with that folder first in the
// search for the libraries it needs in turn (the client's own runtime beside it).
HMODULE carregaDll(const std::string& caminho) {
    const bool comPasta = caminho.find_first_of("\\/") != std::string::npos;
    return LoadLibraryExA(caminho.c_str(), nullptr, comPasta ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
}

// fbclient.dll in the place of a gds32.dll; empty for any other name.
std::string clienteAlternativo(const std::string& caminho) {
    const std::size_t inicio = caminho.find_last_of("\\/") + 1;  // 0 without a folder
    if (!plataforma::iguaisSemCaixaAscii(std::string_view(caminho).substr(inicio), "gds32.dll")) return {};
    return caminho.substr(0, inicio) + "fbclient.dll";
}
#else
std::string erroCarga() {
    const char* e = dlerror();
    return e ? e : "";
}
#endif

#ifndef _WIN32
// The client library takes over SIGINT and SIGTERM to close its connections and
// then calls the handlers that were there before; with none there the program
// would live on after being told to end. This one ends it the default way.
void terminaComoPadrao(int sinal) {
    std::signal(sinal, SIG_DFL);
    std::raise(sinal);
}

void preservaFimPorSinal() {
    for (int sinal : {SIGINT, SIGTERM}) {
        struct sigaction atual {};
        if (sigaction(sinal, nullptr, &atual) == 0 && atual.sa_handler == SIG_DFL)
            std::signal(sinal, terminaComoPadrao);
    }
}
#endif

Biblioteca& carregaBiblioteca(const std::string& caminho) {
    // A connection may open on a thread of its own while another reads.
    static std::mutex mutex;
    const std::lock_guard<std::mutex> trava(mutex);
    static std::map<std::string, Biblioteca> carregadas;
    if (auto it = carregadas.find(caminho); it != carregadas.end()) return it->second;
#ifndef _WIN32
    preservaFimPorSinal();
#endif

#ifdef _WIN32
    // gds32.dll is the name the suite gives the client; current installs of the
    // database name it fbclient.dll, tried next in the same place.
    HMODULE h = carregaDll(caminho);
    if (!h) {
        std::string motivo = "\"" + caminho + "\" (" + erroCarga() + ")";
        if (const std::string outro = clienteAlternativo(caminho); !outro.empty()) {
            h = carregaDll(outro);
            if (!h) motivo += " nem \"" + outro + "\" (" + erroCarga() + ")";
        }
        if (!h) throw ErroBanco("Não foi possível carregar a biblioteca cliente do banco de dados "_w + motivo, 0, 0);
    }
    auto simbolo = [&](const char* nome) { return reinterpret_cast<void*>(GetProcAddress(h, nome)); };
#else
    void* h = dlopen(caminho.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h)
        throw ErroBanco("Não foi possível carregar a biblioteca cliente do banco de dados \""_w + caminho +
                            "\": " + erroCarga(),
                        0, 0);
    auto simbolo = [&](const char* nome) { return dlsym(h, nome); };
#endif
    Biblioteca b;
    b.arquivo = caminho;
#ifdef _WIN32
    char arquivo[MAX_PATH];
    if (const DWORD n = GetModuleFileNameA(h, arquivo, MAX_PATH); n > 0 && n < MAX_PATH) b.arquivo.assign(arquivo, n);
#endif
    auto master = reinterpret_cast<FuncaoMaster>(simbolo("fb_get_master_interface"));
    if (!master)
        throw ErroBanco("A biblioteca \"" + b.arquivo + "\" não é um cliente do banco de dados (falta "_w +
                            "fb_get_master_interface).",
                        0, 0);
#ifndef _WIN32
    if (Dl_info info{}; dladdr(reinterpret_cast<void*>(master), &info) && info.dli_fname) b.arquivo = info.dli_fname;
#endif
    b.master = master();
    b.util = b.master->getUtilInterface();
    b.provedor = b.master->getDispatcher();
    b.sqlcode = reinterpret_cast<FuncaoSqlcode>(simbolo("isc_sqlcode"));
    return carregadas.emplace(caminho, b).first->second;
}

// ---------------------------------------------------------------------------
// Status and errors

// One status object per operation; calls through it throw FbException.
class Status : public ThrowStatusWrapper {
public:
    explicit Status(const Biblioteca& lib) : ThrowStatusWrapper(lib.master->getStatus()) {}
    ~Status() { dispose(); }  // disposes the status it wraps
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
};

// The name a key violation gives: the first argument of its code.
std::string restricaoVioladaDe(const ISC_STATUS* vetor) {
    for (const ISC_STATUS* p = vetor; *p != isc_arg_end;) {
        const ISC_STATUS tipo = p[0];
        if (tipo == isc_arg_gds && (p[1] == isc_unique_key_violation || p[1] == isc_no_dup))
            return p[2] == isc_arg_string ? reinterpret_cast<const char*>(p[3]) : std::string();
        p += tipo == isc_arg_cstring ? 3 : 2;
    }
    return {};
}

[[noreturn]] void lancaErro(const Biblioteca& lib, IStatus* status) {
    char texto[4096];
    const unsigned n = lib.util->formatStatus(texto, sizeof texto, status);
    const ISC_STATUS* vetor = status->getErrors();
    const std::intptr_t gds = (vetor[0] == isc_arg_gds) ? vetor[1] : 0;
    const int sqlcode = lib.sqlcode ? static_cast<int>(lib.sqlcode(vetor)) : 0;
    std::string mensagem(texto, std::min<std::size_t>(n, sizeof texto));
    while (!mensagem.empty() && (mensagem.back() == '\n' || mensagem.back() == '\r')) mensagem.pop_back();
    throw ErroBanco(mensagem, sqlcode, gds, "EDatabaseError", restricaoVioladaDe(vetor));
}

// Runs f, turning the client's exceptions into ErroBanco.
template <class F>
auto traduzErros(const Biblioteca& lib, F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const FbException& e) {
        lancaErro(lib, e.getStatus());
    }
}

// Releases a reference unless ownership was handed back (after a call that
// releases it on success, such as commit, close or free).
template <class T>
class Ref {
public:
    explicit Ref(T* p = nullptr) : p_(p) {}
    ~Ref() {
        if (p_) p_->release();
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void reset(T* p) {
        if (p_) p_->release();
        p_ = p;
    }
    void esquece() { p_ = nullptr; }

private:
    T* p_;
};

class Construtor {  // an XPB builder, disposed at the end of the scope
public:
    Construtor(const Biblioteca& lib, Status& st, unsigned tipo)
        : st_(st), b_(lib.util->getXpbBuilder(&st, tipo, nullptr, 0)) {}
    ~Construtor() { b_->dispose(); }
    Construtor(const Construtor&) = delete;
    Construtor& operator=(const Construtor&) = delete;
    void texto(unsigned char tag, const std::string& v) { b_->insertString(&st_, tag, v.c_str()); }
    void inteiro(unsigned char tag, int v) { b_->insertInt(&st_, tag, v); }
    void marca(unsigned char tag) { b_->insertTag(&st_, tag); }
    unsigned tamanho() { return b_->getBufferLength(&st_); }
    const unsigned char* dados() { return b_->getBuffer(&st_); }

private:
    Status& st_;
    IXpbBuilder* b_;
};

void desfazSemErro(const Biblioteca& lib, ITransaction* tra) {
    IStatus* s = lib.master->getStatus();
    CheckStatusWrapper w(s);
    tra->rollback(&w);
    if (w.getState() & IStatus::STATE_ERRORS) tra->release();
    s->dispose();
}

ITransaction* iniciaTransacaoEm(const Biblioteca& lib, Status& st, IAttachment* att, const ParametrosConexao& p,
                                bool somenteLeitura = false) {
    Construtor tpb(lib, st, IXpbBuilder::TPB);
    tpb.marca(somenteLeitura ? isc_tpb_read : isc_tpb_write);
    tpb.marca(isc_tpb_read_committed);
    tpb.marca(isc_tpb_rec_version);
    // 0 fails at once on a locked row, a negative value waits for ever.
    if (p.esperaBloqueioSegundos == 0) {
        tpb.marca(isc_tpb_nowait);
    } else {
        tpb.marca(isc_tpb_wait);
        if (p.esperaBloqueioSegundos > 0) tpb.inteiro(isc_tpb_lock_timeout, p.esperaBloqueioSegundos);
    }
    return att->startTransaction(&st, tpb.tamanho(), tpb.dados());
}

// ---------------------------------------------------------------------------
// Values <-> message buffers

constexpr unsigned kMaxVarchar = 32765;
constexpr unsigned kConjuntoDaConexao = 127;  // the server's name for the connection's character set
constexpr unsigned kSegmento = 32768;

// Day on which a time-only value is placed (the zero date of the suite's clients).
const QDate kDataZero(1899, 12, 30);

template <class T>
T le(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
void escreve(unsigned char* p, const T& v) {
    std::memcpy(p, &v, sizeof v);
}

int bytesPorCaractere(unsigned charset) {
    switch (charset) {
        case 3: return 3;  // UNICODE_FSS
        case 4: return 4;  // UTF8
        default: return 1;
    }
}

std::string leBlob(Status& st, IAttachment* att, ITransaction* tra, ISC_QUAD id) {
    Ref<IBlob> blob(att->openBlob(&st, tra, &id, 0, nullptr));
    std::string bytes;
    char pedaco[kSegmento];
    for (;;) {
        unsigned lidos = 0;
        const int r = blob->getSegment(&st, sizeof pedaco, pedaco, &lidos);
        if (r != IStatus::RESULT_OK && r != IStatus::RESULT_SEGMENT) break;
        bytes.append(pedaco, lidos);
    }
    blob->close(&st);
    blob.esquece();
    return bytes;
}

ISC_QUAD gravaBlob(Status& st, IAttachment* att, ITransaction* tra, const std::string& bytes) {
    ISC_QUAD id{};
    Ref<IBlob> blob(att->createBlob(&st, tra, &id, 0, nullptr));
    for (std::size_t pos = 0; pos < bytes.size(); pos += kSegmento) {
        const auto n = static_cast<unsigned>(std::min<std::size_t>(kSegmento, bytes.size() - pos));
        blob->putSegment(&st, n, bytes.data() + pos);
    }
    blob->close(&st);
    blob.esquece();
    return id;
}

ISC_TIMESTAMP paraTimestamp(IUtil* util, const QDateTime& dt) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    ISC_TIMESTAMP ts;
    ts.timestamp_date = util->encodeDate(d.year(), d.month(), d.day());
    ts.timestamp_time = util->encodeTime(t.hour(), t.minute(), t.second(), t.msec() * 10);
    return ts;
}

QDate deData(IUtil* util, ISC_DATE data) {
    unsigned a = 0, m = 0, d = 0;
    util->decodeDate(data, &a, &m, &d);
    return QDate(static_cast<int>(a), static_cast<int>(m), static_cast<int>(d));
}

QTime deHora(IUtil* util, ISC_TIME hora) {
    unsigned h = 0, mi = 0, s = 0, frac = 0;  // frac: ten-thousandths of a second
    util->decodeTime(hora, &h, &mi, &s, &frac);
    return QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(frac / 10));
}

// The input message: each parameter's type set from the value bound to it, so
// the server does the conversion. `descrita`, the statement's own description,
// gives the type of a null and tells a blob parameter that takes a text; a
// statement the server prepares as it runs has none, and then a text goes as a
// text (the server turns it into a blob where one is wanted) and a null as a
// null text.
struct Entrada {
    Ref<IMessageMetadata> meta;
    std::vector<unsigned char> buffer;
};

void preparaEntrada(Entrada& e, const Biblioteca& lib, Status& st, IAttachment* att, ITransaction* tra,
                    IMessageMetadata* descrita, const std::vector<Valor>& valores) {
    const unsigned n = descrita ? descrita->getCount(&st) : static_cast<unsigned>(valores.size());
    if (n != valores.size())
        throw ErroBanco("A instrução espera "_w + std::to_string(n) + " parâmetro(s) e recebeu "_w +
                            std::to_string(valores.size()) + ".",
                        0, 0);
    if (n == 0) return;

    Ref<IMetadataBuilder> b(descrita ? descrita->getBuilder(&st) : lib.master->getMetadataBuilder(&st, n));
    for (unsigned i = 0; i < n; ++i) {
        const unsigned tipoDescrito = descrita ? descrita->getType(&st, i) & ~1u : SQL_VARYING;
        auto define = [&](unsigned tipo, unsigned tamanho, int escala) {
            b->setType(&st, i, tipo | 1u);  // every parameter may carry a null
            b->setLength(&st, i, tamanho);
            b->setScale(&st, i, escala);
            if (tipo != SQL_BLOB) b->setSubType(&st, i, 0);
        };
        auto defineTexto = [&](std::size_t bytes) {
            if (bytes > kMaxVarchar)
                throw ErroBanco("Texto longo demais para um parâmetro ("_w + std::to_string(bytes) + " bytes).", 0, 0);
            define(SQL_VARYING, static_cast<unsigned>(std::max<std::size_t>(bytes, 1)), 0);
            // In the connection's character set, as a described parameter is.
            if (!descrita) b->setCharSet(&st, i, kConjuntoDaConexao);
        };
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::monostate>) {
                    if (descrita) b->setType(&st, i, tipoDescrito | 1u);
                    else define(SQL_VARYING, 1, 0);
                } else if constexpr (std::is_same_v<T, std::string>) {
                    if (tipoDescrito == SQL_BLOB) define(SQL_BLOB, sizeof(ISC_QUAD), 0);
                    else defineTexto(v.size());
                } else if constexpr (std::is_same_v<T, Blob>) {
                    if (tipoDescrito == SQL_BLOB || !descrita) define(SQL_BLOB, sizeof(ISC_QUAD), 0);
                    else defineTexto(v.bytes.size());
                } else if constexpr (std::is_same_v<T, std::int32_t>) {
                    define(SQL_LONG, 4, 0);
                } else if constexpr (std::is_same_v<T, std::int64_t>) {
                    define(SQL_INT64, 8, 0);
                } else if constexpr (std::is_same_v<T, Decimal>) {
                    define(SQL_INT64, 8, -v.escala);
                } else if constexpr (std::is_same_v<T, double>) {
                    define(SQL_DOUBLE, 8, 0);
                } else if constexpr (std::is_same_v<T, QDateTime>) {
                    define(SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), 0);
                }
            },
            valores[i]);
    }
    e.meta.reset(b->getMetadata(&st));
    e.buffer.assign(e.meta->getMessageLength(&st), 0);

    for (unsigned i = 0; i < n; ++i) {
        unsigned char* p = e.buffer.data() + e.meta->getOffset(&st, i);
        const bool blob = (e.meta->getType(&st, i) & ~1u) == SQL_BLOB;
        bool nulo = false;
        auto texto = [&](const std::string& s) {
            if (blob) {
                escreve(p, gravaBlob(st, att, tra, s));
            } else {
                escreve(p, static_cast<ISC_USHORT>(s.size()));
                std::memcpy(p + sizeof(ISC_USHORT), s.data(), s.size());
            }
        };
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::monostate>) nulo = true;
                else if constexpr (std::is_same_v<T, std::string>) texto(v);
                else if constexpr (std::is_same_v<T, Blob>) texto(v.bytes);
                else if constexpr (std::is_same_v<T, std::int32_t>) escreve(p, static_cast<ISC_LONG>(v));
                else if constexpr (std::is_same_v<T, std::int64_t>) escreve(p, static_cast<ISC_INT64>(v));
                else if constexpr (std::is_same_v<T, Decimal>) escreve(p, static_cast<ISC_INT64>(v.unidades));
                else if constexpr (std::is_same_v<T, double>) escreve(p, v);
                else if constexpr (std::is_same_v<T, QDateTime>) {
                    if (v.isValid()) escreve(p, paraTimestamp(lib.util, v));
                    else nulo = true;
                }
            },
            valores[i]);
        escreve(e.buffer.data() + e.meta->getNullOffset(&st, i), static_cast<short>(nulo ? -1 : 0));
    }
}

std::vector<Coluna> descreveColunas(Status& st, IMessageMetadata* meta) {
    std::vector<Coluna> colunas;
    const unsigned n = meta->getCount(&st);
    for (unsigned i = 0; i < n; ++i) {
        Coluna c;
        c.nome = meta->getAlias(&st, i);
        c.tabela = meta->getRelation(&st, i);
        c.anulavel = meta->isNullable(&st, i);
        const int escala = meta->getScale(&st, i);
        switch (meta->getType(&st, i) & ~1u) {
            case SQL_TEXT:
                c.fixo = true;
                [[fallthrough]];
            case SQL_VARYING:
                c.tipo = TipoColuna::Texto;
                c.tamanho = static_cast<int>(meta->getLength(&st, i)) / bytesPorCaractere(meta->getCharSet(&st, i));
                break;
            case SQL_SHORT:
            case SQL_LONG:
                c.tipo = escala < 0 ? TipoColuna::Decimal : TipoColuna::Inteiro;
                break;
            case SQL_INT64:
                c.tipo = escala < 0 ? TipoColuna::Decimal : TipoColuna::Inteiro64;
                break;
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                c.tipo = TipoColuna::Real;
                break;
            case SQL_TIMESTAMP: c.tipo = TipoColuna::DataHora; break;
            case SQL_TYPE_DATE: c.tipo = TipoColuna::Data; break;
            case SQL_TYPE_TIME: c.tipo = TipoColuna::Hora; break;
            case SQL_BLOB: c.tipo = TipoColuna::Blob; break;
            case SQL_BOOLEAN: c.tipo = TipoColuna::Booleano; break;
            case SQL_NULL: c.tipo = TipoColuna::Texto; break;
            default:
                throw ErroBanco("Tipo de coluna não suportado em \""_w + c.nome + "\".", 0, 0);
        }
        if (c.tipo == TipoColuna::Decimal) c.escala = -escala;
        colunas.push_back(std::move(c));
    }
    return colunas;
}

// Where and how each column sits in the output message, asked of the metadata
// once per statement rather than for every value of every row.
struct LugarColuna {
    unsigned tipo;
    unsigned deslocamento;
    unsigned deslocamentoNulo;
    unsigned tamanho;
    int escala;  // decimal places (the server's scale negated)
};

std::vector<LugarColuna> lugaresColunas(Status& st, IMessageMetadata* meta) {
    std::vector<LugarColuna> r(meta->getCount(&st));
    for (unsigned i = 0; i < r.size(); ++i)
        r[i] = {meta->getType(&st, i) & ~1u, meta->getOffset(&st, i), meta->getNullOffset(&st, i),
                meta->getLength(&st, i), -meta->getScale(&st, i)};
    return r;
}

// Decodes one fetched row into `linha`, reusing what it held: a text over the
// previous row's text keeps its memory.
void leLinha(const Biblioteca& lib, Status& st, IAttachment* att, ITransaction* tra,
             const std::vector<LugarColuna>& colunas, const unsigned char* buf, std::vector<Valor>& linha) {
    linha.resize(colunas.size());
    for (std::size_t i = 0; i < colunas.size(); ++i) {
        const LugarColuna& c = colunas[i];
        Valor& v = linha[i];
        if (le<short>(buf + c.deslocamentoNulo) != 0) {
            v = std::monostate{};
            continue;
        }
        const unsigned char* p = buf + c.deslocamento;
        const int escala = c.escala;
        auto texto = [&v](const unsigned char* bytes, std::size_t n) {
            const char* t = reinterpret_cast<const char*>(bytes);
            if (auto s = std::get_if<std::string>(&v)) s->assign(t, n);
            else v.emplace<std::string>(t, n);
        };
        auto inteiro = [&](std::int64_t i64) {
            if (escala > 0) v = Decimal{i64, escala};
            else v = i64;
        };
        auto inteiro32 = [&](std::int32_t i32) {
            if (escala > 0) v = Decimal{i32, escala};
            else v = i32;
        };
        switch (c.tipo) {
            case SQL_TEXT: texto(p, c.tamanho); break;
            case SQL_VARYING: texto(p + sizeof(ISC_USHORT), le<ISC_USHORT>(p)); break;
            case SQL_SHORT: inteiro32(le<ISC_SHORT>(p)); break;
            case SQL_LONG: inteiro32(le<ISC_LONG>(p)); break;
            case SQL_INT64: inteiro(le<ISC_INT64>(p)); break;
            case SQL_FLOAT: v = static_cast<double>(le<float>(p)); break;
            case SQL_DOUBLE:
            case SQL_D_FLOAT: v = le<double>(p); break;
            case SQL_TIMESTAMP: {
                const auto ts = le<ISC_TIMESTAMP>(p);
                v = dataHora(deData(lib.util, ts.timestamp_date), deHora(lib.util, ts.timestamp_time));
                break;
            }
            case SQL_TYPE_DATE: v = dataHora(deData(lib.util, le<ISC_DATE>(p))); break;
            case SQL_TYPE_TIME: v = dataHora(kDataZero, deHora(lib.util, le<ISC_TIME>(p))); break;
            case SQL_BLOB: v = Blob{leBlob(st, att, tra, le<ISC_QUAD>(p))}; break;
            case SQL_BOOLEAN: v = static_cast<std::int32_t>(le<FB_BOOLEAN>(p) ? 1 : 0); break;
            default: v = std::monostate{}; break;
        }
    }
}

// Gathers a reading whole.
struct Coletor : Leitor {
    Resultado r;
    void colunas(const std::vector<Coluna>& c) override {
        r.colunas = c;
        r.linhas.clear();
    }
    void linha(std::vector<Valor>& valores) override { r.linhas.push_back(std::move(valores)); }
};

// One statement inside an open transaction: prepared, run with its parameters,
// every row fetched (blobs included) before the transaction ends.
void executaEm(const Biblioteca& lib, Status& st, IAttachment* att, ITransaction* tra, const ParametrosConexao& p,
               const std::string& sql, const std::vector<Valor>& valores, Leitor& leitor, long* afetadas) {
    Ref<IStatement> stmt(att->prepare(&st, tra, static_cast<unsigned>(sql.size()), sql.data(),
                                      static_cast<unsigned>(p.dialeto), IStatement::PREPARE_PREFETCH_METADATA));
    Entrada entrada;
    {
        Ref<IMessageMetadata> descrita(stmt->getInputMetadata(&st));
        preparaEntrada(entrada, lib, st, att, tra, descrita.get(), valores);
    }
    void* bufEntrada = entrada.buffer.empty() ? nullptr : entrada.buffer.data();

    Ref<IMessageMetadata> saida(stmt->getOutputMetadata(&st));
    const std::vector<Coluna> colunas = descreveColunas(st, saida.get());
    leitor.colunas(colunas);
    std::vector<unsigned char> buf(saida->getMessageLength(&st));
    const std::vector<LugarColuna> layout = lugaresColunas(st, saida.get());
    std::vector<Valor> linha;

    const unsigned tipo = stmt->getType(&st);
    if (tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd) {
        Ref<IResultSet> cursor(stmt->openCursor(&st, tra, entrada.meta.get(), bufEntrada, saida.get(), 0));
        while (cursor->fetchNext(&st, buf.data()) == IStatus::RESULT_OK) {
            leLinha(lib, st, att, tra, layout, buf.data(), linha);
            leitor.linha(linha);
        }
        cursor->close(&st);
        cursor.esquece();
    } else {
        // EXECUTE PROCEDURE and RETURNING give one row.
        const bool temSaida = !colunas.empty();
        stmt->execute(&st, tra, entrada.meta.get(), bufEntrada, temSaida ? saida.get() : nullptr,
                      temSaida ? buf.data() : nullptr);
        if (temSaida) {
            leLinha(lib, st, att, tra, layout, buf.data(), linha);
            leitor.linha(linha);
        }
    }
    if (afetadas) *afetadas = static_cast<long>(stmt->getAffectedRecords(&st));
    stmt->free(&st);
    stmt.esquece();
}

// One statement in its own transaction, committed (not retaining).
void instrucaoIsolada(const Biblioteca& lib, IAttachment* att, const ParametrosConexao& p, const std::string& sql,
                      const std::vector<Valor>& valores, Leitor& leitor, long* afetadas) {
    Status st(lib);
    ITransaction* tra = nullptr;
    try {
        tra = iniciaTransacaoEm(lib, st, att, p);
        executaEm(lib, st, att, tra, p, sql, valores, leitor, afetadas);
        tra->commit(&st);
    } catch (const FbException& e) {
        if (tra) desfazSemErro(lib, tra);
        lancaErro(lib, e.getStatus());
    } catch (...) {
        if (tra) desfazSemErro(lib, tra);
        throw;
    }
}

}  // namespace

// ---------------------------------------------------------------------------

int Resultado::indice(std::string_view nome) const {
    for (std::size_t i = 0; i < colunas.size(); ++i)
        if (plataforma::iguaisSemCaixaAscii(colunas[i].nome, nome)) return static_cast<int>(i);
    return -1;
}

bool ErroBanco::violacaoChave() const {
    return sqlcode_ == -803 || gdscode_ == isc_unique_key_violation || gdscode_ == isc_no_dup;
}

bool ErroBanco::conexaoPerdida() const {
    switch (gdscode_) {
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_lost_db_connection:
        case isc_conn_lost:
        case isc_att_shutdown:
        case isc_shutdown:
        case isc_net_server_shutdown:
            return true;
        default:
            return false;
    }
}

bool ErroBanco::bloqueio() const {
    switch (gdscode_) {
        case isc_lock_conflict:
        case isc_deadlock:
        case isc_lock_timeout:
        case isc_update_conflict:
        case isc_concurrent_transaction:
            return true;
        default:
            return sqlcode_ == -913;
    }
}

bool ErroBanco::semPrivilegio() const { return gdscode_ == isc_no_priv; }

std::string nomeBibliotecaCliente(const std::string& pasta) {
#ifdef _WIN32
    return pasta.empty() ? "gds32.dll" : pasta + "GDS32.DLL";
#else
    return pasta.empty() ? "libfbclient.so.2" : pasta + "libfbclient.so.2";
#endif
}

std::string modoDoMotorLocal(const std::string& biblioteca) {
    Biblioteca& lib = carregaBiblioteca(biblioteca.empty() ? nomeBibliotecaCliente("") : biblioteca);
    IFirebirdConf* conf = lib.master->getConfigManager()->getFirebirdConf();
    const char* modo = conf->asString(conf->getKey("ServerMode"));
    std::string r = modo ? modo : "";
    conf->release();
    return r;
}

std::string carregaCliente(const std::string& caminho) { return carregaBiblioteca(caminho).arquivo; }

FalhaConexao classificaFalhaConexao(const ErroBanco& erro) {
    switch (erro.gdscode()) {
        case 0: return FalhaConexao::Biblioteca;
        case isc_network_error:
        case isc_net_connect_err:
        case isc_net_connect_listen_err:
        case isc_net_read_err:
        case isc_net_write_err:
            return FalhaConexao::SemResposta;
        case isc_login:
        case isc_login_error:
            return FalhaConexao::UsuarioRecusado;
        default:
            return FalhaConexao::BancoRecusado;
    }
}

namespace {

// A statement prepared once and kept, with what reading its rows needs.
struct Preparada {
    IStatement* stmt = nullptr;
    IMessageMetadata* entrada = nullptr;  // the parameters as the server describes them
    IMessageMetadata* saida = nullptr;
    std::vector<Coluna> colunas;
    std::vector<LugarColuna> layout;
    unsigned tamanho = 0;  // of a row's message
    bool selecao = false;
    unsigned long uso = 0;  // when last run, to free the least recently used first

    // Quietly: the request rides with the next one the client sends, and on a
    // lost connection there is nothing left to free.
    void libera(const Biblioteca& lib) {
        if (entrada) entrada->release();
        if (saida) saida->release();
        if (!stmt) return;
        IStatus* s = lib.master->getStatus();
        CheckStatusWrapper w(s);
        stmt->free(&w);
        if (w.getState() & IStatus::STATE_ERRORS) stmt->release();
        s->dispose();
    }
};

}  // namespace

struct Conexao::Impl {
    Biblioteca* lib = nullptr;
    IAttachment* att = nullptr;
    ITransaction* leitura = nullptr;  // the reading transaction, once started
    std::map<std::string, Preparada> preparadas;
    unsigned long usos = 0;

    // The connection's settings, read only.
    ITransaction* transacaoDeLeitura(Status& st, const ParametrosConexao& p) {
        if (!leitura) leitura = iniciaTransacaoEm(*lib, st, att, p, true);
        return leitura;
    }

    Preparada& prepara(Status& st, ITransaction* tra, const std::string& sql, const ParametrosConexao& p) {
        auto it = preparadas.find(sql);
        if (it == preparadas.end()) {
            if (preparadas.size() >= Conexao::kPreparadasMax) {
                auto antiga = std::min_element(preparadas.begin(), preparadas.end(),
                                               [](const auto& a, const auto& b) { return a.second.uso < b.second.uso; });
                antiga->second.libera(*lib);
                preparadas.erase(antiga);
            }
            Preparada nova;
            nova.stmt = att->prepare(&st, tra, static_cast<unsigned>(sql.size()), sql.data(),
                                     static_cast<unsigned>(p.dialeto), IStatement::PREPARE_PREFETCH_METADATA);
            it = preparadas.emplace(sql, nova).first;
            Preparada& n = it->second;
            const unsigned tipo = n.stmt->getType(&st);
            n.selecao = tipo == isc_info_sql_stmt_select;  // not FOR UPDATE: that one locks, and writes
            n.entrada = n.stmt->getInputMetadata(&st);
            n.saida = n.stmt->getOutputMetadata(&st);
            n.colunas = descreveColunas(st, n.saida);
            n.layout = lugaresColunas(st, n.saida);
            n.tamanho = n.saida->getMessageLength(&st);
        }
        it->second.uso = ++usos;
        return it->second;
    }

    void esquece(const std::string& sql) {
        if (auto it = preparadas.find(sql); it != preparadas.end()) {
            it->second.libera(*lib);
            preparadas.erase(it);
        }
    }

    // After a failed read: the statement goes, and the reading transaction
    // with it, whatever state the failure left it in; the next read starts
    // both anew.
    void recomeca(const std::string& sql) {
        esquece(sql);
        if (leitura) desfazSemErro(*lib, std::exchange(leitura, nullptr));
    }

    // Before the detach, which refuses a connection with a transaction open.
    void encerra() {
        for (auto& [sql, p] : preparadas) p.libera(*lib);
        preparadas.clear();
        if (leitura) desfazSemErro(*lib, std::exchange(leitura, nullptr));
    }

    void le(const ParametrosConexao& p, const std::string& sql, const std::vector<Valor>& valores, Leitor& leitor) {
        // A kept statement that fails is prepared anew, once, in a new reading
        // transaction: what failed may be its state on the server rather than
        // the reading (a cursor a failed close left open, a lost attachment).
        for (bool mantida = preparadas.count(sql) > 0;; mantida = false) {
            try {
                Status st(*lib);
                ITransaction* tra = transacaoDeLeitura(st, p);
                Preparada& prep = prepara(st, tra, sql, p);
                if (!prep.selecao) break;
                leCursor(st, tra, prep, valores, leitor);
                return;
            } catch (const FbException& e) {
                recomeca(sql);
                if (!mantida) lancaErro(*lib, e.getStatus());
            } catch (...) {
                esquece(sql);  // its cursor may be left open
                throw;
            }
        }
        // Not a SELECT: in its own transaction, as executa() runs it, not kept.
        esquece(sql);
        instrucaoIsolada(*lib, att, p, sql, valores, leitor, nullptr);
    }

    void leCursor(Status& st, ITransaction* tra, const Preparada& prep, const std::vector<Valor>& valores,
                  Leitor& leitor) {
        Entrada entrada;
        preparaEntrada(entrada, *lib, st, att, tra, prep.entrada, valores);
        leitor.colunas(prep.colunas);
        std::vector<unsigned char> buf(prep.tamanho);
        std::vector<Valor> linha;
        Ref<IResultSet> cursor(prep.stmt->openCursor(&st, tra, entrada.meta.get(),
                                                     entrada.buffer.empty() ? nullptr : entrada.buffer.data(),
                                                     prep.saida, 0));
        while (cursor->fetchNext(&st, buf.data()) == IStatus::RESULT_OK) {
            leLinha(*lib, st, att, tra, prep.layout, buf.data(), linha);
            leitor.linha(linha);
        }
        cursor->close(&st);  // sent with the next request
        cursor.esquece();
    }
};

struct Transacao::Impl {
    Biblioteca* lib = nullptr;
    IAttachment* att = nullptr;  // a reference of our own: the transaction may outlive a reopen
    ITransaction* tra = nullptr;
    ParametrosConexao parametros;

    ~Impl() {
        if (tra) desfazSemErro(*lib, tra);
        if (att) att->release();
    }
    void exigeAberta() const {
        if (!tra) throw ErroBanco("A transação já foi encerrada."_w, 0, 0);
    }
};

Conexao::Conexao(std::string nome) : nome_(std::move(nome)) {}

Conexao::~Conexao() { fecha(); }

bool Conexao::aberta() const { return impl_ && impl_->att; }

namespace {

// The connection's parameters as the server reads them.
void preencheDpb(Construtor& dpb, const ParametrosConexao& p, bool criacao) {
    dpb.texto(isc_dpb_user_name, p.usuario);
    dpb.texto(isc_dpb_password, p.senha);
    if (!p.papel.empty()) dpb.texto(isc_dpb_sql_role_name, p.papel);
    dpb.texto(isc_dpb_lc_ctype, p.charset);
    dpb.inteiro(isc_dpb_sql_dialect, p.dialeto);
    if (p.esperaConexaoSegundos > 0) dpb.inteiro(isc_dpb_connect_timeout, p.esperaConexaoSegundos);
    if (criacao) {
        dpb.texto(isc_dpb_set_db_charset, p.charset);
        dpb.inteiro(isc_dpb_page_size, 8192);
    }
}

}  // namespace

void Conexao::abre() { liga(false); }

void Conexao::criaBanco() { liga(true); }

void Conexao::liga(bool criacao) {
    plataforma::Espera espera;
    fecha();
    Biblioteca& lib = carregaBiblioteca(biblioteca_.empty() ? nomeBibliotecaCliente("") : biblioteca_);
    auto novo = std::make_unique<Impl>();
    novo->lib = &lib;
    novo->att = traduzErros(lib, [&] {
        Status st(lib);
        Construtor dpb(lib, st, IXpbBuilder::DPB);
        preencheDpb(dpb, parametros_, criacao);
        return criacao ? lib.provedor->createDatabase(&st, banco_.c_str(), dpb.tamanho(), dpb.dados())
                       : lib.provedor->attachDatabase(&st, banco_.c_str(), dpb.tamanho(), dpb.dados());
    });
    impl_ = std::move(novo);
}

void Conexao::fecha() {
    if (!impl_) return;
    if (impl_->att) {
        impl_->encerra();
        IStatus* s = impl_->lib->master->getStatus();
        CheckStatusWrapper w(s);
        impl_->att->detach(&w);
        // A detach that fails (connection already lost) leaves the reference to us.
        if (w.getState() & IStatus::STATE_ERRORS) impl_->att->release();
        s->dispose();
    }
    impl_.reset();
}

template <class F>
auto Conexao::comReconexao(F&& f) -> decltype(f()) {
    plataforma::Espera espera;
    if (!aberta()) abre();
    try {
        return f();
    } catch (const ErroBanco& e) {
        if (!e.conexaoPerdida()) throw;
    }
    abre();  // once; a failure here or in the retry is reported as it is
    return f();
}

void Conexao::preparaLeitura(const std::string& sql) {
    comReconexao([&] {
        try {
            Status st(*impl_->lib);
            impl_->prepara(st, impl_->transacaoDeLeitura(st, parametros_), sql, parametros_);
        } catch (const FbException& e) {
            impl_->recomeca(sql);
            lancaErro(*impl_->lib, e.getStatus());
        }
    });
}

Resultado Conexao::consulta(const std::string& sql, const std::vector<Valor>& parametros) {
    Coletor c;
    le(sql, parametros, c);
    return std::move(c.r);
}

void Conexao::le(const std::string& sql, const std::vector<Valor>& parametros, Leitor& leitor) {
    comReconexao([&] { impl_->le(parametros_, sql, parametros, leitor); });
}

long Conexao::executa(const std::string& sql, const std::vector<Valor>& parametros) {
    return comReconexao([&] {
        Coletor c;
        long afetadas = 0;
        instrucaoIsolada(*impl_->lib, impl_->att, parametros_, sql, parametros, c, &afetadas);
        return afetadas;
    });
}

std::unique_ptr<Transacao> Conexao::iniciaTransacao() {
    return comReconexao([&] {
        auto t = std::make_unique<Transacao::Impl>();
        t->lib = impl_->lib;
        t->parametros = parametros_;
        t->tra = traduzErros(*t->lib, [&] {
            Status st(*t->lib);
            return iniciaTransacaoEm(*t->lib, st, impl_->att, parametros_);
        });
        t->att = impl_->att;
        t->att->addRef();
        return std::make_unique<Transacao>(std::move(t));
    });
}

// ---------------------------------------------------------------------------

Transacao::Transacao(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Transacao::~Transacao() = default;

Resultado Transacao::consulta(const std::string& sql, const std::vector<Valor>& parametros) {
    plataforma::Espera espera;
    impl_->exigeAberta();
    return traduzErros(*impl_->lib, [&] {
        Status st(*impl_->lib);
        Coletor c;
        executaEm(*impl_->lib, st, impl_->att, impl_->tra, impl_->parametros, sql, parametros, c, nullptr);
        return std::move(c.r);
    });
}

long Transacao::executa(const std::string& sql, const std::vector<Valor>& parametros) {
    plataforma::Espera espera;
    impl_->exigeAberta();
    return traduzErros(*impl_->lib, [&] {
        Status st(*impl_->lib);
        Coletor c;
        long afetadas = 0;
        executaEm(*impl_->lib, st, impl_->att, impl_->tra, impl_->parametros, sql, parametros, c, &afetadas);
        return afetadas;
    });
}

long Transacao::alteraLinha(const std::string& sql, const std::vector<Valor>& parametros, bool contaLinha) {
    plataforma::Espera espera;
    impl_->exigeAberta();
    Biblioteca& lib = *impl_->lib;
    try {
        return traduzErros(lib, [&] {
            Status st(lib);
            Entrada entrada;
            preparaEntrada(entrada, lib, st, impl_->att, impl_->tra, nullptr, parametros);
            void* valores = entrada.buffer.empty() ? nullptr : entrada.buffer.data();
            const auto dialeto = static_cast<unsigned>(impl_->parametros.dialeto);
            if (!contaLinha) {
                impl_->att->execute(&st, impl_->tra, static_cast<unsigned>(sql.size()), sql.data(), dialeto,
                                    entrada.meta.get(), valores, nullptr, nullptr);
                return 1L;
            }
            const std::string comRetorno = sql + " RETURNING 1";
            Ref<IMetadataBuilder> b(lib.master->getMetadataBuilder(&st, 1));
            b->setType(&st, 0, SQL_LONG | 1u);
            b->setLength(&st, 0, sizeof(ISC_LONG));
            Ref<IMessageMetadata> saida(b->getMetadata(&st));
            std::vector<unsigned char> resposta(saida->getMessageLength(&st));
            impl_->att->execute(&st, impl_->tra, static_cast<unsigned>(comRetorno.size()), comRetorno.data(), dialeto,
                                entrada.meta.get(), valores, saida.get(), resposta.data());
            // No row reached: the server returns a null.
            return le<short>(resposta.data() + saida->getNullOffset(&st, 0)) == 0 ? 1L : 0L;
        });
    } catch (const ErroBanco& e) {
        if (!contaLinha || e.gdscode() != isc_sing_select_err) throw;
    }
    return executa(sql, parametros);  // several rows: counted the long way
}

void Transacao::confirma() {
    plataforma::Espera espera;
    impl_->exigeAberta();
    traduzErros(*impl_->lib, [&] {
        Status st(*impl_->lib);
        impl_->tra->commit(&st);
        impl_->tra = nullptr;  // released by the commit
    });
}

void Transacao::desfaz() {
    plataforma::Espera espera;
    impl_->exigeAberta();
    ITransaction* tra = impl_->tra;
    impl_->tra = nullptr;
    traduzErros(*impl_->lib, [&] {
        Status st(*impl_->lib);
        try {
            tra->rollback(&st);
        } catch (...) {
            tra->release();
            throw;
        }
    });
}

}  // namespace dados::fb
