#pragma once
#include <windows.h>

#include "controls/Color.h"

namespace quillon::controls::win32 {

// The colours the user's display scheme has now.
class Win32SystemColors final : public SystemColors {
public:
    OleColor rgb(int index) const override { return GetSysColor(index); }
};

}  // namespace quillon::controls::win32
