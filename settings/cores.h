#pragma once
// The suite's 32-bit colour encoding, as stored in its settings:
// - 0x00BBGGRR: a red-green-blue colour, red in the lowest byte;
// - 0xFF0000nn: the system colour of index nn (15 is the button face).
// Other non-negative values are read by their low three bytes as above.
#include <QColor>
#include <QPalette>
#include <cstdint>

inline constexpr std::int32_t kCorFaceBotao = static_cast<std::int32_t>(0xFF00000Fu);

// System colours become the nearest role of the palette; an index the classic
// system colour table doesn't know becomes the button colour.
QColor corDaConfiguracao(std::int32_t cor, const QPalette& paleta);
// With the application's palette.
QColor corDaConfiguracao(std::int32_t cor);
