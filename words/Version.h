#pragma once
// The version shown in the banner and stamped into the executable's resources.
// Plain macros, so the resource compiler reads this file too.
#define QUILLON_VERSION_MAJOR 1
#define QUILLON_VERSION_MINOR 0
#define QUILLON_VERSION_PATCH 0
#define QUILLON_VERSION_TEXT "1.0.0"
#define QUILLON_VERSION_SHORT "1.0"
#define QUILLON_WIDEN2(text) L##text
#define QUILLON_WIDEN(text) QUILLON_WIDEN2(text)
#define QUILLON_VERSION_WIDE QUILLON_WIDEN(QUILLON_VERSION_SHORT)
