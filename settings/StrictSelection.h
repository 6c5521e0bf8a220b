#pragma once
// A selection file read for a run nobody watches: every field is checked
// before anything is used, so a file that is wrong anywhere is refused whole.
// The window keeps its forgiving loader (SelectionFile.h); both read the
// file by SelectionReading.h.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/Form.h"
#include "settings/SelectionReading.h"

namespace quillon {

class Platform;

using StrictSelection = std::variant<SavedSelection, SelectionProblem>;

StrictSelection ParseSelectionStrict(const std::vector<std::string>& lines);

// Why a selection file cannot be at `path` at all (a device, a pipe, a
// folder); nothing when an ordinary file may be read or written there.
std::optional<SelectionProblem> SelectionPlaceProblem(Platform& platform, const std::string& path);

// Reads and checks the file; an unreadable file is a problem on line 0.
StrictSelection ReadSelectionStrict(Platform& platform, const std::string& path);

// The lines of a file read for a run: a device, a folder, a missing or
// unreadable file is a problem on line 0.
std::variant<std::vector<std::string>, SelectionProblem> ReadLinesStrict(Platform& platform, const std::string& path);

// Sets every control the file holds, clearing list entries it leaves unmarked.
void PutSelection(Form& form, const SavedSelection& selection);

}  // namespace quillon
