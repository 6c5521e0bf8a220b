#include "controls/Artwork.h"

#include "controls/Sketch.h"

namespace quillon::controls {
namespace {

constexpr Pixel kInk = MakePixel(40, 52, 70);
constexpr Pixel kGreenLight = MakePixel(120, 214, 92);
constexpr Pixel kGreenDark = MakePixel(28, 128, 40);
constexpr Pixel kBlueLight = MakePixel(110, 170, 240);
constexpr Pixel kBlueDark = MakePixel(24, 72, 170);
constexpr Pixel kWhite = MakePixel(255, 255, 255);

void Disc(Sketch& s, double cx, double cy, double r) {
    s.disc(cx, cy, r, Paint(MakePixel(240, 242, 248), MakePixel(168, 176, 196), cy - r, cy + r));
    s.arc(cx, cy, r - 1.5, r - 4.5, 200, 250, MakePixel(250, 210, 120));
    s.arc(cx, cy, r - 1.5, r - 4.5, 20, 70, MakePixel(150, 200, 250));
    s.disc(cx, cy, r * 0.32, MakePixel(200, 204, 214));
    s.clear(cx, cy, r * 0.14);
}

void RightArrow(Sketch& s, double left, double top, double length, double thickness, const Paint& paint) {
    const double mid = top + thickness;
    const double head = thickness * 1.6;
    s.polygon({{left, mid - thickness / 2},
               {left + length - head, mid - thickness / 2},
               {left + length - head, mid - thickness},
               {left + length, mid},
               {left + length - head, mid + thickness},
               {left + length - head, mid + thickness / 2},
               {left, mid + thickness / 2}},
              paint);
}

void LeftArrow(Sketch& s, double right, double top, double length, double thickness, const Paint& paint) {
    const double mid = top + thickness;
    const double head = thickness * 1.6;
    s.polygon({{right, mid - thickness / 2},
               {right - length + head, mid - thickness / 2},
               {right - length + head, mid - thickness},
               {right - length, mid},
               {right - length + head, mid + thickness},
               {right - length + head, mid + thickness / 2},
               {right, mid + thickness / 2}},
              paint);
}

Image AutoOptimize() {
    Sketch s(32);
    Disc(s, 14, 14, 12);
    RightArrow(s, 13, 17, 17, 6, Paint(kGreenLight, kGreenDark, 17, 29));
    s.outline(kInk);
    return s.take();
}

Image SystemIcon() {
    Sketch s(32);
    s.rectangle(2, 3, 28, 21, MakePixel(200, 204, 212));
    s.rectangle(4, 5, 26, 19, Paint(kBlueLight, kBlueDark, 5, 19));
    s.rectangle(12, 21, 18, 25, MakePixel(150, 156, 168));
    s.rectangle(7, 25, 23, 28, MakePixel(180, 186, 196));
    Disc(s, 23.5, 22.5, 7.5);
    s.outline(kInk);
    return s.take();
}

Image SecurityIcon() {
    Sketch s(32);
    s.disc(13, 21 + 11, 12, Paint(MakePixel(110, 150, 230), MakePixel(40, 70, 160), 20, 31));
    s.disc(13, 11, 6.5, Paint(MakePixel(255, 224, 190), MakePixel(226, 170, 120), 4, 18));
    s.rectangle(7, 4, 19, 7, MakePixel(110, 70, 40));
    s.line(22, 14, 28, 6, 1.5, MakePixel(120, 120, 130));
    s.disc(27.5, 6.5, 3.5, Paint(MakePixel(255, 120, 110), MakePixel(190, 20, 20), 3, 10));
    s.outline(kInk);
    return s.take();
}

Image StartupIcon() {
    Sketch s(32);
    s.rectangle(3, 3, 5, 30, MakePixel(120, 100, 80));
    const auto tile = [&](double x, double y, Pixel a, Pixel b) {
        s.polygon({{x, y + 1}, {x + 11, y}, {x + 11, y + 10}, {x, y + 11}}, Paint(a, b, y, y + 11));
    };
    tile(6, 4, MakePixel(255, 110, 80), MakePixel(210, 40, 20));
    tile(18, 3, MakePixel(140, 230, 100), MakePixel(50, 160, 40));
    tile(6, 16, MakePixel(110, 170, 255), MakePixel(30, 90, 210));
    tile(18, 15, MakePixel(255, 230, 90), MakePixel(230, 170, 20));
    s.outline(kInk);
    return s.take();
}

Image SpeedIcon() {
    Sketch s(32);
    s.polygon({{18, 1}, {6, 17}, {14, 17}, {10, 31}, {26, 12}, {17, 12}, {23, 1}},
              Paint(MakePixel(255, 244, 120), MakePixel(250, 170, 20), 1, 31));
    s.outline(MakePixel(150, 80, 0));
    return s.take();
}

Image ServicesIcon() {
    Sketch s(32);
    RightArrow(s, 2, 3, 27, 6, Paint(kGreenLight, kGreenDark, 3, 15));
    LeftArrow(s, 30, 16, 27, 6, Paint(kGreenLight, kGreenDark, 16, 28));
    s.outline(kInk);
    return s.take();
}

Image RecommendIcon() {
    Sketch s(32);
    s.polygon({{6, 3}, {28, 16}, {6, 29}}, Paint(kGreenLight, kGreenDark, 3, 29));
    s.outline(kInk);
    return s.take();
}

Image ResetIcon() {
    Sketch s(32);
    const Paint blue(kBlueLight, kBlueDark, 3, 29);
    s.arc(16, 17, 12, 6.5, 200, 120, blue);
    s.polygon({{1, 12}, {14, 12}, {7.5, 20}}, blue);
    s.outline(kInk);
    return s.take();
}

Image OptimizeIcon() {
    Sketch s(32);
    s.polygon({{2, 8}, {3, 5}, {12, 5}, {14, 8}}, MakePixel(230, 180, 60));
    s.rectangle(2, 8, 30, 28, Paint(MakePixel(255, 222, 120), MakePixel(226, 166, 40), 8, 28));
    s.rectangle(6, 16, 12, 22, MakePixel(220, 60, 50));
    s.rectangle(13, 16, 19, 22, MakePixel(60, 160, 60));
    s.rectangle(20, 16, 26, 22, MakePixel(50, 100, 210));
    s.rectangle(10, 10, 16, 16, MakePixel(240, 200, 40));
    s.rectangle(17, 10, 23, 16, MakePixel(150, 80, 190));
    s.outline(kInk);
    return s.take();
}

Image ExitIcon() {
    Sketch s(32);
    s.disc(16, 16, 14, Paint(kGreenLight, kGreenDark, 2, 30));
    RightArrow(s, 7, 10, 18, 6, kWhite);
    s.outline(kInk);
    return s.take();
}

Image StarIcon() {
    Sketch s(16);
    s.polygon({{8, 0.5},
               {9.9, 5.9},
               {15.5, 6},
               {11, 9.4},
               {12.6, 15},
               {8, 11.7},
               {3.4, 15},
               {5, 9.4},
               {0.5, 6},
               {6.1, 5.9}},
              Paint(MakePixel(255, 240, 130), MakePixel(245, 160, 20), 0, 16));
    return s.take();
}

Image GearsIcon() {
    Sketch s(32);
    s.gear(12, 12, 10.5, 8, 8, 3, Paint(MakePixel(190, 200, 214), MakePixel(100, 112, 130), 1, 23));
    s.gear(23, 23, 8, 6, 6, 2.2, Paint(MakePixel(250, 200, 90), MakePixel(200, 120, 20), 15, 31));
    s.outline(kInk);
    return s.take();
}

}  // namespace

Image MakeArtwork(Artwork which) {
    switch (which) {
    case Artwork::AutoOptimize: return AutoOptimize();
    case Artwork::System: return SystemIcon();
    case Artwork::Security: return SecurityIcon();
    case Artwork::Startup: return StartupIcon();
    case Artwork::Speed: return SpeedIcon();
    case Artwork::Services: return ServicesIcon();
    case Artwork::Recommend: return RecommendIcon();
    case Artwork::Reset: return ResetIcon();
    case Artwork::Optimize: return OptimizeIcon();
    case Artwork::Exit: return ExitIcon();
    case Artwork::Star: return StarIcon();
    case Artwork::Gears: return GearsIcon();
    }
    return {};
}

}  // namespace quillon::controls
