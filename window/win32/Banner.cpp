#include "window/win32/Banner.h"

#include <string>

#include "controls/win32/WindowClass.h"
#include "controls/win32/WindowProcedure.h"
#include "words/Version.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/Dpi.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonBanner";
constexpr COLORREF kBackground = RGB(231, 241, 251);
constexpr COLORREF kDigits = RGB(196, 218, 240);
constexpr COLORREF kArrow = RGB(178, 210, 240);
constexpr COLORREF kLetters = RGB(112, 168, 222);
constexpr COLORREF kLetterShadow = RGB(255, 255, 255);

UniqueFont MakeFont(const wchar_t* face, int height, int weight) {
    return UniqueFont(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face));
}

// Columns of ones and zeros; the pattern only has to look busy, not mean anything.
void DrawDigits(HDC dc, int width, int height) {
    UniqueFont font = MakeFont(L"Courier New", Scaled(10), FW_NORMAL);
    Selection selected(dc, font.get());
    SetTextColor(dc, kDigits);
    for (int column = 0, x = Scaled(4); x < width; ++column, x += Scaled(11)) {
        for (int row = 0, y = -Scaled((column * 5) % 9); y < height; ++row, y += Scaled(10)) {
            const wchar_t digit = ((column * 7 + row * 3 + column * row) % 5) < 2 ? L'1' : L'0';
            TextOutW(dc, x, y, &digit, 1);
        }
    }
}

void DrawArrow(HDC dc, int width, int height) {
    const int mid = height / 2;
    const int s150 = Scaled(150), s50 = Scaled(50), s24 = Scaled(24), s12 = Scaled(12), s9 = Scaled(9);
    const POINT arrow[] = {{width - s150, mid - s9}, {width - s50, mid - s9}, {width - s50, mid - s24},
                           {width - s12, mid},       {width - s50, mid + s24}, {width - s50, mid + s9},
                           {width - s150, mid + s9}};
    UniqueBrush fill(CreateSolidBrush(kArrow));
    UniquePen outline(CreatePen(PS_SOLID, 1, RGB(150, 190, 232)));
    Selection brush(dc, fill.get());
    Selection pen(dc, outline.get());
    Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
}

void DrawName(HDC dc, int height) {
    const std::wstring name = L"Quillon";
    const std::wstring version = L"v" QUILLON_VERSION_WIDE;
    UniqueFont big = MakeFont(L"Arial", Scaled(46), FW_BOLD);
    UniqueFont small = MakeFont(L"Arial", Scaled(18), FW_BOLD);
    const int top = (height - Scaled(50)) / 2;
    {
        Selection selected(dc, big.get());
        SetTextColor(dc, kLetterShadow);
        TextOutW(dc, Scaled(22), top + Scaled(2), name.c_str(), static_cast<int>(name.size()));
        SetTextColor(dc, kLetters);
        TextOutW(dc, Scaled(20), top, name.c_str(), static_cast<int>(name.size()));
    }
    SIZE nameSize{};
    {
        Selection selected(dc, big.get());
        GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &nameSize);
    }
    Selection selected(dc, small.get());
    SetTextColor(dc, kLetters);
    TextOutW(dc, Scaled(28) + nameSize.cx, top + Scaled(26), version.c_str(), static_cast<int>(version.size()));
}

LRESULT CALLBACK BannerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_NCPAINT:
        if (controls::win32::FrameDrawsNothing(window)) return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT: {
        PaintScope paint(window);
        RECT client;
        GetClientRect(window, &client);
        MemorySurface surface(paint.dc(), client.right, client.bottom);
        UniqueBrush background(CreateSolidBrush(kBackground));
        FillRect(surface.dc(), &client, background.get());
        SetBkMode(surface.dc(), TRANSPARENT);
        DrawDigits(surface.dc(), client.right, client.bottom);
        DrawArrow(surface.dc(), client.right, client.bottom);
        DrawName(surface.dc(), client.bottom);
        surface.copyTo(paint.dc());
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateBanner(HWND parent, const RECT& pixels) {
    controls::win32::RegisterControlClass(kClassName, BannerProc, CS_CLASSDC);
    return CreateChildWindow(kClassName, L"", WS_VISIBLE, pixels, parent);
}

}  // namespace quillon::win32
