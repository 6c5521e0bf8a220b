#include "restore/RecordCheck.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "engine/Phases.h"
#include "engine/SystemSteps.h"
#include "planning/Plan.h"
#include "effects/EffectTarget.h"
#include "effects/RegScript.h"
#include "effects/Scratch.h"
#include "engine/SelectionForm.h"
#include "record/RecordStore.h"
#include "record/UndoRecordWriter.h"
#include "platform/DevicePath.h"
#include "platform/ForwardingPlatform.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "startup/StartupPlaces.h"
#include "effects/ChangeWords.h"

namespace quillon {
namespace {

// The machine as if every key, file and folder a step looks for were there,
// so that planning shows every target a step could ever reach.
class EverythingThere : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    bool registryKeyExists(const std::string&) override { return true; }
    bool directoryExists(const std::string&) override { return true; }
    bool visibleFileExists(const std::string& path) override { return !IsScratchFile(path); }
    bool anyFileExists(const std::string& path) override { return !IsScratchFile(path); }
};

std::string Slot(const std::string& key, const std::string& name) { return Lower(key) + '\n' + Lower(name); }

struct Reach {
    std::vector<std::string> trees;        // keys and everything below them: a step removes or copies them whole
    std::set<std::string> values;          // values a step writes or deletes, by Slot
    std::set<std::string> keys;            // keys a step makes, lower case
    std::vector<std::string> targets;      // every key above, for the keys a run makes on the way
    std::vector<std::string> runKeys;      // any value directly in them: the startup entries
    std::set<std::string> services;        // service keys, lower case: their Start value only
    std::set<std::string> files;           // files a step deletes, lower case
    std::vector<std::string> fileFolders;  // folders whose files a step deletes
    std::set<std::string> folders;         // folders a step removes, lower case
};

Reach WhatARunReaches(Platform& machine, const std::string& user) {
    Reach reach;
    for (const RunKey& key : kRunKeys) reach.runKeys.push_back(key.fullPath), reach.targets.push_back(key.fullPath);
    if (machine.wow64()) reach.runKeys.push_back(kWow32RunKey.fullPath), reach.targets.push_back(kWow32RunKey.fullPath);
    reach.fileFolders = StartupFolders(machine, user);
    if (const std::string menu = machine.shellFolder(ShellFolder::CommonStartMenu); !menu.empty())
        reach.fileFolders.push_back(menu);
    EverythingThere everywhere(machine);
    for (bool ticked : {true, false}) {
        SelectionForm form;
        form.tickEverything(ticked);
        form.setTxtPath("C:\\");
        for (const PlannedEffect& p : PlanRun(form, everywhere, user, RunOrder())) {
            const EffectTarget t = TargetOf(p.effect);
            switch (t.kind) {
            case TargetKind::Value:
                if (!ServiceOfStartValue(t.path, t.name).empty()) {
                    reach.services.insert(Lower(t.path));
                } else {
                    reach.values.insert(Slot(t.path, t.name));
                    reach.targets.push_back(t.path);
                }
                break;
            case TargetKind::Key:
                // A tool may give the key it makes an empty default value.
                reach.keys.insert(Lower(t.path));
                reach.values.insert(Slot(t.path, ""));
                reach.targets.push_back(t.path);
                break;
            case TargetKind::Tree:
                reach.trees.push_back(t.path);
                reach.targets.push_back(t.path);
                break;
            case TargetKind::File: reach.files.insert(Lower(t.path)); break;
            case TargetKind::Folder: reach.folders.insert(Lower(t.path)); break;
            case TargetKind::Tool: break;
            }
        }
    }
    return reach;
}

// A name a restore can make as itself: no device (CON, NUL.txt), nothing
// Windows refuses in a name. A trailing dot or blank is a real Startup
// entry's name and is put back exactly.
bool RestorableFileName(const std::string& name) {
    return IsPlainFileName(name) && !IsDevicePath(name) && name.find_first_of("<>|\"") == std::string::npos &&
           std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Whether the record says the run made `key` on its way to a key it writes:
// nothing below it was there before the run, and the run left something.
bool MadeOnTheWay(const std::string& key, const std::vector<StateLine>& lines) {
    bool wrote = false;
    for (const StateLine& line : lines) {
        if (line.kind != StateKind::Value && line.kind != StateKind::Key && line.kind != StateKind::Tree) continue;
        if (!KeyWithin(line.target, key) || line.target.size() == key.size()) continue;
        if (line.after) wrote = true;
        // A value's line says its key was there; a key's, when present.
        else if (line.kind != StateKind::Key || line.present) return false;
    }
    return wrote;
}

bool NamedAtOrBelow(const std::string& key, const std::vector<StateLine>& lines) {
    for (const StateLine& line : lines)
        if ((line.kind == StateKind::Value || line.kind == StateKind::Key || line.kind == StateKind::Tree) &&
            KeyWithin(line.target, key))
            return true;
    return false;
}

class Checker {
public:
    Checker(Platform& machine, const RecordHeader& header, const std::string& user)
        : machine_(machine), reach_(WhatARunReaches(machine, header.user)), header_(header), user_(user) {}

    void key(const std::string& key, const std::string* valueName, const std::string& entry) const {
        named(key, valueName, entry);
        if (reach_.services.count(Lower(key))) {
            if (valueName && EqualNoCase(*valueName, "Start")) return;
            refuse(entry);
        }
        // Down to the value name: what is below a key a run writes is not the run's.
        if (within(key)) return;
        if (valueName) {
            if (valueWithin(key, *valueName)) return;
            refuse(entry);
        }
        if (reach_.keys.count(Lower(key)) || isTarget(key)) return;
        refuse(entry);
    }

    // A key line names exactly a key a step makes or deletes: one a step
    // makes, writes values in, removes or copies whole, or one inside such a
    // tree; a run's tree line, a tree a step removes or copies. Above those,
    // only what a run or a restore could write of a key the run made on its
    // way down: absent before, where the rest of the record agrees (nothing
    // below it kept as it was, since a missing tree holds nothing, and the
    // run left something there); and in a restore's record, such a key
    // listed and removed whole, as a restore removes the keys a run made.
    // Anything else above, beside or below refuses the record.
    void keyLine(const StateLine& line, const std::vector<StateLine>& lines, const std::string& entry) const {
        named(line.target, nullptr, entry);
        const bool made = !line.after && !line.present && line.kind == StateKind::Key;
        if (line.kind == StateKind::Tree && !header_.restore) {
            if (!isTree(line.target)) refuse(entry);
            return;
        }
        if (exact(line.target)) return key(line.target, nullptr, entry);
        if (!above(line.target)) refuse(entry);
        if (made ? MadeOnTheWay(line.target, lines) : header_.restore && !(line.after && line.present)) return;
        refuse(entry);
    }

    // A key the record's script makes again empty or removes whole.
    void wholeKey(const Effect& e, const std::vector<StateLine>& lines, const std::string& entry) const {
        named(e.target, nullptr, entry);
        if (exact(e.target)) return key(e.target, nullptr, entry);
        if (!above(e.target)) refuse(entry);
        if (header_.restore) return;
        // A run's script removes a key above only where the run made it. The
        // script is written just before state.txt: a run cut off between the
        // two has a removal state.txt does not name, of a key still missing.
        if (e.kind == EffectKind::DeleteKey &&
            (MadeOnTheWay(e.target, lines) ||
             (!NamedAtOrBelow(e.target, lines) && !machine_.registryKeyExists(e.target))))
            return;
        refuse(entry);
    }

    void file(const std::string& path, const std::string& entry) const {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (path.find('\\') == std::string::npos || !RestorableFileName(name)) refuse(entry);
        // The per-user Startup folder is the user's own, as HKEY_CURRENT_USER is.
        const std::vector<std::string> own = StartupFolders(machine_, header_.user);
        if (!EqualNoCase(header_.user, user_) && own.size() > 1 && EqualNoCase(ParentPath(path), own.front()))
            throw RecordRefused("the record holds files of the user " + header_.user + ", not of " + user_ + ": " +
                                entry);
        if (reach_.files.count(Lower(path))) return;
        // The common Start menu loses its shortcuts only; a Startup folder any entry.
        const std::string menu = machine_.shellFolder(ShellFolder::CommonStartMenu);
        if (!menu.empty() && EqualNoCase(ParentPath(path), menu)) {
            if (WildcardMatch("*.lnk", name)) return;
            refuse(entry);
        }
        for (const std::string& folder : reach_.fileFolders)
            if (EqualNoCase(ParentPath(path), folder)) return;
        refuse(entry);
    }

    // The folders a step removes, and those a restore makes again to put a file back in.
    void folder(const std::string& path, const std::string& entry) const {
        if (reach_.folders.count(Lower(path))) return;
        for (const std::string& folder : reach_.fileFolders)
            if (EqualNoCase(path, folder)) return;
        refuse(entry);
    }

    // A name the record could only hold by hand, or one of another user's settings.
    void named(const std::string& key, const std::string* valueName, const std::string& entry) const {
        if (NormalisedKey(key) != key || !ScriptCarries(key) || key.find(']') != std::string::npos ||
            (valueName && !ScriptCarries(*valueName)))
            refuse(entry);
        if (KeyRoot(key) == "HKEY_CURRENT_USER" && !EqualNoCase(header_.user, user_))
            throw RecordRefused("the record holds settings of the user " + header_.user + ", not of " + user_ +
                                ": " + entry);
    }

    [[noreturn]] static void refuse(const std::string& entry) {
        throw RecordRefused("the record reaches outside what a run of this program touches: " + entry);
    }

private:
    bool within(const std::string& key) const {
        for (const std::string& tree : reach_.trees)
            if (KeyWithin(key, tree)) return true;
        return false;
    }
    bool valueWithin(const std::string& key, const std::string& name) const {
        if (reach_.values.count(Slot(key, name))) return true;
        for (const std::string& run : reach_.runKeys)
            if (EqualNoCase(key, run)) return true;
        return false;
    }
    // A key a step makes, writes values in, removes or copies whole, or one inside such a tree.
    bool exact(const std::string& key) const {
        return reach_.services.count(Lower(key)) || within(key) || reach_.keys.count(Lower(key)) || isTarget(key);
    }
    bool isTree(const std::string& key) const {
        for (const std::string& tree : reach_.trees)
            if (EqualNoCase(tree, key)) return true;
        return false;
    }
    // A key whose values a step writes, makes or removes whole.
    bool isTarget(const std::string& key) const {
        for (const std::string& target : reach_.targets)
            if (EqualNoCase(target, key)) return true;
        return false;
    }
    bool above(const std::string& key) const {  // a key above one a step writes
        for (const std::string& target : reach_.targets)
            if (KeyWithin(target, key)) return true;
        return false;
    }

    Platform& machine_;
    Reach reach_;
    const RecordHeader& header_;
    const std::string& user_;
};

// A forged record's control characters never reach the terminal as they are.
std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            shown += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        shown += escaped;
    }
    return shown;
}

