#pragma once
// The mouse-leave notification service, found by name: TrackMouseEvent in
// user32, or else _TrackMouseEvent in comctl32.
#include <windows.h>

namespace quillon::controls::win32 {

using TrackMouseEventFunction = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// Null when the platform has neither.
TrackMouseEventFunction FindTrackMouseEvent();

}  // namespace quillon::controls::win32
