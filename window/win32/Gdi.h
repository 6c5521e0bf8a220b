#pragma once
// Painting helpers for frmMain's own small controls, beside the scoped GDI
// owners the themed controls already provide.
#include <windows.h>

#include "controls/win32/Gdi.h"

namespace quillon::win32 {

using controls::win32::GdiObject;
using controls::win32::MemoryDC;
using controls::win32::Selection;
using controls::win32::UniqueBitmap;
using controls::win32::UniqueFont;
using UniqueBrush = GdiObject<HBRUSH>;
using UniquePen = GdiObject<HPEN>;

// BeginPaint and EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An off-screen surface the size of a window, copied to the screen in one go.
// A device-independent bitmap: under Wine a screen-compatible one asks the
// window server about the display each time it is made and selected.
class MemorySurface {
public:
    MemorySurface(HDC screen, int width, int height)
        : dc_(screen), bitmap_(Surface(width, height)), selected_(dc_.get(), bitmap_.get()), width_(width),
          height_(height) {}
    HDC dc() const { return dc_.get(); }
    void copyTo(HDC target) const { BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY); }

private:
    static UniqueBitmap Surface(int width, int height) {
        void* bits = nullptr;
        return controls::win32::CreateTopDownDib(width, height, &bits);
    }

    MemoryDC dc_;
    UniqueBitmap bitmap_;
    Selection selected_;
    int width_, height_;
};

// A screen device context for measuring text.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace quillon::win32
