#pragma once
#include <chrono>

// The start-up baseline with a window: a minimal Qt Widgets program doing the
// program's start-up database work, timed from `inicio`; prints partida_ms=.
int partidaJanela(int argc, char* argv[], const char* banco, std::chrono::steady_clock::time_point inicio);

// With CAPSULAS_MEDE_PARTIDA=espera: returns when standard input ends.
void esperaFimDaEntrada();
