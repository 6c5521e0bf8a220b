#pragma once
// Reads a whole undo record, every file of it, before anything is done with it.
#include <string>
#include <vector>

#include "effects/Effect.h"
#include "record/RecordLines.h"
#include "platform/Platform.h"

namespace quillon {

// The record is refused whole; the text names the first offending entry.
class RecordRefused : public PlatformError {
public:
    using PlatformError::PlatformError;
};

struct RecordContents {
    std::vector<StateLine> lines;      // state.txt, a line cut off at its end left out
    std::vector<Effect> script;        // what undo.reg would do, imported by hand
    std::vector<std::string> copies;   // the names in its files\ folder
};

// Reads every file of the record. Throws RecordRefused when one is damaged.
RecordContents ReadRecord(Platform& machine, const std::string& folder);

}  // namespace quillon
