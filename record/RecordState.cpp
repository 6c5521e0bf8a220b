#include "record/RecordState.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/Platform.h"
#include "platform/RegistryPath.h"

namespace quillon {
namespace {

bool WithinAny(const std::string& key, const std::vector<std::string>& roots) {
    for (const std::string& root : roots)
        if (KeyWithin(key, root)) return true;
    return false;
}

class Builder {
public:
    void add(const StateLine& line) {
        switch (line.kind) {
        case StateKind::Value: return value(line);
        case StateKind::Key: return key(line);
        case StateKind::Tree: complete_.push_back(line.target); return;
        case StateKind::File: return file(line);
        case StateKind::Folder: return folder(line);
        case StateKind::Tool: tool_ = line.target; return;
        case StateKind::Ended: ended_.insert(line.target); return;
        case StateKind::Change:
        case StateKind::Failed: return;
        }
    }

    RecordState finish() {
        RecordState state;
        for (auto& [slot, v] : values_) {
            ValueEntry& e = v;
            // Inside a tree that was missing, or one listed whole, an unlisted value was absent.
            if (!e.beforeKnown && !WithinAny(e.target.key, absent_) && !WithinAny(e.target.key, complete_)) continue;
            e.target.uncertain = e.tool != "0" && !e.tool.empty() && !ended_.count(e.tool);
            state.values.push_back(std::move(e.target));
        }
        for (auto& [slot, k] : keys_) {
            if (!k.beforeKnown) k.target.before = !WithinAny(k.target.key, absent_) && !WithinAny(k.target.key, complete_);
            if (k.target.before != k.target.after.value_or(k.target.before) || !k.target.before)
                state.keys.push_back(std::move(k.target));
        }
        for (auto& [slot, f] : files_) state.files.push_back(std::move(f));
        for (auto& [slot, f] : folders_) state.folders.push_back(std::move(f));
        return state;
    }

private:
    struct ValueEntry {
        ValueTarget target;
        bool beforeKnown = false;
        std::string tool;  // the tool of its last change; empty: none
    };
    struct KeyEntry {
        KeyTarget target;
        bool beforeKnown = false;
    };

    ValueEntry& valueEntry(const std::string& key, const std::string& name) {
        ValueEntry& e = values_[KeyOf(TargetKind::Value, key, name)];
        if (e.target.key.empty()) e.target.key = key, e.target.name = name;
        return e;
    }
    KeyEntry& keyEntry(const std::string& key) {
        KeyEntry& e = keys_[KeyOf(TargetKind::Key, key)];
        if (e.target.key.empty()) e.target.key = key;
        return e;
    }
    // The run made the key there: it and its parents inside a missing tree are its own.
    void present(const std::string& key) {
        for (std::string k = key; !k.empty() && WithinAny(k, absent_); k = ParentPath(k)) keyEntry(k).target.after = true;
        keyEntry(key).target.after = true;
    }

    void value(const StateLine& line) {
        ValueEntry& e = valueEntry(line.target, line.name);
        if (line.after) {
            e.target.after = line.value;
            e.tool = tool_;
            present(line.target);
        } else if (!e.beforeKnown) {
            e.beforeKnown = true;
            e.target.before = line.value;
        }
    }
    void key(const StateLine& line) {
        if (!line.after) {
            KeyEntry& e = keyEntry(line.target);
            if (!e.beforeKnown) e.beforeKnown = true, e.target.before = line.present;
            if (!line.present) absent_.push_back(line.target);
            return;
        }
        if (line.present) return present(line.target);
        // The whole tree went: everything known inside it is absent after this.
        keyEntry(line.target).target.after = false;
        for (auto& [slot, v] : values_)
            if (KeyWithin(v.target.key, line.target)) v.target.after = std::optional<RegValue>{};
        for (auto& [slot, k] : keys_)
            if (KeyWithin(k.target.key, line.target)) k.target.after = false;
    }
    void file(const StateLine& line) {
        FileTarget& f = files_[KeyOf(TargetKind::File, line.target)];
        if (f.path.empty()) {
            f.path = line.target;
            if (!line.after) f.before = line.present, f.copy = line.copy;
        }
        if (line.after) f.after = line.present, f.digest = line.digest;
    }
    void folder(const StateLine& line) {
        FolderTarget& f = folders_[KeyOf(TargetKind::Folder, line.target)];
        if (f.path.empty()) {
            f.path = line.target;
            if (!line.after) f.before = line.present;
        }
        if (line.after) f.after = line.present;
    }

    std::map<TargetKey, ValueEntry> values_;
    std::map<TargetKey, KeyEntry> keys_;
    std::map<TargetKey, FileTarget> files_;
    std::map<TargetKey, FolderTarget> folders_;
    std::vector<std::string> absent_;    // trees missing before the run
    std::vector<std::string> complete_;  // trees listed whole
    std::string tool_;                   // the tool whose changes the lines now are
    std::set<std::string> ended_;        // tools whose end was seen
};

}  // namespace

RecordState BuildRecordState(const std::vector<StateLine>& lines) {
    Builder builder;
    for (const StateLine& line : lines) builder.add(line);
    return builder.finish();
}

bool MachineAsBefore(Platform& machine, const RecordState& state, const std::string& recordFolder) {
    for (const ValueTarget& v : state.values)
        if (machine.registryValue(v.key, v.name) != v.before) return false;
    for (const KeyTarget& k : state.keys)
        if (machine.registryKeyExists(k.key) != k.before) return false;
    for (const FileTarget& f : state.files) {
        if (machine.anyFileExists(f.path) != f.before) return false;
        if (f.before && (f.copy.empty() ||
                         machine.readFileBytes(f.path) != machine.readFileBytes(recordFolder + "\\" + f.copy)))
            return false;
    }
    for (const FolderTarget& f : state.folders)
        if (machine.directoryExists(f.path) != f.before) return false;
    return true;
}

}  // namespace quillon
