#pragma once
// Whether the suite's current sign-on on this computer may be taken over, from
// its two trace files: the logon file (user key, plain name, sign-on date in
// the workstation's short date format, time) and the last-activity file (date
// "dd/mm/yy" and time a module was last used).
#include <QDateTime>
#include <optional>
#include <string>
#include <vector>

namespace identificacao {

inline constexpr const char* kArquivoLogon = "LOGON.QVF";
inline constexpr const char* kArquivoAtividade = "ULTATIV.QVF";

// What reading one trace file gave.
struct ArquivoRastro {
    enum class Estado { Ausente, Ilegivel, Lido };
    Estado estado = Estado::Ausente;
    std::vector<std::string> linhas;

    static ArquivoRastro ausente() { return {}; }
    static ArquivoRastro ilegivel() { return {Estado::Ilegivel, {}}; }
    static ArquivoRastro lido(std::vector<std::string> linhas) { return {Estado::Lido, std::move(linhas)}; }
};

// Reads a trace file from disk (the only part here that touches files).
ArquivoRastro leArquivoRastro(const std::string& caminho);

enum class MotivoLogon {
    SemArquivoLogon,
    ArquivoIlegivel,
    DataHoraInvalida,     // a date or time line that does not convert
    TempoLogoffInvalido,
    LogonDeOutroDia,      // stale: the trace files are to be deleted
    Expirado,             // stale: the trace files are to be deleted
    Valido,
};

struct DecisaoLogon {
    bool candidato = false;       // may be reused if the user holds the reuse right
    std::string usuario;          // line 1, the user's key as stored (at most 60)
    std::string nome;             // line 2, the plain name (at most 60)
    bool apagarArquivos = false;  // delete both trace files
    MotivoLogon motivo = MotivoLogon::SemArquivoLogon;
};

// The auto-logoff time in minutes: a whole number 0 to 59, blanks around it
// allowed; nullopt otherwise.
std::optional<int> minutosLogoff(const std::string& tempoLogoff);

// The decision, without its effects. The sign-on must be from today. Its last
// activity is the later of the sign-on's own date and time and those of the
// last-activity file (when that file exists); it is still valid when
// that moment is not earlier than now minus the auto-logoff minutes, compared
// as wall-clock moments to the second (not as clock texts, which go wrong
// around midnight). Unreadable files, texts that don't convert and a bad
// auto-logoff value only make the sign-on not reusable: the files are left
// alone, since they may belong to a module that can read them.
DecisaoLogon decideLogon(const ArquivoRastro& logon, const ArquivoRastro& atividade,
                         const std::string& tempoLogoff, const QDateTime& agora);

// The two lines of the last-activity file: "dd/mm/yy" and "hh:nn:ss".
std::vector<std::string> linhasUltimaAtividade(const QDateTime& agora);

}  // namespace identificacao
