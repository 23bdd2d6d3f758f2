#pragma once
// Program-wide state of the sign-on.
#include "platform/text.h"

inline ShortString<60> UsuarioAtual;    // current user (the key of a reused sign-on)
inline ShortString<60> NomeLogon;       // plain name from the logon file
inline ShortString<2> EstacaoAtual;     // workstation code shown in the caption
inline ShortString<100> AcessoUsuario;  // access string of the last user checked
inline bool AcessoFinanceiro = false;   // the user holds the financial right
