#include "record/UndoRecordWriter.h"

#include <algorithm>

#include "record/RecordStore.h"
#include "effects/EffectTarget.h"
#include "effects/MachineView.h"
#include "effects/RegScript.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {


std::string SlotKey(const std::string& key, const std::string& name) { return Lower(key) + '\n' + Lower(name); }

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// The copy's own name: a number first, then the name without the trailing dots
// and blanks that would make it a different name to most programs.
std::string CopyName(int number, const std::string& path) {
    std::string name = FileName(path);
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return std::to_string(number) + (name.empty() ? "" : " " + name);
}

StateLine ValueLine(bool after, const std::string& key, const std::string& name, std::optional<RegValue> value) {
    StateLine line;
    line.after = after;
    line.kind = StateKind::Value;
    line.target = key;
    line.name = name;
    line.value = std::move(value);
    return line;
}

StateLine PresenceLine(bool after, StateKind kind, const std::string& target, bool present) {
    StateLine line;
    line.after = after;
    line.kind = kind;
    line.target = target;
    line.present = present;
    return line;
}

void RemoveTree(Platform& machine, const std::string& folder) {
    for (const std::string& sub : machine.listSubfolders(folder)) RemoveTree(machine, folder + "\\" + sub);
    for (const std::string& file : machine.listVisibleFiles(folder, "*")) machine.deleteFile(folder + "\\" + file);
    machine.removeEmptyDirectory(folder);
}

}  // namespace

bool UndoRecordWriter::writable() {
    try {
        PrepareUndoRoot(machine_, root_);
        return machine_.directoryExists(root_);
    } catch (const PlatformError&) {
        return false;
    }
}

void UndoRecordWriter::open() {
    if (opened()) return;
    const std::string folder = CreateRecordFolder(machine_, root_, restore_);
    folder_ = folder;
    // Neither is read back before the first change's lines, which are flushed.
    machine_.appendFile(folder_ + "\\" + kUndoScript,
                        "\xff\xfe" + Utf16LeBytes(ToUtf16(std::string(kScriptHeader) + "\r\n\r\n")));
    machine_.appendFile(folder_ + "\\" + kStateFile, "");
}

void UndoRecordWriter::writeLog() {
    if (!opened() || unwrittenLog_.empty()) return;
    try {
        machine_.appendFile(folder_ + "\\" + kChangesLog, unwrittenLog_);
    } catch (const PlatformError&) {
        // The log is for people; what undoing needs is in state.txt.
    }
    unwrittenLog_.clear();
}

void UndoRecordWriter::prune() {
    if (!opened()) return;
    try {
        std::vector<std::string> kept = alsoKept_;
        kept.push_back(folder_);
        PruneRecords(machine_, root_, kRecordsKept, kept);
    } catch (const PlatformError&) {
        // Old records that cannot go stay.
    }
}

// state.txt is what a restore reads: it is on the disk before the change is
// made. undo.reg, for importing by hand, goes to the system at the same time
// (a full disk refuses it at once) and is written out when the system will.
void UndoRecordWriter::flush(const Pending& pending) {
    if (!pending.script.empty())
        machine_.appendFile(folder_ + "\\" + kUndoScript, Utf16LeBytes(ToUtf16(pending.script)));
    std::string text;
    for (const StateLine& line : unwrittenNotes_) text += StateLineText(line);
    lines_.insert(lines_.end(), unwrittenNotes_.begin(), unwrittenNotes_.end());
    unwrittenNotes_.clear();
    for (const StateLine& line : pending.state) text += StateLineText(line);
    if (!text.empty()) machine_.appendFileFlushed(folder_ + "\\" + kStateFile, text);
    lines_.insert(lines_.end(), pending.state.begin(), pending.state.end());
    writeLog();
}

void UndoRecordWriter::note(const Effect& effect, const StepTag& step) {
    unwrittenNotes_.push_back(ChangeLine(TargetOf(effect), step));
}

void UndoRecordWriter::failed(const Effect& effect, const StepTag& step) {
    unwrittenNotes_.push_back(ChangeLine(TargetOf(effect), step, true));
}

