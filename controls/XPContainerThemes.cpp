#include <array>

#include "controls/XPContainer.h"

namespace quillon::controls {
namespace {

constexpr XPContainerColors Preset(std::array<int, 18> c) {
    return {RgbColor(c[0], c[1], c[2]),    RgbColor(c[3], c[4], c[5]),    RgbColor(c[6], c[7], c[8]),
            RgbColor(c[9], c[10], c[11]), RgbColor(c[12], c[13], c[14]), RgbColor(c[15], c[16], c[17])};
}

// Header light, header dark, back light, back dark, border, text.
constexpr std::array<XPContainerColors, kXPContainerThemeCount> kThemes = {
    Preset({211, 224, 247, 167, 197, 237, 239, 244, 252, 220, 232, 250, 173, 193, 220, 2, 45, 123}),
    Preset({211, 220, 236, 168, 186, 218, 239, 242, 248, 221, 229, 241, 160, 180, 214, 23, 42, 75}),
    Preset({200, 229, 216, 146, 203, 177, 235, 245, 241, 213, 235, 225, 136, 198, 170, 0, 59, 33}),
    Preset({232, 234, 224, 209, 214, 194, 247, 248, 244, 237, 239, 231, 205, 211, 188, 65, 71, 50}),
    Preset({200, 227, 241, 146, 201, 228, 235, 245, 250, 213, 234, 245, 136, 196, 226, 0, 57, 85}),
    Preset({227, 242, 218, 200, 229, 181, 245, 250, 241, 234, 245, 227, 195, 227, 174, 56, 87, 36}),
    Preset({253, 226, 210, 250, 198, 167, 254, 245, 239, 253, 233, 221, 250, 192, 159, 109, 54, 22}),
    Preset({214, 227, 227, 174, 201, 201, 240, 245, 245, 224, 234, 234, 166, 196, 196, 29, 57, 57}),
    Preset({223, 215, 234, 191, 176, 213, 243, 241, 247, 230, 225, 239, 185, 169, 209, 47, 32, 70}),
    Preset({251, 210, 214, 248, 166, 174, 254, 239, 240, 252, 221, 224, 247, 158, 167, 106, 21, 29}),
    Preset({233, 234, 236, 211, 214, 217, 247, 247, 248, 238, 239, 241, 207, 210, 214, 68, 71, 74}),
    Preset({252, 250, 228, 244, 238, 185, 253, 252, 238, 250, 247, 220, 234, 225, 149, 225, 213, 102}),
};

}  // namespace

const XPContainerColors& XPContainerTheme(int theme) { return kThemes.at(static_cast<std::size_t>(theme)); }

}  // namespace quillon::controls
