#pragma once
// Shape drawing for the artwork: every shape is tested at pixel centres, so
// the same picture comes out on every platform.
#include <utility>
#include <vector>

#include "controls/Image.h"

namespace quillon::controls {

// Solid, or a vertical blend from `top` on row y0 to `bottom` on row y1.
struct Paint {
    Pixel top;
    Pixel bottom;
    double y0 = 0;
    double y1 = 0;
    Paint(Pixel solid) : top(solid), bottom(solid) {}  // NOLINT: a colour is a paint
    Paint(Pixel from, Pixel to, double fromRow, double toRow) : top(from), bottom(to), y0(fromRow), y1(toRow) {}
    Pixel at(int y) const;
};

using Point = std::pair<double, double>;

class Sketch {
public:
    explicit Sketch(int size) : image_(size, size) {}
    Image take() { return std::move(image_); }

    void disc(double cx, double cy, double radius, const Paint& paint);
    void ring(double cx, double cy, double outer, double inner, const Paint& paint);
    // Ring part between two angles in degrees, counted clockwise from the right.
    void arc(double cx, double cy, double outer, double inner, double fromDegrees, double toDegrees,
             const Paint& paint);
    void rectangle(double left, double top, double right, double bottom, const Paint& paint);
    void polygon(const std::vector<Point>& points, const Paint& paint);
    void line(double x1, double y1, double x2, double y2, double width, const Paint& paint);
    void gear(double cx, double cy, double tip, double root, int teeth, double hole, const Paint& paint);
    void clear(double cx, double cy, double radius);  // punches a see-through hole
    // Rings the whole silhouette with a one-pixel edge.
    void outline(Pixel color);

private:
    template <typename Inside>
    void cover(const Inside& inside, const Paint& paint);

    Image image_;
};

}  // namespace quillon::controls
