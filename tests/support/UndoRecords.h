#pragma once
// Paths of the undo records in the machine's own place for them, newest first.
#include <string>
#include <vector>

#include "record/RecordStore.h"

namespace quillon::test {

inline std::vector<std::string> UndoRecords(Platform& machine) {
    std::vector<std::string> paths;
    for (const StoredRecord& record : ListRecords(machine, DefaultUndoRoot(machine))) paths.push_back(record.folder);
    return paths;
}

}  // namespace quillon::test
