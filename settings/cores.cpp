#include "settings/cores.h"

#include <QGuiApplication>
#include <array>

namespace {
struct Papel {
    QPalette::ColorGroup grupo;
    QPalette::ColorRole papel;
};

constexpr QPalette::ColorGroup A = QPalette::Active;
constexpr QPalette::ColorGroup D = QPalette::Disabled;

// Classic system colour indices 0-30 and the palette role closest to each.
constexpr std::array<Papel, 31> kSistema = {{
    {A, QPalette::Button},           //  0 scroll bar
    {A, QPalette::Dark},             //  1 desktop
    {A, QPalette::Highlight},        //  2 active caption
    {A, QPalette::Mid},              //  3 inactive caption
    {A, QPalette::Window},           //  4 menu
    {A, QPalette::Base},             //  5 window
    {A, QPalette::Shadow},           //  6 window frame
    {A, QPalette::WindowText},       //  7 menu text
    {A, QPalette::Text},             //  8 window text
    {A, QPalette::HighlightedText},  //  9 caption text
    {A, QPalette::Button},           // 10 active border
    {A, QPalette::Button},           // 11 inactive border
    {A, QPalette::Mid},              // 12 application workspace
    {A, QPalette::Highlight},        // 13 highlight
    {A, QPalette::HighlightedText},  // 14 highlighted text
    {A, QPalette::Button},           // 15 button face
    {A, QPalette::Dark},             // 16 button shadow
    {D, QPalette::Text},             // 17 grey (disabled) text
    {A, QPalette::ButtonText},       // 18 button text
    {D, QPalette::HighlightedText},  // 19 inactive caption text
    {A, QPalette::Light},            // 20 button highlight
    {A, QPalette::Shadow},           // 21 3D dark shadow
    {A, QPalette::Midlight},         // 22 3D light
    {A, QPalette::ToolTipText},      // 23 tooltip text
    {A, QPalette::ToolTipBase},      // 24 tooltip background
    {A, QPalette::Button},           // 25 unassigned
    {A, QPalette::Link},             // 26 hot-tracked item
    {A, QPalette::Highlight},        // 27 active caption gradient
    {A, QPalette::Mid},              // 28 inactive caption gradient
    {A, QPalette::Highlight},        // 29 menu highlight
    {A, QPalette::Window},           // 30 menu bar
}};
}  // namespace

QColor corDaConfiguracao(std::int32_t cor, const QPalette& paleta) {
    const auto v = static_cast<std::uint32_t>(cor);
    if (cor >= 0) return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    const std::uint32_t indice = v & 0x00FFFFFFu;
    if ((v >> 24) == 0xFF && indice < kSistema.size())
        return paleta.color(kSistema[indice].grupo, kSistema[indice].papel);
    return paleta.color(QPalette::Active, QPalette::Button);
}

QColor corDaConfiguracao(std::int32_t cor) { return corDaConfiguracao(cor, QGuiApplication::palette()); }
