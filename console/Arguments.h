#pragma once
// The console tool's command line: a verb, then options, in the manner of the
// system's own console tools. Verbs and options are case-insensitive; options
// begin with '/' or '-'.
#include <optional>
#include <set>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "engine/Form.h"

namespace quillon::console {

enum class Verb { List, Status, Preview, Apply, Undo, Check, Export, Version, Usage };

// The boxes /on and /off name: check boxes by number, Services entries by place.
struct ListedBoxes {
    std::set<int> onBoxes, offBoxes;
    std::set<int> onEntries, offEntries;
    // Whether a step tagged so belongs to a listed box or entry.
    bool names(int box) const { return onBoxes.contains(box) || offBoxes.contains(box); }
    bool namesEntry(int entry) const { return onEntries.contains(entry) || offEntries.contains(entry); }
};

struct Request {
    Verb verb = Verb::Usage;
    std::vector<Page> pages;                   // as given, no repeats; empty: the verb's default
    std::optional<std::string> selectionFile;  // PREVIEW, APPLY, CHECK, EXPORT
    std::optional<ListedBoxes> listed;         // /on and /off (PREVIEW, APPLY, CHECK)
    bool noUndo = false;                       // APPLY
    bool force = false;                        // EXPORT: replace an existing file
    std::optional<int> waitSeconds;            // APPLY, UNDO: how long to wait for another run
    std::optional<std::string> undoFolder;     // UNDO
    std::optional<std::string> undoRoot;       // APPLY and UNDO: /undodir, where records live
    bool listRecords = false;                  // UNDO /list
    std::optional<std::string> reportFile;     // CHECK, APPLY, UNDO, STATUS: the fleet's CSV report to add to
};

struct UsageError {
    std::string message;  // one line, no program name
};

// The arguments after the program's name.
std::variant<Request, UsageError> ParseArguments(std::span<const std::string> arguments);

// "System", "Security", "Services", "Speed" (any case), as a selection file holds them.
std::optional<Page> PageNamed(const std::string& name);


// The pages a verb covers when no /page is given.
std::vector<Page> DefaultPages(Verb verb);

}  // namespace quillon::console
