#pragma once
// The capsule's colour as written at the end of its description, after the
// capsule number (a digit 0 to 5) or after the word "Capsula".
#include <string>
#include <vector>

namespace regras {

struct VarreduraCor {
    std::string sufixo;    // the characters after the last marker
    std::string restante;  // the text up to and including the marker
};

// Scans from the end, moving characters to the front of the suffix until the
// remaining text ends in a marker: one of the digits 0 to 5 (6 to 9 are none)
// or exactly "sula" (case-sensitive). A text with no marker at all is taken
// as having no colour: empty suffix, the whole text remaining. That way a
// description that does not follow the pattern is neither refused by the
// colour check nor wiped by "<- Usar esta cor".
VarreduraCor varreCor(const std::string& descricao);

// The colour suffix without leading or trailing blanks, in ASCII capitals
// (for the invalid-colour message).
std::string ExtraiCorDescricao(const std::string& descricao);

// True when the description carries a colour (suffix without blanks, not empty)
// that matches no entry of the list exactly. The list is walked up to its end
// or its first empty entry.
bool corDescricaoInvalida(const std::string& descricao, const std::vector<std::string>& cores);

// The description without its colour suffix and without leading blanks.
std::string removeCorDescricao(const std::string& descricao);

// "<- Usar esta cor": the description without its colour suffix (leading blanks
// kept) and without trailing blanks, one blank, then the chosen colour text as
// it is (even empty).
std::string descricaoComCor(const std::string& descricao, const std::string& cor);

}  // namespace regras
