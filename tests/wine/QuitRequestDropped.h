#pragma once
// Closing frmMain ends the program: its quit request must not reach the event
// pumps of the tests that follow.
#include <windows.h>

namespace quillon::test {

struct QuitRequestDropped {
    ~QuitRequestDropped() {
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

}  // namespace quillon::test
