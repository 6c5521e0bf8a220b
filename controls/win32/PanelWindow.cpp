#include "controls/win32/PanelWindow.h"

#include <stdexcept>

#include "controls/win32/DibSurface.h"
#include "controls/win32/Fonts.h"
#include "controls/win32/ScreenDpi.h"
#include "controls/win32/Win32SystemColors.h"
#include "controls/win32/WindowClass.h"
#include "platform/win32/Text.h"

namespace quillon::controls::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonXPContainer";

bool IsChildNotification(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL: return true;
    default: return false;
    }
}

}  // namespace

std::unique_ptr<PanelWindow> PanelWindow::create(HWND parent, const RECT& bounds, const PanelOptions& options) {
    if (!RegisterControlClass(kClassName, WindowTrampoline<PanelWindow>, CS_HREDRAW | CS_VREDRAW | CS_CLASSDC))
        throw std::runtime_error("panel window class cannot be registered");
    std::unique_ptr<PanelWindow> self(new PanelWindow());
    self->panel_.setStyle(options.style);
    self->panel_.setTheme(options.theme);
    self->panel_.setCaption(options.caption);
    self->panel_.setDpi(ScreenDpi());
    self->captionFont_ = CreateControlFont({"Arial", 9, true});
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (options.visible ? WS_VISIBLE : 0);
    CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", style, bounds.left, bounds.top,
                    bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr, GetModuleHandleW(nullptr),
                    self.get());
    if (!self->hwnd_) throw std::runtime_error("panel window cannot be created");
    // From now on a property write shows at once.
    self->panel_.setChangeListener([owner = self.get()](std::string_view) {
        owner->forgetRendering();
        InvalidateRect(owner->hwnd_, nullptr, FALSE);
    });
    return self;
}

PanelWindow::~PanelWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void PanelWindow::setVisible(bool visible) {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool PanelWindow::visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void PanelWindow::move(const RECT& bounds) {
    if (hwnd_)
        MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

LRESULT PanelWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        switch (message) {
        case WM_ERASEBKGND: return TRUE;
        case WM_NCPAINT:
            if (FrameDrawsNothing(hwnd_)) return 0;
            break;
        case WM_PAINT: return PaintNow(hwnd_, [this](HDC dc) { paint(dc); });
        case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_SIZE:
            forgetRendering();
            panel_.resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SYSCOLORCHANGE:
            forgetRendering();
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        default: break;
        }
        if (IsChildNotification(message)) {
            if (HWND parent = GetParent(hwnd_)) return SendMessageW(parent, message, wParam, lParam);
        }
    } catch (...) {
        // Nothing may leave a window procedure; a failed paint waits for the next one.
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void PanelWindow::forgetRendering() { rendering_.reset(); }

const DibSurface* PanelWindow::rendered(HDC reference) {
    if (rendering_) return rendering_.get();
    auto surface = std::make_unique<DibSurface>(reference, panel_.draw(Win32SystemColors()));
    if (!surface->ready()) return nullptr;
    if (panel_.headerVisible() && !panel_.Caption().empty()) {
        const std::wstring caption = quillon::win32::Widen(panel_.Caption());
        const Selection font(surface->dc(), captionFont_.get());
        SIZE extent{};
        GetTextExtentPoint32W(surface->dc(), caption.c_str(), static_cast<int>(caption.size()), &extent);
        SetBkMode(surface->dc(), TRANSPARENT);
        SetTextColor(surface->dc(), TranslateColor(panel_.TextColor(), Win32SystemColors()));
        // The caption lies on the header strip and is cut off where the strip ends.
        const RECT strip{1, 1, 1 + panel_.headerWidth(), 1 + panel_.headerHeight()};
        ExtTextOutW(surface->dc(), panel_.captionLeft(), panel_.captionTop(extent.cy), ETO_CLIPPED, &strip,
                    caption.c_str(), static_cast<UINT>(caption.size()), nullptr);
    }
    rendering_ = std::move(surface);
    return rendering_.get();
}

void PanelWindow::paint(HDC target) {
    if (const DibSurface* surface = rendered(target)) surface->blitClippedTo(target);
}

}  // namespace quillon::controls::win32
