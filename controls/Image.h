#pragma once
// A small picture with a transparency mask, as the artwork is made.
#include <cstdint>
#include <vector>

#include "controls/Color.h"

namespace quillon::controls {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // row by row, top first
    std::vector<bool> opaque;   // same layout; false where the picture is see-through

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h)), opaque(pixels.size()) {}
    bool empty() const { return width <= 0 || height <= 0; }
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x; }
};

}  // namespace quillon::controls
