#pragma once
// Registers a control's window class once per process.
#include <windows.h>

namespace quillon::controls::win32 {

// Returns false only when the class is neither registered now nor before.
bool RegisterControlClass(const wchar_t* name, WNDPROC procedure, UINT style);

}  // namespace quillon::controls::win32
