#include "controls/win32/MouseTracking.h"

namespace quillon::controls::win32 {
namespace {

TrackMouseEventFunction Lookup(const wchar_t* module, const char* name) {
    // Both modules are already loaded by the program; nothing is loaded only to look.
    const HMODULE loaded = GetModuleHandleW(module);
    if (!loaded) return nullptr;
    const FARPROC found = GetProcAddress(loaded, name);
    return reinterpret_cast<TrackMouseEventFunction>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

TrackMouseEventFunction FindTrackMouseEvent() {
    if (const auto found = Lookup(L"user32.dll", "TrackMouseEvent")) return found;
    return Lookup(L"comctl32.dll", "_TrackMouseEvent");
}

}  // namespace quillon::controls::win32
