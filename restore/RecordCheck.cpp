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
#include "record/UndoRecordWriter.h"
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

struct Reach {
    std::vector<std::string> trees;        // keys and everything below them
    std::set<std::string> services;        // service keys, lower case: their Start value only
    std::set<std::string> files;           // files a step deletes, lower case
    std::vector<std::string> fileFolders;  // folders whose files a step deletes
    std::set<std::string> folders;         // folders a step removes, lower case
};

Reach WhatARunReaches(Platform& machine, const std::string& user) {
    Reach reach;
    for (const RunKey& key : kRunKeys) reach.trees.push_back(key.fullPath);
    reach.fileFolders = StartupFolders(user);
    reach.fileFolders.push_back(std::string(kCommonStartMenu));
    EverythingThere everywhere(machine);
    for (bool ticked : {true, false}) {
        SelectionForm form;
        form.tickEverything(ticked);
        form.setTxtPath("C:\\");
        for (const PlannedEffect& p : PlanRun(form, everywhere, user, RunOrder())) {
            const EffectTarget t = TargetOf(p.effect);
            switch (t.kind) {
            case TargetKind::Value:
                if (!ServiceOfStartValue(t.path, t.name).empty()) reach.services.insert(Lower(t.path));
                else reach.trees.push_back(t.path);
                break;
            case TargetKind::Key:
            case TargetKind::Tree: reach.trees.push_back(t.path); break;
            case TargetKind::File: reach.files.insert(Lower(t.path)); break;
            case TargetKind::Folder: reach.folders.insert(Lower(t.path)); break;
            case TargetKind::Tool: break;
            }
        }
    }
    return reach;
}

class Checker {
public:
    Checker(Platform& machine, const RecordHeader& header, const std::string& user)
        : machine_(machine), reach_(WhatARunReaches(machine, header.user)), header_(header), user_(user) {}

    // `whole`: a key named whole (made or removed with its tree), which may be
    // a parent of a key a step writes (the run made both) as long as
    // everything in it now is within reach: removing it takes nothing else.
    void key(const std::string& key, const std::string* valueName, const std::string& entry, bool whole = false) const {
        if (NormalisedKey(key) != key || !ScriptCarries(key) || key.find(']') != std::string::npos ||
            (valueName && !ScriptCarries(*valueName)))
            refuse(entry);
        if (KeyRoot(key) == "HKEY_CURRENT_USER" && header_.user != user_)
            throw RecordRefused("the record holds settings of the user " + header_.user + ", not of " + user_ +
                                ": " + entry);
        if (reach_.services.count(Lower(key))) {
            if (valueName && EqualNoCase(*valueName, "Start")) return;
            refuse(entry);
        }
        if (within(key) || (whole && onlyReachBelow(key))) return;
        refuse(entry);
    }

    void file(const std::string& path, const std::string& entry) const {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (path.find('\\') == std::string::npos || !IsPlainFileName(name)) refuse(entry);
        // The per-user Startup folder is the user's own, as HKEY_CURRENT_USER is.
        const std::vector<std::string> own = StartupFolders(header_.user);
        if (header_.user != user_ && own.size() > 1 && EqualNoCase(ParentPath(path), own.front()))
            throw RecordRefused("the record holds files of the user " + header_.user + ", not of " + user_ + ": " +
                                entry);
        if (reach_.files.count(Lower(path))) return;
        // The common Start menu loses its shortcuts only; a Startup folder any entry.
        if (EqualNoCase(ParentPath(path), kCommonStartMenu)) {
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
    bool above(const std::string& key) const {
        for (const std::string& tree : reach_.trees)
            if (KeyWithin(tree, key)) return true;
        return false;
    }
    bool onlyReachBelow(const std::string& key) const {
        if (within(key)) return true;
        if (!above(key) || !machine_.registryValues(key).empty()) return false;
        for (const std::string& sub : machine_.registrySubkeys(key))
            if (!onlyReachBelow(key + "\\" + sub)) return false;
        return true;
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
