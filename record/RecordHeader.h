#pragma once
// Who made an undo record, when, and in what order: its header file.
#include <string>

#include "platform/Platform.h"

namespace quillon {

struct RecordHeader {
    std::string computer;
    std::string user;
    LocalTime time;
    long long sequence = 0;
    bool restore = false;  // the record of an undo, not of a run
    // Made on 64-bit Windows: every key in it is a native path, those of the
    // 32-bit view below HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node. Records of
    // 32-bit Windows (and all made before) say nothing of it.
    bool wow64 = false;
};

}  // namespace quillon