void UndoRecordWriter::settle() {
    if (opened() && !unwrittenNotes_.empty()) {
        std::string text;
        for (const StateLine& line : unwrittenNotes_) text += StateLineText(line);
        try {
            machine_.appendFile(folder_ + "\\" + kStateFile, text);
            lines_.insert(lines_.end(), unwrittenNotes_.begin(), unwrittenNotes_.end());
        } catch (const PlatformError&) {
            // Only the steps shown for a change are lost; nothing an undo needs.
        }
    }
    unwrittenNotes_.clear();
    writeLog();
}

// Steps before the first change are kept until there is a record to hold them,
// and later ones until the record is next written: one write, not one a line.
void UndoRecordWriter::log(const std::string& line) { unwrittenLog_ += line + "\r\n"; }

void UndoRecordWriter::remove() {
    if (!opened()) return;
    RemoveTree(machine_, folder_);
    folder_.clear();
}

bool UndoRecordWriter::covered(const std::string& key) const {
    for (const auto& [path, tree] : trees_)
        if (KeyWithin(Lower(key), path)) return true;
    return false;
}

void UndoRecordWriter::keepValue(const std::string& key, const std::string& name, Pending& out) {
    if (covered(key) || values_.count(SlotKey(key, name))) return;
    if (!machine_.registryKeyExists(key)) return keepMissingKey(key, out);
    const auto prior = machine_.registryValue(key, name);
    out.script += ScriptSection(key) + "\r\n" + ScriptValueLine(name, prior) + "\r\n\r\n";
    out.state.push_back(ValueLine(false, key, name, prior));
    values_[SlotKey(key, name)] = prior;
}

// The first key on the way down that is missing goes, and everything the run puts below it.
void UndoRecordWriter::keepMissingKey(const std::string& key, Pending& out) {
    if (covered(key) || machine_.registryKeyExists(key)) return;
    std::string missing = key;
    for (std::size_t slash = key.find('\\'); slash != std::string::npos; slash = key.find('\\', slash + 1))
        if (!machine_.registryKeyExists(key.substr(0, slash))) {
            missing = key.substr(0, slash);
            break;
        }
    out.script += ScriptSection(missing, true) + "\r\n\r\n";
    out.state.push_back(PresenceLine(false, StateKind::Key, missing, false));
    trees_[Lower(missing)] = {};
}

void UndoRecordWriter::readTree(const std::string& key, std::vector<KeySnapshot>& out) {
    out.push_back({key, machine_.registryValues(key)});
    for (const std::string& sub : machine_.registrySubkeys(key)) readTree(key + "\\" + sub, out);
}

// The tree as it was before the run: what was kept earlier stands for what is there now.
std::vector<UndoRecordWriter::KeySnapshot> UndoRecordWriter::priorTree(const std::string& key) {
    std::vector<KeySnapshot> now, prior;
    readTree(key, now);
    for (KeySnapshot& snapshot : now) {
        if (covered(snapshot.path)) continue;
        std::vector<NamedRegValue> values;
        for (NamedRegValue& v : snapshot.values)
            if (!values_.count(SlotKey(snapshot.path, v.name))) values.push_back(std::move(v));
        for (const auto& [slot, value] : values_)
            if (value && slot.substr(0, slot.find('\n')) == Lower(snapshot.path))
                values.push_back({slot.substr(slot.find('\n') + 1), *value});
        prior.push_back({snapshot.path, std::move(values)});
    }
    for (const auto& [path, tree] : trees_)
        if (KeyWithin(path, Lower(key))) prior.insert(prior.end(), tree.begin(), tree.end());
    return prior;
}

