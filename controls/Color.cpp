#include "controls/Color.h"

namespace quillon::controls {

OleColor FixedSystemColors::rgb(int index) const {
    switch (index) {
    case SysColor::Window: return RgbColor(255, 255, 255);
    case SysColor::Highlight: return RgbColor(49, 106, 197);
    case SysColor::ButtonFace: return RgbColor(236, 233, 216);
    case SysColor::ButtonShadow: return RgbColor(172, 168, 153);
    case SysColor::GrayText: return RgbColor(172, 168, 153);
    case SysColor::ButtonText: return RgbColor(0, 0, 0);
    case SysColor::ButtonHighlight: return RgbColor(255, 255, 255);
    case SysColor::DarkShadow: return RgbColor(113, 111, 100);
    case SysColor::Light: return RgbColor(241, 239, 226);
    case SysColor::InfoText: return RgbColor(0, 0, 0);
    case SysColor::InfoBackground: return RgbColor(255, 255, 225);
    default: return RgbColor(0, 0, 0);
    }
}

OleColor TranslateColor(OleColor color, const SystemColors& system) {
    if (IsSystemColor(color)) return system.rgb(static_cast<int>(color & 0xFF)) & 0xFFFFFF;
    return color & 0xFFFFFF;
}

}  // namespace quillon::controls
