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
};

}  // namespace quillon
