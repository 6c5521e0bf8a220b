#pragma once
// The tweak boxes drawn flat, as XP draws a BS_FLAT box and as the check
// lists draw theirs: Wine's button ignores BS_FLAT and draws a sunken box.
// The button keeps its own state and input; only its drawing is replaced.
#include <windows.h>

namespace quillon::win32 {

void MakeFlatCheckBox(HWND box);

}  // namespace quillon::win32
