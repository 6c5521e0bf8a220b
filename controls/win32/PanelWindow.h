#pragma once
// The gradient panel as a Win32 child window and a real container: create the
// controls that belong in it as its children and they move and hide with it.
// Notifications of its children (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, owner
// drawing, scrolling) are passed on to the panel's parent, so nested panels
// hand them up to the main window.
//
//   auto root = PanelWindow::create(mainWindow, {1, 1, 728, 494},
//                                   {.style = 0, .theme = 4, .caption = "  Quillon(System)"});
//   auto page = PanelWindow::create(root->hwnd(), {12, 78, 713, 429}, {.style = 1, .theme = 10});
//   CreateWindowExW(0, L"BUTTON", ..., WS_CHILD | ..., x, y, w, h, page->hwnd(), ...);
//   root->setCaption("  Quillon(Security)");
//   page->setVisible(false);
//
// Rectangles are in pixels of the parent's client area. The caption is drawn
// in Arial 9 pt bold, which the panel creates itself. The object owns the
// window: destroying it destroys the window (and its children); if the parent
// goes first, the object merely forgets the handle.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "controls/XPContainer.h"
#include "controls/win32/DibSurface.h"
#include "controls/win32/Gdi.h"
#include "controls/win32/WindowProcedure.h"

namespace quillon::controls::win32 {

struct PanelOptions {
    int style = 0;
    int theme = 0;
    std::string caption = "XPContainer";  // UTF-8
    bool visible = true;
};

class PanelWindow {
public:
    // Throws std::runtime_error when the window cannot be made.
    static std::unique_ptr<PanelWindow> create(HWND parent, const RECT& bounds, const PanelOptions& options);
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;
    ~PanelWindow();

    HWND hwnd() const { return hwnd_; }
    // Property access; every write repaints the panel.
    XPContainer& panel() { return panel_; }
    const XPContainer& panel() const { return panel_; }

    void setCaption(std::string_view utf8) { panel_.setCaption(std::string(utf8)); }
    void setVisible(bool visible);
    bool visible() const;
    void move(const RECT& bounds);

private:
    PanelWindow() = default;
    template <typename Owner>
    friend LRESULT CALLBACK WindowTrampoline(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void paint(HDC target);
    // Drawn once and kept until the panel changes: every label on the panel
    // repaints its background from it, so drawing it afresh each time is slow.
    const DibSurface* rendered(HDC reference);
    void forgetRendering();

    HWND hwnd_ = nullptr;
    XPContainer panel_;
    UniqueFont captionFont_;
    std::unique_ptr<DibSurface> rendering_;
};

}  // namespace quillon::controls::win32
