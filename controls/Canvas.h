#pragma once
// A 32-bit pixel surface on which the controls draw everything but text. On
// Windows its pixels become a DIB section; on Linux tests read them directly.
// Drawing outside the surface is clipped.
#include <vector>

#include "controls/Color.h"
#include "controls/Image.h"

namespace quillon::controls {

class Canvas {
public:
    Canvas(int width, int height, Pixel background = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    Pixel pixel(int x, int y) const;  // 0 outside the surface
    const std::vector<Pixel>& pixels() const { return pixels_; }

    void fill(Pixel color);
    void setPixel(int x, int y, Pixel color);
    // From (x1, y) towards (x2, y); the end point is not drawn.
    void horizontalLine(int x1, int x2, int y, Pixel color);
    // From (x, y1) towards (x, y2); the end point is not drawn.
    void verticalLine(int x, int y1, int y2, Pixel color);
    // Outline through both corners, each included.
    void rectangleOutline(int x1, int y1, int x2, int y2, Pixel color);
    void fillRectangle(int left, int top, int right, int bottom, Pixel color);  // right, bottom excluded
    // Copies another canvas with its top-left corner at (left, top).
    void blit(const Canvas& source, int left, int top);
    // Draws the opaque pixels of an image scaled to size by size.
    void drawImage(const Image& image, int left, int top, int size);

private:
    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

}  // namespace quillon::controls
