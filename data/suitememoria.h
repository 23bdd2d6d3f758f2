#pragma once
// The suite's tables the data module reads and writes, held in memory: what DM
// stands on where the window is tried without a server. Whoever builds it fills
// the tables (rows in the columns' types); what another workstation does is done
// to them directly.
#include "data/provedormemoria.h"

#include <string>
#include <vector>

namespace dados {

class SuiteMemoria {
public:
    SuiteMemoria();
    SuiteMemoria(const SuiteMemoria&) = delete;
    SuiteMemoria& operator=(const SuiteMemoria&) = delete;

    ProvedorMemoria componen;  // every group; the capsules read by description
    ProvedorMemoria usuarios;
    ProvedorMemoria estacoes;
    ProvedorMemoria compNome;  // the last description search's capsules
    ProvedorMemoria ultimas;   // the last purchases asked for
    std::vector<std::string> corcap;
    // The purchases with an invoice, each as the last-purchases statement gives
    // it (its supplier's telephone found, its prices as text), under the
    // description bought.
    struct Compra {
        std::string componente;
        std::vector<Valor> linha;
    };
    std::vector<Compra> compras;

    // The server out of reach (every reading and writing fails with the
    // message), or back in reach with an empty one.
    void defineIndisponivel(const std::string& mensagem);

    // Into compNome: the capsules whose description the search text begins, by
    // description, as the search statements find them.
    void pesquisa(const std::string& texto);
    // Into ultimas: a description's purchases (capitals compared), the newest first.
    void ultimasCompras(const std::string& descricao);
    std::vector<std::string> cores() const;
    std::vector<std::string> codigos() const;
    bool codigoGravado(const Valor& codigo) const;

private:
    void verificaAlcance() const;
};

// A LIKE pattern's match: '%' any characters, '_' any one, the rest itself.
bool casaPadrao(std::string_view texto, std::string_view padrao);

}  // namespace dados
