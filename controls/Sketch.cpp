#include "controls/Sketch.h"

#include <cmath>

namespace quillon::controls {
namespace {

constexpr double kPi = 3.14159265358979323846;

int Blend(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

double DegreesAt(double dx, double dy) {
    const double degrees = std::atan2(dy, dx) * 180.0 / kPi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

}  // namespace

Pixel Paint::at(int y) const {
    if (top == bottom || y1 <= y0) return top;
    double t = (y + 0.5 - y0) / (y1 - y0);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return MakePixel(Blend(PixelRed(top), PixelRed(bottom), t), Blend(PixelGreen(top), PixelGreen(bottom), t),
                     Blend(PixelBlue(top), PixelBlue(bottom), t));
}

template <typename Inside>
void Sketch::cover(const Inside& inside, const Paint& paint) {
    for (int y = 0; y < image_.height; ++y)
        for (int x = 0; x < image_.width; ++x)
            if (inside(x + 0.5, y + 0.5)) {
                image_.pixels[image_.index(x, y)] = paint.at(y);
                image_.opaque[image_.index(x, y)] = true;
            }
}

void Sketch::disc(double cx, double cy, double radius, const Paint& paint) {
    cover([&](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; }, paint);
}

void Sketch::ring(double cx, double cy, double outer, double inner, const Paint& paint) {
    cover(
        [&](double x, double y) {
            const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            return d <= outer * outer && d > inner * inner;
        },
        paint);
}

void Sketch::arc(double cx, double cy, double outer, double inner, double fromDegrees, double toDegrees,
                 const Paint& paint) {
    cover(
        [&](double x, double y) {
            const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            if (d > outer * outer || d <= inner * inner) return false;
            const double a = DegreesAt(x - cx, y - cy);
            return fromDegrees <= toDegrees ? a >= fromDegrees && a <= toDegrees : a >= fromDegrees || a <= toDegrees;
        },
        paint);
}

void Sketch::rectangle(double left, double top, double right, double bottom, const Paint& paint) {
    cover([&](double x, double y) { return x >= left && x < right && y >= top && y < bottom; }, paint);
}

void Sketch::polygon(const std::vector<Point>& points, const Paint& paint) {
    cover(
        [&](double x, double y) {
            bool inside = false;
            for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const auto [xi, yi] = points[i];
                const auto [xj, yj] = points[j];
                if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
            }
            return inside;
        },
        paint);
}

void Sketch::line(double x1, double y1, double x2, double y2, double width, const Paint& paint) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double length2 = dx * dx + dy * dy;
    cover(
        [&](double x, double y) {
            double t = length2 == 0 ? 0 : ((x - x1) * dx + (y - y1) * dy) / length2;
            t = t < 0 ? 0 : t > 1 ? 1 : t;
            const double ex = x1 + t * dx - x, ey = y1 + t * dy - y;
            return ex * ex + ey * ey <= width * width / 4;
        },
        paint);
}

void Sketch::gear(double cx, double cy, double tip, double root, int teeth, double hole, const Paint& paint) {
    cover(
        [&](double x, double y) {
            const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            if (d2 <= hole * hole || d2 > tip * tip) return false;
            if (d2 <= root * root) return true;
            const double turn = DegreesAt(x - cx, y - cy) / 360.0 * teeth;
            return turn - std::floor(turn) < 0.5;
        },
        paint);
    clear(cx, cy, hole);
}

void Sketch::clear(double cx, double cy, double radius) {
    for (int y = 0; y < image_.height; ++y)
        for (int x = 0; x < image_.width; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) image_.opaque[image_.index(x, y)] = false;
        }
}

void Sketch::outline(Pixel color) {
    const Image before = image_;
    const auto solid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < before.width && y < before.height && before.opaque[before.index(x, y)];
    };
    for (int y = 0; y < image_.height; ++y)
        for (int x = 0; x < image_.width; ++x)
            if (!solid(x, y) && (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1))) {
                image_.pixels[image_.index(x, y)] = color;
                image_.opaque[image_.index(x, y)] = true;
            }
}

}  // namespace quillon::controls
