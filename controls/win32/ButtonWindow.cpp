#include "controls/win32/ButtonWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "controls/win32/DibSurface.h"
#include "controls/win32/Fonts.h"
#include "controls/win32/ScreenDpi.h"
#include "controls/win32/Win32SystemColors.h"
#include "controls/win32/WindowClass.h"
#include "platform/win32/Text.h"

namespace quillon::controls::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonIsButton";

UINT TextFormat(Align align) {
    const UINT single = DT_SINGLELINE;
    switch (align) {
    case Align::Left: return single | DT_LEFT | DT_VCENTER;
    case Align::Right: return single | DT_RIGHT | DT_VCENTER;
    case Align::Top: return single | DT_TOP | DT_CENTER;
    case Align::Bottom: return single | DT_BOTTOM | DT_CENTER;
    case Align::Center: break;
    }
    return single | DT_CENTER | DT_VCENTER;
}

UniqueRegion MakeRegion(const ButtonRegion& shape, int width, int height) {
    switch (shape.kind) {
    case ButtonRegion::Kind::Polygon: {
        std::vector<POINT> points;
        for (const PixelPoint& p : shape.points) points.push_back({p.x, p.y});
        return UniqueRegion(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE));
    }
    case ButtonRegion::Kind::RoundRectangle:
        return UniqueRegion(CreateRoundRectRgn(0, 0, width + 1, height + 1, shape.corner, shape.corner));
    case ButtonRegion::Kind::Rectangle: break;
    }
    return UniqueRegion();
}

int TwipsPerPixel(int axis) { return 1440 / ScreenDpi(axis); }

}  // namespace

std::unique_ptr<ButtonWindow> ButtonWindow::create(HWND parent, const RECT& bounds, ButtonOptions options) {
    if (!RegisterControlClass(kClassName, WindowTrampoline<ButtonWindow>, CS_DBLCLKS | CS_CLASSDC))
        throw std::runtime_error("button window class cannot be registered");
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    std::unique_ptr<ButtonWindow> self(new ButtonWindow());
    isButton& b = self->button_;
    b.setStyle(options.style);
    b.setCaption(std::move(options.caption));
    b.setFont(std::move(options.font));
    b.setIconSize(options.iconSize);
    b.setDpi(ScreenDpi(LOGPIXELSY));
    b.setIconAlign(options.iconAlign);
    b.setIconVisible(options.iconVisible);
    b.setEnabled(options.enabled);
    if (options.icon) {
        self->icon_ = options.icon;
        b.setIcon(ButtonIcon::external());
    } else if (options.artwork) {
        b.setIcon(ButtonIcon::of(*options.artwork));
    }
    self->onClick_ = std::move(options.onClick);
    self->accessKey_ = options.accessKey;
    self->font_ = CreateControlFont(b.Font());
    self->trackMouseEvent_ = FindTrackMouseEvent();

    // Creation sends no WM_WINDOWPOSCHANGING, so the first size is enlarged here.
    const int width = isButton::enlarged(bounds.right - bounds.left, TwipsPerPixel(LOGPIXELSX));
    const int height = isButton::enlarged(bounds.bottom - bounds.top, TwipsPerPixel(LOGPIXELSY));
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | (options.enabled ? 0 : WS_DISABLED);
    CreateWindowExW(0, kClassName, L"", style, bounds.left, bounds.top, width, height, parent, nullptr,
                    GetModuleHandleW(nullptr), self.get());
    if (!self->hwnd_) throw std::runtime_error("button window cannot be created");
    if (b.Style() == 6 && !self->visualStyles_.open(self->hwnd_)) b.visualStylesUnavailable();
    ButtonWindow* raw = self.get();
    b.setChangeListener([raw](std::string_view property, bool relayout) { raw->propertyChanged(property, relayout); });
    self->layout();
    return self;
}

ButtonWindow::~ButtonWindow() {
    tooltip_.destroy();
    if (hwnd_) DestroyWindow(hwnd_);
}

