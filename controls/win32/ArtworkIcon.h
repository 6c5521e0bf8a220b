#pragma once
// Quillon's artwork as icon handles, e.g. the gear pair for the main window
// (WM_SETICON) or a button picture made elsewhere.
#include "controls/Artwork.h"
#include "controls/win32/Gdi.h"

namespace quillon::controls::win32 {

UniqueIcon MakeArtworkIcon(Artwork which, int size);

}  // namespace quillon::controls::win32
