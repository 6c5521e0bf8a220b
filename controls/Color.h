#pragma once
// Colours as the controls hold them and as their canvas stores them.
#include <cstdint>

namespace quillon::controls {

// red + 256 * green + 65536 * blue, or a system colour reference (high bit set,
// low byte the system colour index). Same packing as a Windows COLORREF.
using OleColor = std::uint32_t;

// One canvas pixel, laid out as a 32-bit top-down DIB stores it: 0x00RRGGBB.
using Pixel = std::uint32_t;

constexpr OleColor kSystemColorFlag = 0x80000000u;

constexpr OleColor RgbColor(int red, int green, int blue) {
    return static_cast<OleColor>(red) | static_cast<OleColor>(green) << 8 | static_cast<OleColor>(blue) << 16;
}
constexpr OleColor SystemColor(int index) { return kSystemColorFlag | static_cast<OleColor>(index); }
constexpr bool IsSystemColor(OleColor color) { return (color & kSystemColorFlag) != 0; }
constexpr int RedOf(OleColor rgb) { return static_cast<int>(rgb & 0xFF); }
constexpr int GreenOf(OleColor rgb) { return static_cast<int>(rgb >> 8 & 0xFF); }
constexpr int BlueOf(OleColor rgb) { return static_cast<int>(rgb >> 16 & 0xFF); }

constexpr Pixel MakePixel(int red, int green, int blue) {
    return static_cast<Pixel>(red) << 16 | static_cast<Pixel>(green) << 8 | static_cast<Pixel>(blue);
}
constexpr Pixel PixelOf(OleColor rgb) { return MakePixel(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)); }
constexpr int PixelRed(Pixel pixel) { return static_cast<int>(pixel >> 16 & 0xFF); }
constexpr int PixelGreen(Pixel pixel) { return static_cast<int>(pixel >> 8 & 0xFF); }
constexpr int PixelBlue(Pixel pixel) { return static_cast<int>(pixel & 0xFF); }

// System colour indices (the values Windows gives them).
namespace SysColor {
constexpr int Window = 5;
constexpr int Highlight = 13;
constexpr int ButtonFace = 15;
constexpr int ButtonShadow = 16;
constexpr int GrayText = 17;
constexpr int ButtonText = 18;
constexpr int ButtonHighlight = 20;
constexpr int DarkShadow = 21;
constexpr int Light = 22;
constexpr int InfoText = 23;
constexpr int InfoBackground = 24;
}  // namespace SysColor

// The current colours of the display elements, as plain red-green-blue values.
class SystemColors {
public:
    virtual ~SystemColors() = default;
    virtual OleColor rgb(int index) const = 0;
};

// Windows XP's blue scheme; drawing is repeatable with it, so tests use it.
class FixedSystemColors final : public SystemColors {
public:
    OleColor rgb(int index) const override;
};

// A system colour reference becomes the current colour. Any other value keeps
// its low 24 bits, so a stray high byte cannot make a channel overflow.
OleColor TranslateColor(OleColor color, const SystemColors& system);

}  // namespace quillon::controls
