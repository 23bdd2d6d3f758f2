// The sign-on reuse decision over arbitrary trace files. The input is cut at
// the byte 0x01 into: logon file, last-activity file, auto-logoff time. The
// first two bytes choose which files exist and the current moment.
#include "comum.h"
#include "platform/clock.h"
#include "signon/rastro.h"


namespace {

identificacao::ArquivoRastro arquivo(int modo, const std::string& conteudo) {
    switch (modo % 3) {
    case 0: return identificacao::ArquivoRastro::ausente();
    case 1: return identificacao::ArquivoRastro::ilegivel();
    default: return identificacao::ArquivoRastro::lido(fuzz::linhas(conteudo));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    using namespace identificacao;
    if (tamanho < 2) return 0;
    const int modos = dados[0];
    // Around a midnight now and then: the moment moves by 7 minutes a step.
    const QDateTime agora(QDate(2024, 3, 10), QTime(23, 0).addSecs(dados[1] * 7 * 60));
    const std::string resto = fuzz::texto(dados + 2, tamanho - 2);

    std::vector<std::string> partes(3);
    std::size_t p = 0;
    for (char c : resto) {
        if (c == '\x01' && p < 2) ++p;
        else partes[p] += c;
    }
    const ArquivoRastro logon = arquivo(modos, partes[0]);
    const ArquivoRastro atividade = arquivo(modos / 3, partes[1]);
    const DecisaoLogon d = decideLogon(logon, atividade, partes[2], agora);

    EXIGE(d.usuario.size() <= 60 && d.nome.size() <= 60);
    EXIGE(!d.candidato || (d.motivo == MotivoLogon::Valido && !d.apagarArquivos));
    EXIGE(!d.apagarArquivos || d.motivo == MotivoLogon::LogonDeOutroDia || d.motivo == MotivoLogon::Expirado);
    if (logon.estado == ArquivoRastro::Estado::Ausente) EXIGE(d.motivo == MotivoLogon::SemArquivoLogon);
    if (d.candidato) {
        // Only a sign-on of today within the auto-logoff time.
        const auto data = plataforma::converteDataCurta(logon.linhas.size() > 2 ? logon.linhas[2].substr(0, 20) : "");
        EXIGE(data && *data == agora.date());
        EXIGE(minutosLogoff(partes[2]).has_value());
    }

    // What the program writes reads back as the same moment.
    const auto escritas = linhasUltimaAtividade(agora);
    EXIGE(plataforma::converteData(escritas[0]) == agora.date());
    EXIGE(plataforma::converteHora(escritas[1]) == QTime(agora.time().hour(), agora.time().minute(), agora.time().second()));
    return 0;
}
