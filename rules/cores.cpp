#include "rules/cores.h"

#include "platform/text.h"

namespace regras {
namespace {

// Whether the first `fim` characters of t end in a marker.
bool terminaEmMarcador(const std::string& t, std::size_t fim) {
    if (fim == 0) return false;
    const char ultimo = t[fim - 1];
    if (ultimo >= '0' && ultimo <= '5') return true;
    return fim >= 4 && t.compare(fim - 4, 4, "sula") == 0;
}

std::string corAparada(const std::string& descricao) {
    return std::string(plataforma::apara(varreCor(descricao).sufixo));
}

}  // namespace

VarreduraCor varreCor(const std::string& descricao) {
    std::size_t fim = descricao.size();
    while (fim > 0 && !terminaEmMarcador(descricao, fim)) --fim;
    if (fim == 0) return {std::string(), descricao};  // no marker: no colour
    return {descricao.substr(fim), descricao.substr(0, fim)};
}

std::string ExtraiCorDescricao(const std::string& descricao) {
    return plataforma::maiusculasAscii(corAparada(descricao));
}

bool corDescricaoInvalida(const std::string& descricao, const std::vector<std::string>& cores) {
    const std::string cor = corAparada(descricao);
    if (cor.empty()) return false;
    for (const std::string& entrada : cores) {
        if (entrada.empty()) break;
        if (entrada == cor) return false;
    }
    return true;
}

std::string removeCorDescricao(const std::string& descricao) {
    return std::string(plataforma::aparaInicio(varreCor(descricao).restante));
}

std::string descricaoComCor(const std::string& descricao, const std::string& cor) {
    return std::string(plataforma::aparaFim(varreCor(descricao).restante)) + " " + cor;
}

}  // namespace regras