// A line as a person reads it: the target and what it held, never the
// record's own encoding of a value (hex of its bytes).
std::string Shown(const StateLine& line) {
    const std::string name =
        line.kind == StateKind::Value ? "\\" + (line.name.empty() ? std::string("(Default)") : line.name) : "";
    const TargetState state = line.kind == StateKind::Value ? ValueState(line.value) : Presence(line.present);
    return std::string(line.after ? "after the run: " : "before the run: ") +
           Printable(line.target + name) + ": " + DescribeState(state) +
           (line.copy.empty() ? "" : ", kept as " + Printable(line.copy));
}

// A copy's place: files\NAME, one plain name, no way out of the folder.
bool OwnCopy(const std::string& copy, const std::vector<std::string>& copies) {
    const std::string prefix = std::string(kKeptFiles) + "\\";
    if (copy.rfind(prefix, 0) != 0) return false;
    const std::string name = copy.substr(prefix.size());
    if (!IsPlainFileName(name)) return false;
    for (const std::string& c : copies)
        if (c == name) return true;
    return false;
}

}  // namespace

void CheckRecord(Platform& machine, const RecordContents& record, const RecordHeader& header,
                 const std::string& computer, const std::string& user) {
    if (!EqualNoCase(header.computer, computer))
        throw RecordRefused("the record was made on the computer " + header.computer + ", not on " + computer);
    // A record names its keys as its own Windows has them: on the other kind they are other keys.
    if (header.wow64 != machine.wow64())
        throw RecordRefused(std::string("the record was made on ") + (header.wow64 ? "64" : "32") +
                            "-bit Windows, and this Windows is " + (machine.wow64() ? "64" : "32") + "-bit");
    // No run has happened after now: such a record was made by hand, to be taken before the user's own.
    if (DatedAfterNow(header, machine.localTime()))
        throw RecordRefused("the record is dated " + RecordTimeText(header.time) + ", after now");
    const Checker check(machine, header, user);
    for (const StateLine& line : record.lines) {
        const std::string entry = std::string(kStateFile) + ": " + Shown(line);
        switch (line.kind) {
        case StateKind::Value: check.key(line.target, &line.name, entry); break;
        case StateKind::Key:
        case StateKind::Tree: check.keyLine(line, record.lines, entry); break;
        case StateKind::File:
            check.file(line.target, entry);
            if (!line.after && !line.copy.empty() && !OwnCopy(line.copy, record.copies)) Checker::refuse(entry);
            break;
        case StateKind::Folder: check.folder(line.target, entry); break;
        case StateKind::Tool:
        case StateKind::Ended: break;
        case StateKind::Change:
        case StateKind::Failed: break;  // name what a change was, for counting and showing; never acted on
        }
    }
    for (const Effect& e : record.script) {
        const std::string entry = std::string(kUndoScript) + ": " + DescribeEffect(e);
        if (e.kind == EffectKind::SetValue || e.kind == EffectKind::DeleteValue) check.key(e.target, &e.name, entry);
        else check.wholeKey(e, record.lines, entry);
    }
}

}  // namespace quillon
