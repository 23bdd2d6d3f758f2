#pragma once
// The locale of numbers and dates. The program's users are Brazilian: a
// workstation whose environment names no locale (or only C/POSIX) gets pt-BR;
// a locale the user chose always wins.
#include <string_view>

namespace plataforma {

// Whether the locale variables name a locale of the user's own: the first of
// LC_ALL, LC_NUMERIC and LANG that is set (as the system reads them for numbers)
// and is neither C nor POSIX.
bool localidadeDoUsuario(std::string_view lcAll, std::string_view lcNumeric, std::string_view lang);

// Sets pt-BR as the program's default locale unless the environment names the
// user's own. On Windows the regional settings are the user's own: kept.
void adotaLocalidadePadrao();

}  // namespace plataforma
