#pragma once
// Quillon's own pictures, drawn by code: a 32 by 32 icon for each command and
// page button, the panel header's 16 by 16 star and the 32 by 32 window icon.
#include "controls/Image.h"

namespace quillon::controls {

enum class Artwork {
    AutoOptimize,  // disc with a green arrow
    System,        // monitor with a disc
    Security,      // person with a pin
    Startup,       // four-colour flag
    Speed,         // lightning bolt
    Services,      // two green arrows
    Recommend,     // green triangle
    Reset,         // curved blue arrow
    Optimize,      // folder with blocks
    Exit,          // green circle with an arrow
    Star,          // 16 by 16
    Gears,         // the window icon: a pair of gears
};

Image MakeArtwork(Artwork which);

}  // namespace quillon::controls
