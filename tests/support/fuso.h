#pragma once
// The pharmacies' time zone, for a test program to set before it reads a clock:
// the days daylight saving time began there (2018-11-04, ...) had no midnight.
#include <QtGlobal>
#include <ctime>

namespace fusoteste {

inline void saoPaulo() {
    qputenv("TZ", "America/Sao_Paulo");
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}

}  // namespace fusoteste
