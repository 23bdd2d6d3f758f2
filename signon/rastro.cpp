#include "signon/rastro.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>

namespace identificacao {
namespace {

constexpr std::size_t kCapacidadeNome = 60;
constexpr std::size_t kCapacidadeDataHora = 20;

// Line n (1-based) as read into a text of the given capacity; a missing line reads empty.
std::string linha(const std::vector<std::string>& linhas, std::size_t n, std::size_t capacidade) {
    return n <= linhas.size() ? plataforma::corta(linhas[n - 1], capacidade) : std::string();
}

// Seconds on the wall clock, free of time zones: the files hold local clock texts.
std::optional<long long> segundosParede(const std::optional<QDate>& d, const std::string& hora) {
    const auto h = plataforma::converteHora(hora);
    if (!d || !h) return std::nullopt;
    return d->toJulianDay() * 86400LL + h->msecsSinceStartOfDay() / 1000;
}

}  // namespace

ArquivoRastro leArquivoRastro(const std::string& caminho) {
    if (!plataforma::arquivoExiste(caminho)) return ArquivoRastro::ausente();
    auto linhas = plataforma::leLinhas(caminho);
    if (!linhas) return ArquivoRastro::ilegivel();
    return ArquivoRastro::lido(std::move(*linhas));
}

std::optional<int> minutosLogoff(const std::string& tempoLogoff) {
    const std::string_view t = plataforma::apara(tempoLogoff);
    if (t.empty()) return std::nullopt;
    int n = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
        if (n > 59) return std::nullopt;
    }
    return n;
}

DecisaoLogon decideLogon(const ArquivoRastro& logon, const ArquivoRastro& atividade,
                         const std::string& tempoLogoff, const QDateTime& agora) {
    DecisaoLogon r;
    if (logon.estado == ArquivoRastro::Estado::Ausente) return r;
    if (logon.estado == ArquivoRastro::Estado::Ilegivel) {
        r.motivo = MotivoLogon::ArquivoIlegivel;
        return r;
    }
    r.usuario = linha(logon.linhas, 1, kCapacidadeNome);
    r.nome = linha(logon.linhas, 2, kCapacidadeNome);

    // Written by the suite's sign-on in the workstation's short date format.
    const auto dataLogon = plataforma::converteDataCurta(linha(logon.linhas, 3, kCapacidadeDataHora));
    std::optional<long long> ultima = segundosParede(dataLogon, linha(logon.linhas, 4, kCapacidadeDataHora));
    if (!ultima) {
        r.motivo = MotivoLogon::DataHoraInvalida;
        return r;
    }
    if (*dataLogon != agora.date()) {
        r.motivo = MotivoLogon::LogonDeOutroDia;
        r.apagarArquivos = true;
        return r;
    }

    if (atividade.estado == ArquivoRastro::Estado::Ilegivel) {
        r.motivo = MotivoLogon::ArquivoIlegivel;
        return r;
    }
    if (atividade.estado == ArquivoRastro::Estado::Lido) {
        // Written day first ("dd/mm/yy"), as linhasUltimaAtividade does.
        const auto atividadeEm = segundosParede(plataforma::converteData(linha(atividade.linhas, 1, kCapacidadeDataHora)),
                                                linha(atividade.linhas, 2, kCapacidadeDataHora));
        if (!atividadeEm) {
            r.motivo = MotivoLogon::DataHoraInvalida;
            return r;
        }
        // A last-activity file left from an earlier sign-on (yesterday's, say)
        // does not make a fresh sign-on older than it is.
        ultima = std::max(*ultima, *atividadeEm);
    }

    const std::optional<int> minutos = minutosLogoff(tempoLogoff);
    if (!minutos) {
        r.motivo = MotivoLogon::TempoLogoffInvalido;
        return r;
    }
    // Whole seconds, as the files keep them: an activity in the same second as
    // the limit counts as valid.
    const long long limite = agora.date().toJulianDay() * 86400LL + agora.time().msecsSinceStartOfDay() / 1000 -
                             60LL * *minutos;
    if (*ultima >= limite) {
        r.motivo = MotivoLogon::Valido;
        r.candidato = true;
    } else {
        r.motivo = MotivoLogon::Expirado;
        r.apagarArquivos = true;
    }
    return r;
}

std::vector<std::string> linhasUltimaAtividade(const QDateTime& agora) {
    return {plataforma::formataData(agora.date()), plataforma::formataHora(agora.time())};
}

}  // namespace identificacao
