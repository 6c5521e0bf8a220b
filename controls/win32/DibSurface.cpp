#include "controls/win32/DibSurface.h"

#include <cstring>

namespace quillon::controls::win32 {

DibSurface::DibSurface(HDC reference, const Canvas& canvas)
    : width_(canvas.width()), height_(canvas.height()), dc_(reference) {
    if (width_ <= 0 || height_ <= 0 || !dc_.get()) return;
    void* bits = nullptr;
    bitmap_ = CreateTopDownDib(width_, height_, &bits);
    if (!bitmap_ || !bits) return;
    std::memcpy(bits, canvas.pixels().data(), canvas.pixels().size() * sizeof(Pixel));
    bits_ = static_cast<Pixel*>(bits);
    old_ = SelectObject(dc_.get(), bitmap_.get());
}

DibSurface::~DibSurface() {
    if (old_) SelectObject(dc_.get(), old_);
}

void DibSurface::drawOver(const std::function<void(Canvas&)>& paint) {
    if (!ready()) return;
    GdiFlush();
    Canvas canvas(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) canvas.setPixel(x, y, bits_[y * width_ + x] & 0xFFFFFF);
    paint(canvas);
    std::memcpy(bits_, canvas.pixels().data(), canvas.pixels().size() * sizeof(Pixel));
}

void DibSurface::blitTo(HDC target) const {
    if (ready()) BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

void DibSurface::blitClippedTo(HDC target) const {
    RECT clip{};
    if (!ready() || GetClipBox(target, &clip) == ERROR) return blitTo(target);
    RECT area{0, 0, width_, height_};
    if (!IntersectRect(&area, &area, &clip)) return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left,
           area.top, SRCCOPY);
}

}  // namespace quillon::controls::win32
