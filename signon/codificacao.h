#pragma once
// The letter encoding in which the suite stores user names and passwords, and
// the rights rule over a user's access string.
#include <string>
#include <string_view>

namespace identificacao {

// The bytes of the text as one bit string, rotated left by 3 bits, cut back
// into bytes taken from the last to the first, each written as two letters
// 'A'+high nibble, 'A'+low nibble. "ABC" -> "BKBCAK", "A" -> "AK", "" -> "".
// Any length works; names longer than the stored columns simply match nothing.
std::string CodificarTexto(std::string_view texto);

// A user holds the right at 1-based position p of the access string when the
// character there is the user's initial (first character of the upper-cased
// name) plus p + 1, modulo 256. Beyond the end, or an empty name: no right.
bool temDireito(std::string_view acesso, std::string_view nomeMaiusculo, int posicao);

// Positions of the rights this program tests.
inline constexpr int kDireitoLogin = 2;
inline constexpr int kDireitoReusarLogon = 7;
inline constexpr int kDireitoFinanceiro = 24;

}  // namespace identificacao
