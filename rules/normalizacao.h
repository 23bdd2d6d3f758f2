#pragma once
// The one written form of capsule descriptions and of the texts searched for
// among them. Texts are Windows-1252 bytes; the result keeps the input's length.
#include <string>

namespace regras {

// Lower case except the first letter, a capital after "vitamina ", no accents.
// Capitals are set before the accents go, so an accented first letter ends
// plain and lower case ("Ácido" -> "acido"). Normalising that result again
// capitalises it; from the second pass on the text no longer changes.
std::string NormalizaDescricao(std::string texto);

// Each of the 30 accented codes of the suite's map becomes its plain lower-case
// letter (capitals included); every other byte is copied.
std::string RemoveAcentos(std::string texto);

}  // namespace regras
