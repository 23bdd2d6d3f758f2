#pragma once
// The rules' column values, under the names the data layer uses for them.
#include "rules/value.h"

namespace dados {
using regras::Blob;
using regras::dataHora;
using regras::Decimal;
using regras::nulo;
using regras::Valor;
}  // namespace dados
