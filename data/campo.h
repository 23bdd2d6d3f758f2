#pragma once
// What the fields and the client dataset share about values and field
// definitions (data/campo.cpp); not for use outside the dataset chain.
#include "data/dataset.h"

#include <string>
#include <vector>

namespace dados {

// Brings a value to the field's type: text cut to its width, decimals at the
// field's scale. Empty text is no value at all.
Valor ajusta(const DefCampo& def, Valor v);
// A byte string that is equal for two rows exactly when mesmoValor() holds for
// each of the given fields, to index rows by key.
std::string chave(const LinhaCompacta& linha, const std::vector<int>& indices, const FormatoLinha& formato);
// Fields that follow a statement: one per column, of the column's type.
std::vector<DefCampo> camposDasColunas(const std::vector<fb::Coluna>& colunas);
bool mesmasDefinicoes(const std::vector<DefCampo>& a, const std::vector<DefCampo>& b);
// How the fields' values are packed in a cached row.
FormatoLinha formatoDe(const std::vector<DefCampo>& defs);
// No value, or empty text.
bool vazio(const Valor& v);

}  // namespace dados