void UndoRecordWriter::keepTree(const std::string& key, Pending& out) {
    if (covered(key)) return;
    if (!machine_.registryKeyExists(key)) return keepMissingKey(key, out);
    std::vector<KeySnapshot> tree = priorTree(key);
    // Every name is checked before anything is written: a name the script
    // cannot carry refuses the whole change.
    std::string text = ScriptSection(key, true) + "\r\n\r\n";
    std::vector<StateLine> state;
    for (const KeySnapshot& snapshot : tree) {
        text += ScriptSection(snapshot.path) + "\r\n";
        state.push_back(PresenceLine(false, StateKind::Key, snapshot.path, true));
        for (const NamedRegValue& v : snapshot.values) {
            text += ScriptValueLine(v.name, v.value) + "\r\n";
            state.push_back(ValueLine(false, snapshot.path, v.name, v.value));
        }
        text += "\r\n";
    }
    StateLine complete;
    complete.kind = StateKind::Tree;
    complete.target = key;
    state.push_back(complete);
    out.script += text;
    out.state.insert(out.state.end(), state.begin(), state.end());
    // Trees kept earlier inside this one are part of it now.
    std::erase_if(trees_, [&](const auto& entry) { return KeyWithin(entry.first, Lower(key)); });
    trees_[Lower(key)] = std::move(tree);
}

void UndoRecordWriter::keepFile(const std::string& path, Pending& out) {
    if (!paths_.insert(Lower(path)).second) return;
    StateLine line = PresenceLine(false, StateKind::File, path, machine_.anyFileExists(path));
    // Freeing the cabinet's space is the point of that box: it is not copied.
    if (line.present && !EqualNoCase(FileName(path), "Driver.cab")) {
        try {
            // A copy a restore would refuse to read is no copy: the file stays.
            machine_.readFileBytesAtMost(path, kLongestRecordFile);
        } catch (const PlatformError& error) {
            throw TargetNotKept(std::string("the file cannot be kept: ") + error.what());
        }
        const std::string files = folder_ + "\\" + kKeptFiles;
        if (!machine_.directoryExists(files)) machine_.createDirectory(files);
        line.copy = std::string(kKeptFiles) + "\\" + CopyName(++copies_, path);
        // The copy is what makes the deletion undoable: it is on the disk before
        // the line naming it, and both before the original goes.
        machine_.copyFileFlushed(path, folder_ + "\\" + line.copy);
    }
    out.state.push_back(line);
}

void UndoRecordWriter::keepFolder(const std::string& path, Pending& out) {
    if (!paths_.insert(Lower(path)).second) return;
    out.state.push_back(PresenceLine(false, StateKind::Folder, path, machine_.directoryExists(path)));
}

// What the effect leaves, worked out before it is made.
void UndoRecordWriter::after(const Effect& e, Pending& out) {
    switch (e.kind) {
    case EffectKind::SetValue: out.state.push_back(ValueLine(true, e.target, e.name, e.data)); break;
    case EffectKind::DeleteValue: out.state.push_back(ValueLine(true, e.target, e.name, std::nullopt)); break;
    case EffectKind::CreateKey: {
        out.state.push_back(PresenceLine(true, StateKind::Key, e.target, true));
        // A tool may leave the key's default value empty, one it adds or one it
        // finds (some `reg add KEY` do, some do not): either way the restore is
        // right, putting the value back only where it is empty now.
        if (machine_.registryKeyExists(e.target))
            out.state.push_back(ValueLine(true, e.target, "", kEmptyDefault));
        break;
    }
    case EffectKind::DeleteKey: out.state.push_back(PresenceLine(true, StateKind::Key, e.target, false)); break;
    case EffectKind::CopyKey: {
        if (!machine_.registryKeyExists(e.target)) break;
        std::vector<KeySnapshot> source;
        if (e.recursive) readTree(e.target, source);
        else source.push_back({e.target, machine_.registryValues(e.target)});
        for (const KeySnapshot& key : source) {
            const std::string to = e.destination + key.path.substr(e.target.size());
            // What a restore could not name exactly is not copied.
            ScriptSection(to);
            for (const NamedRegValue& v : key.values) ScriptValueLine(v.name, std::nullopt);
            out.state.push_back(PresenceLine(true, StateKind::Key, to, true));
            for (const NamedRegValue& v : key.values) out.state.push_back(ValueLine(true, to, v.name, v.value));
        }
        break;
    }
    case EffectKind::ServiceStart:
        if (machine_.registryKeyExists(ServiceKey(e.target)))
            out.state.push_back(ValueLine(true, ServiceKey(e.target), "Start", DwordValue(e.startMode)));
        break;
    case EffectKind::DeleteFile: out.state.push_back(PresenceLine(true, StateKind::File, e.target, false)); break;
    case EffectKind::CopyFile: {
        StateLine line = PresenceLine(true, StateKind::File, e.target, true);
        line.digest = ContentDigest(machine_.readFileBytes(e.destination));
        out.state.push_back(line);
        break;
    }
    case EffectKind::RemoveFolder: out.state.push_back(PresenceLine(true, StateKind::Folder, e.target, false)); break;
    case EffectKind::CreateFolder: out.state.push_back(PresenceLine(true, StateKind::Folder, e.target, true)); break;
    case EffectKind::RunTool: break;
    }
}

