#pragma once
// A canvas turned into a 32-bit DIB section in a memory DC, where GDI adds text
// and icons before the whole is blitted in one go (no flicker).
#include <windows.h>

#include <functional>

#include "controls/Canvas.h"
#include "controls/win32/Gdi.h"

namespace quillon::controls::win32 {

class DibSurface {
public:
    DibSurface(HDC reference, const Canvas& canvas);
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    ~DibSurface();

    HDC dc() const { return dc_.get(); }
    bool ready() const { return old_ != nullptr; }
    // Canvas drawing over what GDI has drawn so far, e.g. a picture over text.
    void drawOver(const std::function<void(Canvas&)>& paint);
    void blitTo(HDC target) const;
    // Only the part of the surface that the target's clipping lets through.
    void blitClippedTo(HDC target) const;

private:
    int width_;
    int height_;
    MemoryDC dc_;
    UniqueBitmap bitmap_;
    Pixel* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace quillon::controls::win32
