#include "controls/Canvas.h"

#include <algorithm>

namespace quillon::controls {

Canvas::Canvas(int width, int height, Pixel background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), background) {}

Pixel Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x];
}

void Canvas::fill(Pixel color) { std::fill(pixels_.begin(), pixels_.end(), color); }

void Canvas::setPixel(int x, int y, Pixel color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x] = color;
}

void Canvas::horizontalLine(int x1, int x2, int y, Pixel color) {
    // Drawn backwards the line still leaves out its end point.
    const int first = x1 <= x2 ? x1 : x2 + 1;
    const int last = x1 <= x2 ? x2 - 1 : x1;
    fillRectangle(first, y, last + 1, y + 1, color);
}

void Canvas::verticalLine(int x, int y1, int y2, Pixel color) {
    const int first = y1 <= y2 ? y1 : y2 + 1;
    const int last = y1 <= y2 ? y2 - 1 : y1;
    fillRectangle(x, first, x + 1, last + 1, color);
}

void Canvas::rectangleOutline(int x1, int y1, int x2, int y2, Pixel color) {
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    fillRectangle(left, top, right + 1, top + 1, color);
    fillRectangle(left, bottom, right + 1, bottom + 1, color);
    fillRectangle(left, top, left + 1, bottom + 1, color);
    fillRectangle(right, top, right + 1, bottom + 1, color);
}

void Canvas::fillRectangle(int left, int top, int right, int bottom, Pixel color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) pixels_[static_cast<std::size_t>(y) * width_ + x] = color;
}

void Canvas::blit(const Canvas& source, int left, int top) {
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) setPixel(left + x, top + y, source.pixel(x, y));
}

void Canvas::drawImage(const Image& image, int left, int top, int size) {
    if (image.empty() || size <= 0) return;
    for (int y = 0; y < size; ++y) {
        const int sourceY = y * image.height / size;
        for (int x = 0; x < size; ++x) {
            const std::size_t at = image.index(x * image.width / size, sourceY);
            if (image.opaque[at]) setPixel(left + x, top + y, image.pixels[at]);
        }
    }
}

}  // namespace quillon::controls
