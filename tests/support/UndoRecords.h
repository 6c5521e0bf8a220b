#pragma once
// Paths of the undo records in the machine's own place for them, newest first,
// and a run's stack that writes one.
#include <string>
#include <utility>
#include <vector>

#include "engine/RunStack.h"
#include "record/Journal.h"
#include "record/RecordStore.h"

namespace quillon::test {

// A run's stack with the undo record's journal at its ground, as a recorded run has.
struct JournalStack {
    JournalStack(Platform& machine, std::string root)
        : stack(machine), journal(stack.stack<JournalPlatform>(std::move(root))) {}
    explicit JournalStack(Platform& machine) : JournalStack(machine, DefaultUndoRoot(machine)) {}
    RunStack stack;
    JournalPlatform& journal;
};

inline std::vector<std::string> UndoRecords(Platform& machine) {
    std::vector<std::string> paths;
    for (const StoredRecord& record : ListRecords(machine, DefaultUndoRoot(machine))) paths.push_back(record.folder);
    return paths;
}

}  // namespace quillon::test