void ButtonWindow::showAccessKey(bool shown) {
    if (shown == accessKeyShown_ || !accessKey_) return;
    accessKeyShown_ = shown;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ButtonWindow::setCaption(std::wstring_view text) { button_.setCaption(quillon::win32::Narrow(text)); }

void ButtonWindow::propertyChanged(std::string_view property, bool relayout) {
    if (!hwnd_) return;
    if (property == "Enabled") EnableWindow(hwnd_, button_.Enabled());
    if (property == "Font") font_ = CreateControlFont(button_.Font());
    if (property == "Style" && button_.Style() == 6 && !visualStyles_.open(hwnd_)) {
        button_.visualStylesUnavailable();  // comes back here with the new Style
        return;
    }
    if (relayout)
        layout();
    else
        InvalidateRect(hwnd_, nullptr, FALSE);
}

void ButtonWindow::layout() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    ButtonRegion shape = button_.region(client.right, client.bottom);
    if (shape != shape_ || client.right != shapeSize_.cx || client.bottom != shapeSize_.cy) {
        UniqueRegion region = MakeRegion(shape, client.right, client.bottom);
        // The window owns a region once it is set, and frees the one before.
        if (SetWindowRgn(hwnd_, region.get(), TRUE)) {
            region.release();
            shape_ = std::move(shape);
            shapeSize_ = {client.right, client.bottom};
        }
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ButtonWindow::keepMinimumSize(WINDOWPOS& position) const {
    if (position.flags & SWP_NOSIZE) return;
    position.cx = isButton::enlarged(position.cx, TwipsPerPixel(LOGPIXELSX));
    position.cy = isButton::enlarged(position.cy, TwipsPerPixel(LOGPIXELSY));
}

LRESULT ButtonWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND window = hwnd_;
    try {
        switch (message) {
        case WM_ERASEBKGND: return TRUE;
        case WM_NCPAINT:
            if (FrameDrawsNothing(hwnd_)) return 0;
            break;
        case WM_PAINT: return PaintNow(hwnd_, [this](HDC dc) { paint(dc); });
        case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_WINDOWPOSCHANGING: keepMinimumSize(*reinterpret_cast<WINDOWPOS*>(lParam)); break;
        case WM_SIZE: layout(); return 0;
        case WM_ENABLE: InvalidateRect(hwnd_, nullptr, FALSE); return 0;
        case WM_THEMECHANGED:
            if (button_.Style() == 6 && !visualStyles_.open(hwnd_)) button_.visualStylesUnavailable();
            InvalidateRect(hwnd_, nullptr, FALSE);
            break;
        case WM_SYSCOLORCHANGE: InvalidateRect(hwnd_, nullptr, FALSE); break;
        case WM_DESTROY: tooltip_.destroy(); break;
        default:
            if (const auto handled = handleInput(message, wParam, lParam)) return *handled;
            break;
        }
    } catch (...) {
        // Nothing may leave a window procedure; a failed click handler is dropped.
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::optional<LRESULT> ButtonWindow::handleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: apply(button_.mouseMove(trackMouseEvent_ != nullptr)); return 0;
    case WM_MOUSELEAVE: apply(button_.mouseLeave()); return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        apply(button_.mouseDown(MouseButton::Left));
        return 0;
    case WM_LBUTTONDBLCLK:
        SetCapture(hwnd_);
        apply(button_.doubleClick());
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == hwnd_) ReleaseCapture();
        RECT client{};
        GetClientRect(hwnd_, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        apply(button_.mouseUp(MouseButton::Left, PtInRect(&client, at) != FALSE));
        return 0;
    }
    case WM_GETDLGCODE: {
        // Enter is the focused button's own key, not the dialog's default one.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const bool enter = key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN;
        return enter ? DLGC_WANTMESSAGE : 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (!(lParam & (1 << 30))) apply(button_.enterDown());  // not again while the key is held
            return 0;
        }
        if (wParam != VK_SPACE) return std::nullopt;
        apply(button_.spaceDown());
        return 0;
    case WM_CHAR:
        if (wParam == L'\r') return 0;
        if (wParam != L' ') return std::nullopt;
        apply(button_.spacePress());
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE) return std::nullopt;
        apply(button_.spaceUp());
        return 0;
    case WM_SETFOCUS: apply(button_.focusChanged(true)); return 0;
    case WM_KILLFOCUS: apply(button_.focusChanged(false)); return 0;
    default: return std::nullopt;
    }
}

