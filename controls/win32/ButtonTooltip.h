#pragma once
// The tooltip window of a button, made anew on each mouse entry.
#include <windows.h>

#include "controls/isButton.h"

namespace quillon::controls::win32 {

class ButtonTooltip {
public:
    ButtonTooltip() = default;
    ButtonTooltip(const ButtonTooltip&) = delete;
    ButtonTooltip& operator=(const ButtonTooltip&) = delete;
    ~ButtonTooltip() { destroy(); }

    // Replaces any previous tooltip with one covering the button's client area.
    void recreate(HWND button, const isButton& properties);
    void destroy();
    HWND hwnd() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace quillon::controls::win32
