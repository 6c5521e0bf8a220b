#include "restore/RecordCheck.h"

#include <algorithm>
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

class Checker {
public:
    Checker(Platform& machine, const RecordHeader& header, const std::string& user)
        : machine_(machine), reach_(WhatARunReaches(machine, header.user)), header_(header), user_(user) {}

    // `whole`: a key named whole (made or removed with its tree), which may be
    // a parent of a key a step writes (the run made both): a restore removes
    // such a key only when nothing is left in it, and makes it only empty.
    void key(const std::string& key, const std::string* valueName, const std::string& entry, bool whole = false) const {
        if (NormalisedKey(key) != key || !ScriptCarries(key) || key.find(']') != std::string::npos ||
            (valueName && !ScriptCarries(*valueName)))
            refuse(entry);
        if (KeyRoot(key) == "HKEY_CURRENT_USER" && !EqualNoCase(header_.user, user_))
            throw RecordRefused("the record holds settings of the user " + header_.user + ", not of " + user_ +
                                ": " + entry);
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
        if (reach_.keys.count(Lower(key)) || isTarget(key) || (whole && above(key))) return;
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
    // A key whose values a step writes, makes or removes whole.
    bool isTarget(const std::string& key) const {
        for (const std::string& target : reach_.targets)
            if (EqualNoCase(target, key)) return true;
        return false;
    }
    bool above(const std::string& key) const {
        for (const std::string& target : reach_.targets)
            if (KeyWithin(target, key)) return true;
        return false;
    }

    Platform& machine_;
    Reach reach_;
    const RecordHeader& header_;
    const std::string& user_;
};

std::string Shown(const StateLine& line) {
    std::string text = StateLineText(line);
    return text.substr(0, text.size() - 2);
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
        case StateKind::Tree: check.key(line.target, nullptr, entry, true); break;
        case StateKind::File:
            check.file(line.target, entry);
            if (!line.after && !line.copy.empty() && !OwnCopy(line.copy, record.copies)) Checker::refuse(entry);
            break;
        case StateKind::Folder: check.folder(line.target, entry); break;
        case StateKind::Tool:
        case StateKind::Ended: break;
        case StateKind::Change: break;  // names what a change was, for counting and showing; never acted on
        }
    }
    for (const Effect& e : record.script) {
        const std::string entry = std::string(kUndoScript) + ": " + DescribeEffect(e);
        check.key(e.target, e.kind == EffectKind::SetValue || e.kind == EffectKind::DeleteValue ? &e.name : nullptr,
                  entry, e.kind == EffectKind::DeleteKey || e.kind == EffectKind::CreateKey);
    }
}

}  // namespace quillon
