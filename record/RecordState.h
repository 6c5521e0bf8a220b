#pragma once
// The targets of an undo record, each with what it held before the run and
// what the run left there, worked out from the record's state lines.
#include <optional>
#include <string>
#include <vector>

#include "record/RecordLines.h"

namespace quillon {

class Platform;

struct ValueTarget {
    std::string key, name;
    std::optional<RegValue> before;
    std::optional<std::optional<RegValue>> after;  // nothing: the run's result is not known
    bool uncertain = false;  // its last change was a tool's whose end the record never saw
};
struct KeyTarget {
    std::string key;
    bool before = true;
    std::optional<bool> after;
};
struct FileTarget {
    std::string path;
    bool before = false;
    std::string copy;  // the kept copy, inside the record; empty when not kept
    std::optional<bool> after;
    std::string digest;  // what a file the run made held
};
struct FolderTarget {
    std::string path;
    bool before = false;
    std::optional<bool> after;
};

struct RecordState {
    std::vector<ValueTarget> values;
    std::vector<KeyTarget> keys;  // keys the run made or removed
    std::vector<FileTarget> files;
    std::vector<FolderTarget> folders;
};

RecordState BuildRecordState(const std::vector<StateLine>& lines);

// Whether the machine holds again what every target held before the run.
// `recordFolder` is where the kept copies are.
bool MachineAsBefore(Platform& machine, const RecordState& state, const std::string& recordFolder);

}  // namespace quillon
