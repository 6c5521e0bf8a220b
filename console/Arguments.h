#pragma once
// The console tool's command line: a verb, then options, in the manner of the
// system's own console tools. Verbs and options are case-insensitive; options
// begin with '/' or '-'.
#include <array>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "effects/TargetScope.h"
#include "engine/Form.h"

namespace quillon::console {

enum class Verb { List, Status, Preview, Apply, Undo, Check, Export, Summary, Version, Usage };

// The boxes /on and /off or a /boxes file name: check boxes by number,
// Services entries by place; and, from a file, the controls that are not
// boxes with their value. Whatever is not named is left as it is.
struct ListedBoxes {
    std::set<int> onBoxes, offBoxes;
    std::set<int> onEntries, offEntries;
    std::optional<int> prefetch, priority, option;  // Combo2, Combo3, Opt: the entry or option chosen
    std::optional<std::string> downloadPath;        // txtPath
    std::optional<std::array<bool, kDriveCount>> hide, deny;  // lstHide, lstNot
    // Whether a step tagged so belongs to a listed box or entry.
    bool names(int box) const { return onBoxes.contains(box) || offBoxes.contains(box); }
    bool namesEntry(int entry) const { return onEntries.contains(entry) || offEntries.contains(entry); }
    // Whether a step of no box that reads `control` is named (Combo3 and Opt
    // are read by boxes 56 and 75 only, so they run with those).
    bool namesControl(std::string_view control) const {
        return (control == "Combo2" && prefetch) || (control == "txtPath" && downloadPath) ||
               (control == "lstHide" && hide) || (control == "lstNot" && deny);
    }
    bool empty() const;
};

struct Request {
    Verb verb = Verb::Usage;
    std::vector<Page> pages;                   // as given, no repeats; empty: the verb's default
    std::optional<std::string> selectionFile;  // PREVIEW, APPLY, CHECK, EXPORT
    std::optional<ListedBoxes> listed;         // /on and /off (PREVIEW, APPLY, CHECK), or the /boxes file read
    std::optional<std::string> boxesFile;      // PREVIEW, APPLY, CHECK, EXPORT: /boxes
    bool noUndo = false;                       // APPLY
    bool force = false;                        // EXPORT: replace an existing file
    std::optional<int> waitSeconds;            // APPLY, UNDO: how long to wait for another run
    std::optional<std::string> undoFolder;     // UNDO
    std::optional<std::string> fleetFolder;    // SUMMARY: the report folder
    std::optional<std::string> undoRoot;       // APPLY and UNDO: /undodir, where records live
    bool listRecords = false;                  // UNDO /list
    std::optional<TargetScope> scope;          // PREVIEW, CHECK, APPLY, EXPORT, UNDO: /scope machine or user
    bool showRecord = false;                   // UNDO /show FOLDER
    std::optional<std::string> reportFile;     // CHECK, APPLY, UNDO, STATUS: the fleet's CSV report to add to
    std::optional<std::string> computer, user;  // UNDO /list: only the records of that computer, that user
    bool json = false;                         // CHECK, APPLY, UNDO, SUMMARY: one JSON document instead of the tab lines
};

struct UsageError {
    std::string message;  // one line, no program name
};

// The arguments after the program's name.
std::variant<Request, UsageError> ParseArguments(std::span<const std::string> arguments);

// "System", "Security", "Services", "Speed" (any case), as a selection file holds them.
std::optional<Page> PageNamed(const std::string& name);


// Adds one box number or Services entry name to one side; the message when
// it is neither, or a box of the Startup page.
std::optional<std::string> AddListedItem(ListedBoxes& listed, bool on, const std::string& item);

// Both sides at once, or a page /page leaves out: the message. Otherwise adds
// the pages of the named boxes and controls to `pages` when none were given.
std::optional<std::string> CheckListed(const ListedBoxes& listed, std::vector<Page>& pages);

// No part of the path ends in a dot or a blank (Windows would drop them).
bool PlainPath(const std::string& path);

// The pages a verb covers when no /page is given.
std::vector<Page> DefaultPages(Verb verb);

}  // namespace quillon::console
