#pragma once
// The push button as a Win32 child window.
//
//   ButtonOptions options;
//   options.caption = "           Optimize";      // UTF-8; setCaption(std::wstring_view) also exists
//   options.font = {"Arial", 9, false};           // the button makes its own font from this
//   options.artwork = Artwork::Optimize;          // or options.icon = someHicon (the caller keeps it alive)
//   options.onClick = [this] { OnOptimize(); };
//   auto optimize = ButtonWindow::create(rootPanel->hwnd(), {260, 436, 381, 477}, options);
//   optimize->setEnabled(false);
//
// Defaults are those of the main window's buttons: Style 5, IconSize 32,
// IconAlign 1, enabled. Rectangles are in pixels of the parent's client area;
// a size under 300 twips is enlarged to it. Click handlers run last in the
// message, so they may do anything, even destroy the button. The object owns
// the window; if the parent destroys it first, the object forgets the handle.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "controls/isButton.h"
#include "controls/win32/ButtonTooltip.h"
#include "controls/win32/Gdi.h"
#include "controls/win32/WindowProcedure.h"
#include "controls/win32/MouseTracking.h"
#include "controls/win32/VisualStyles.h"

namespace quillon::controls::win32 {

struct ButtonOptions {
    std::string caption;                            // UTF-8
    FontChoice font{"Arial", 9, true};
    std::optional<Artwork> artwork;                 // Quillon's own picture
    HICON icon = nullptr;                           // or any icon; not owned
    int style = 5;
    int iconSize = 32;
    Align iconAlign = Align::Left;
    bool iconVisible = true;
    bool enabled = true;
    wchar_t accessKey = 0;  // the caption's letter Alt presses it with; underlined while Alt is held
    std::function<void()> onClick;
};

class ButtonWindow {
public:
    // Throws std::runtime_error when the window cannot be made.
    static std::unique_ptr<ButtonWindow> create(HWND parent, const RECT& bounds, ButtonOptions options);
    ButtonWindow(const ButtonWindow&) = delete;
    ButtonWindow& operator=(const ButtonWindow&) = delete;
    ~ButtonWindow();

    HWND hwnd() const { return hwnd_; }
    // Property access; every write repaints (and re-lays out) the button.
    isButton& button() { return button_; }
    const isButton& button() const { return button_; }

    void setEnabled(bool enabled) { button_.setEnabled(enabled); }
    bool enabled() const { return button_.Enabled(); }
    void setCaption(std::string_view utf8) { button_.setCaption(std::string(utf8)); }
    void setCaption(std::wstring_view text);
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    wchar_t accessKey() const { return accessKey_; }
    // The keyboard cue: the access key's letter underlined or not.
    void showAccessKey(bool shown);

private:
    ButtonWindow() = default;
    template <typename Owner>
    friend LRESULT CALLBACK WindowTrampoline(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    std::optional<LRESULT> handleInput(UINT message, WPARAM wParam, LPARAM lParam);
    void apply(const ButtonReaction& reaction);
    void propertyChanged(std::string_view property, bool layout);
    void layout();
    void keepMinimumSize(WINDOWPOS& position) const;
    void paint(HDC target);
    int themedState() const;

    HWND hwnd_ = nullptr;
    isButton button_;
    HICON icon_ = nullptr;
    UniqueFont font_;
    wchar_t accessKey_ = 0;
    bool accessKeyShown_ = false;
    TrackMouseEventFunction trackMouseEvent_ = nullptr;
    VisualStyles visualStyles_;
    ButtonTooltip tooltip_;
    std::function<void()> onClick_;
    // The shape last given to the window, so an unchanged one is not set again.
    ButtonRegion shape_;
    SIZE shapeSize_{-1, -1};
};

}  // namespace quillon::controls::win32
