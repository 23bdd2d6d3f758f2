#pragma once
// The indexes recommended for the suite's schema (db/indices.sql, built in) and
// whether a suite database has them. The program never creates them.
#include "data/fbclient.h"

#include <string>
#include <vector>

namespace dados {

struct IndiceRecomendado {
    std::string nome, tabela;
    std::vector<std::string> colunas;  // in order; empty for an expression index
    std::string expressao;             // of COMPUTED BY, as written
    std::string criacao;               // the CREATE INDEX statement
};

// The indexes of db/indices.sql, in the file's order.
const std::vector<IndiceRecomendado>& indicesRecomendados();

struct IndiceConferido {
    IndiceRecomendado recomendado;
    // An active ascending index of the table with the same columns in the same
    // order, or the same expression, whatever its name; empty when none.
    std::string existente;
};

std::vector<IndiceConferido> confereIndices(fb::Conexao& conexao, const std::vector<IndiceRecomendado>& indices =
                                                                      indicesRecomendados());

}  // namespace dados
