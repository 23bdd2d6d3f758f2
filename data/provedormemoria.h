#pragma once
// A table held in memory behind a client dataset, written the way the database
// writes: a changed or deleted row found by its key or by every old value as
// the update mode says, a new row refused when its key is taken, everything
// undone when an apply is rolled back. Where the dataset's own logic is tried
// without a server.
#include "data/dataset.h"

#include <functional>

namespace dados {

class ProvedorMemoria : public Provedor {
public:
    ProvedorMemoria(std::string nome, const std::vector<DefCampo>& colunas,
                    ModoAtualizacao modo = ModoAtualizacao::SomenteChave);

    // The table, rows in the order they are read. What another workstation
    // does is done to it directly.
    fb::Resultado tabela;
    // What a reading gives, as a statement's WHERE and ORDER BY would: the rows
    // the filter takes (all without one), by the column `ordem` (-1: as stored).
    std::function<bool(const std::vector<Valor>&)> filtro;
    int ordem = -1;
    // The server out of reach: every reading and writing fails with this
    // message; empty, in reach.
    std::string indisponivel;

    void le(fb::Leitor& leitor) const override;

protected:
    std::unique_ptr<Gravacao> iniciaGravacao() override;

private:
    class GravacaoMemoria;
    std::vector<std::size_t> chave_;  // the key's columns
};

}  // namespace dados
