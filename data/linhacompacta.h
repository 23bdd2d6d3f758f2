#pragma once
// A cached row packed in one block of memory: four bits per field saying what
// its value is (0 for null), then the values one after another, a null taking
// no room at all. A capsule row of 63 fields takes about 1.2 times the bytes of
// its values, where a vector of variants took 7.8 times.
#include "data/valor.h"

#include <memory>
#include <vector>

namespace dados {

// What the rows of one field list share: each field's decimal places, so that a
// decimal at its field's scale is kept without its scale.
struct FormatoLinha {
    std::vector<signed char> escalas;  // per field; -1 for a field that is not decimal
    std::size_t campos() const { return escalas.size(); }
};

class LinhaCompacta {
public:
    LinhaCompacta() = default;  // no block: every value null
    LinhaCompacta(const std::vector<Valor>& valores, const FormatoLinha& formato);

    explicit operator bool() const { return static_cast<bool>(bloco_); }
    // One value, found by walking past the fields before it.
    Valor valor(std::size_t campo, const FormatoLinha& formato) const;
    // Every value into `destino`, whose texts keep their memory when they can.
    void desempacota(std::vector<Valor>& destino, const FormatoLinha& formato) const;
    std::vector<Valor> valores(const FormatoLinha& formato) const;

private:
    std::unique_ptr<unsigned char[]> bloco_;
};

}  // namespace dados