void ButtonWindow::apply(const ButtonReaction& reaction) {
    if (reaction.trackLeave && trackMouseEvent_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        trackMouseEvent_(&track);
    }
    if (reaction.createTooltip) tooltip_.recreate(hwnd_, button_);
    if (reaction.repaint) InvalidateRect(hwnd_, nullptr, FALSE);
    if (reaction.click && onClick_) {
        // The handler may destroy this object: it runs on a copy, and nothing follows it.
        const std::function<void()> onClick = onClick_;
        onClick();
    }
}

int ButtonWindow::themedState() const {
    if (button_.drawnState() == ButtonState::Normal && button_.hasFocus()) return 5;
    return static_cast<int>(button_.drawnState());
}

void ButtonWindow::paint(HDC target) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const Win32SystemColors system;
    const Canvas canvas = button_.drawLook(client.right, client.bottom, system);
    DibSurface surface(target, canvas);
    if (!surface.ready()) return;
    if (button_.Style() == 6) visualStyles_.drawPushButton(surface.dc(), client, themedState());

    std::wstring caption = quillon::win32::Widen(button_.Caption());
    // The cue is the system's own underline under the letter; without it the caption is drawn as ever.
    const std::size_t key = accessKey_ ? caption.find(accessKey_) : std::wstring::npos;
    if (accessKeyShown_ && key != std::wstring::npos) caption.insert(key, 1, L'&');
    int textLeft = 0, textRight = 0;  // the columns the caption's text covers, its leading blanks left out
    {
        const Selection font(surface.dc(), font_.get());
        const std::wstring plain = quillon::win32::Widen(button_.Caption());
        SIZE size{}, blanks{};
        GetTextExtentPoint32W(surface.dc(), plain.c_str(), static_cast<int>(plain.size()), &size);
        const std::size_t lead = std::min(plain.find_first_not_of(L' '), plain.size());
        GetTextExtentPoint32W(surface.dc(), plain.c_str(), static_cast<int>(lead), &blanks);
        const PixelRect text = button_.captionRect(client.right, client.bottom, size.cx);
        RECT textRect{text.left, text.top, text.right, text.bottom};
        const UINT format = TextFormat(button_.CaptionAlign());
        textLeft = format & DT_RIGHT    ? text.right - size.cx
                   : format & DT_CENTER ? (text.left + text.right - size.cx) / 2
                                        : text.left;
        textRight = textLeft + size.cx;
        textLeft += blanks.cx;
        SetBkMode(surface.dc(), TRANSPARENT);
        SetTextColor(surface.dc(), button_.captionColor(system));
        DrawTextW(surface.dc(), caption.c_str(), static_cast<int>(caption.size()), &textRect, format);
    }
    if (button_.IconVisible() && button_.Icon().kind == ButtonIcon::Kind::Artwork)
        surface.drawOver([this](Canvas& over) { button_.drawIcon(over); });
    if (icon_ && button_.IconVisible() && button_.Icon().kind == ButtonIcon::Kind::External) {
        const PixelPoint at = button_.iconPosition(client.right, client.bottom);
        DrawIconEx(surface.dc(), at.x, at.y, icon_, button_.IconSize(), button_.IconSize(), 0, nullptr, DI_NORMAL);
    }
    // A focused push button shows the dotted frame inside its edge, as the system's own buttons do.
    if (button_.hasFocus() && button_.Enabled()) {
        const PixelRect focus = button_.focusRect(client.right, client.bottom, textLeft, textRight);
        RECT frame{focus.left, focus.top, focus.right, focus.bottom};
        SetTextColor(surface.dc(), RGB(0, 0, 0));
        SetBkColor(surface.dc(), RGB(255, 255, 255));
        DrawFocusRect(surface.dc(), &frame);
    }
    surface.blitTo(target);
}

}  // namespace quillon::controls::win32