void UndoRecordWriter::ended(int tool) {
    if (!opened() || tool == 0) return;
    StateLine line;
    line.after = true;
    line.kind = StateKind::Ended;
    line.target = std::to_string(tool);
    std::vector<StateLine> state;
    // A default value the tool left as it was, said so before the tool counts as ended.
    for (const auto& [of, key] : defaultsToRead_)
        if (of == tool)
            if (const auto now = machine_.registryValue(key, ""); now != kEmptyDefault)
                state.push_back(ValueLine(true, key, "", now));
    std::erase_if(defaultsToRead_, [tool](const auto& entry) { return entry.first == tool; });
    state.push_back(line);
    try {
        std::string text;
        for (const StateLine& l : state) text += StateLineText(l);
        machine_.appendFile(folder_ + "\\" + kStateFile, text);
        lines_.insert(lines_.end(), state.begin(), state.end());
    } catch (const PlatformError&) {
        // Its changes stay uncertain: a restore keeps what they wrote.
    }
}

void UndoRecordWriter::keep(const Effect& effect, const StepTag& step, int tool) {
    open();
    Pending pending;
    if (tool != group_) {
        StateLine line;
        line.after = true;
        line.kind = StateKind::Tool;
        line.target = std::to_string(tool);
        pending.state.push_back(line);
    }
    const EffectTarget t = TargetOf(effect);
    switch (t.kind) {
    case TargetKind::Value:
        // A service the machine lacks has no start mode to keep: its tool fails.
        if (effect.kind != EffectKind::ServiceStart || machine_.registryKeyExists(t.path)) keepValue(t.path, t.name, pending);
        break;
    case TargetKind::Key:
        // A tool may give a key it adds, or already has, an empty default value.
        if (machine_.registryKeyExists(t.path)) {
            keepValue(t.path, "", pending);
            if (effect.emptiesDefault && tool != 0) defaultsToRead_.emplace_back(tool, t.path);
        } else {
            keepMissingKey(t.path, pending);
        }
        break;
    case TargetKind::Tree: keepTree(t.path, pending); break;
    case TargetKind::File: keepFile(t.path, pending); break;
    case TargetKind::Folder: keepFolder(t.path, pending); break;
    case TargetKind::Tool: break;
    }
    after(effect, pending);
    pending.state.push_back(ChangeLine(t, step));
    flush(pending);
    group_ = tool;
}

void UndoRecordWriter::keepFailed(const Effect& effect) {
    if (!opened()) return;
    const EffectTarget t = TargetOf(effect);
    Pending pending;
    if (t.kind == TargetKind::Value) {
        pending.state.push_back(ValueLine(true, t.path, t.name, machine_.registryValue(t.path, t.name)));
    } else if (t.kind == TargetKind::Key) {
        pending.state.push_back(PresenceLine(true, StateKind::Key, t.path, machine_.registryKeyExists(t.path)));
    } else if (t.kind == TargetKind::Folder) {
        pending.state.push_back(PresenceLine(true, StateKind::Folder, t.path, machine_.directoryExists(t.path)));
    } else if (t.kind == TargetKind::File) {
        StateLine line = PresenceLine(true, StateKind::File, t.path, machine_.anyFileExists(t.path));
        if (line.present) line.digest = ContentDigest(machine_.readFileBytes(t.path));
        pending.state.push_back(line);
    }
    if (!pending.state.empty()) flush(pending);
}

}  // namespace quillon
