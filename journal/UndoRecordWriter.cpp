#include "journal/UndoRecordWriter.h"

#include <algorithm>
#include <cstdio>

#include "journal/Journal.h"
#include "journal/RegScript.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

std::string FolderName(const LocalTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

std::string ValueSlot(const std::string& key, const std::string& name) { return Lower(key) + '\n' + Lower(name); }

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

void RemoveRecord(Platform& machine, const std::string& folder) {
    for (const std::string& sub : machine.listSubfolders(folder)) RemoveRecord(machine, folder + "\\" + sub);
    for (const std::string& file : machine.listVisibleFiles(folder, "*")) machine.deleteFile(folder + "\\" + file);
    machine.removeEmptyDirectory(folder);
}

}  // namespace

bool UndoRecordWriter::open() {
    if (tried_) return opened();
    tried_ = true;
    try {
        const std::string root = UndoRoot(machine_);
        if (!machine_.directoryExists(root)) machine_.createDirectory(root);
        const std::string name = FolderName(machine_.localTime());
        std::string folder = root + "\\" + name;
        for (int n = 2; machine_.directoryExists(folder); ++n) folder = root + "\\" + name + " (" + std::to_string(n) + ")";
        machine_.createDirectory(folder);
        folder_ = folder;
        write(kUndoScript, "\xff\xfe" + Utf16LeBytes(ToUtf16(std::string(kScriptHeader) + "\r\n\r\n")));
        write(kChangesLog, "\xef\xbb\xbfQuillon undo record " + name + "\r\n");
        write(kRestoreList, "");
    } catch (const PlatformError&) {
        if (folder_.empty()) return false;
        complete_ = false;
        return true;
    }
    const std::vector<std::string> records = UndoRecords(machine_);
    for (std::size_t i = kUndoRecordsKept; i < records.size(); ++i) {
        try {
            RemoveRecord(machine_, records[i]);
        } catch (const PlatformError&) {
            // An old record that cannot go stays; the new one is written all the same.
        }
    }
    return true;
}

void UndoRecordWriter::write(const std::string& name, std::string_view bytes) {
    machine_.appendFileFlushed(folder_ + "\\" + name, bytes);
}

void UndoRecordWriter::appendScript(const std::string& text) { write(kUndoScript, Utf16LeBytes(ToUtf16(text))); }

void UndoRecordWriter::appendRestore(const std::string& line) { write(kRestoreList, line + "\r\n"); }

void UndoRecordWriter::log(const std::string& line) {
    if (!opened()) return;
    try {
        // The readable log: what undoing needs is flushed ahead of each change, this need not be.
        machine_.appendFile(folder_ + "\\" + kChangesLog, line + "\r\n");
    } catch (const PlatformError&) {
        complete_ = false;
    }
}

bool UndoRecordWriter::covered(const std::string& key) const {
    for (const auto& [path, tree] : trees_)
        if (KeyWithin(Lower(key), path)) return true;
    return false;
}

void UndoRecordWriter::keepValue(const std::string& key, const std::string& name) {
    if (covered(key) || values_.count(ValueSlot(key, name))) return;
    if (!machine_.registryKeyExists(key)) return keepMissingKey(key);
    const auto prior = machine_.registryValue(key, name);
    appendScript("[" + key + "]\r\n" + ScriptValueLine(name, prior) + "\r\n\r\n");
    values_[ValueSlot(key, name)] = prior;
}

// The first key on the way down that is missing goes, and everything the run puts below it.
void UndoRecordWriter::keepMissingKey(const std::string& key) {
    if (covered(key) || machine_.registryKeyExists(key)) return;
    std::string missing = key;
    for (std::size_t slash = key.find('\\'); slash != std::string::npos; slash = key.find('\\', slash + 1))
        if (!machine_.registryKeyExists(key.substr(0, slash))) {
            missing = key.substr(0, slash);
            break;
        }
    appendScript("[-" + missing + "]\r\n\r\n");
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
            if (!values_.count(ValueSlot(snapshot.path, v.name))) values.push_back(std::move(v));
        for (const auto& [slot, value] : values_)
            if (value && slot.substr(0, slot.find('\n')) == Lower(snapshot.path))
                values.push_back({slot.substr(slot.find('\n') + 1), *value});
        prior.push_back({snapshot.path, std::move(values)});
    }
    for (const auto& [path, tree] : trees_)
        if (KeyWithin(path, Lower(key))) prior.insert(prior.end(), tree.begin(), tree.end());
    return prior;
}

void UndoRecordWriter::keepTree(const std::string& key) {
    if (covered(key)) return;
    if (!machine_.registryKeyExists(key)) return keepMissingKey(key);
    std::vector<KeySnapshot> tree = priorTree(key);
    std::string text = "[-" + key + "]\r\n\r\n";
    for (const KeySnapshot& snapshot : tree) {
        text += "[" + snapshot.path + "]\r\n";
        for (const NamedRegValue& v : snapshot.values) text += ScriptValueLine(v.name, v.value) + "\r\n";
        text += "\r\n";
    }
    appendScript(text);
    // Trees kept earlier inside this one are part of it now.
    std::erase_if(trees_, [&](const auto& entry) { return KeyWithin(entry.first, Lower(key)); });
    trees_[Lower(key)] = std::move(tree);
}

void UndoRecordWriter::keepFile(const std::string& path) {
    if (!machine_.anyFileExists(path)) return;
    // Freeing the cabinet's space is the point of that box: it is not copied.
    if (EqualNoCase(FileName(path), "Driver.cab")) {
        appendRestore("nocopy\t" + path);
        log("  not kept (freeing its space is the point of this box): " + path);
        return;
    }
    const std::string files = folder_ + "\\" + kKeptFiles;
    if (!machine_.directoryExists(files)) machine_.createDirectory(files);
    const std::string copy = std::string(kKeptFiles) + "\\" + std::to_string(++copies_) + " " + FileName(path);
    machine_.copyFile(path, folder_ + "\\" + copy);
    appendRestore("file\t" + copy + "\t" + path);
}

void UndoRecordWriter::keep(const Effect& effect) {
    if (!opened()) return;
    try {
        switch (effect.kind) {
        case EffectKind::SetValue:
        case EffectKind::DeleteValue: keepValue(effect.target, effect.name); break;
        case EffectKind::CreateKey:
            // Some registry tools give a key they add an empty default value, even one that exists.
            if (machine_.registryKeyExists(effect.target)) keepValue(effect.target, "");
            else keepMissingKey(effect.target);
            break;
        case EffectKind::DeleteKey: keepTree(effect.target); break;
        case EffectKind::CopyKey: keepTree(effect.destination); break;
        case EffectKind::ServiceStart: {
            const std::string key = ServiceKey(effect.target);
            if (!machine_.registryKeyExists(key)) break;
            if (!services_.count(Lower(effect.target))) {
                const auto start = machine_.registryValue(key, "Start");
                if (auto mode = start ? DwordOf(*start) : std::nullopt; mode && !StartModeName(*mode).empty())
                    appendRestore("service\t" + effect.target + "\t" + StartModeName(*mode));
                services_[Lower(effect.target)] = true;
            }
            keepValue(key, "Start");
            break;
        }
        case EffectKind::DeleteFile: keepFile(effect.target); break;
        case EffectKind::RemoveFolder:
            if (machine_.directoryExists(effect.target)) appendRestore("folder\t" + effect.target);
            break;
        case EffectKind::CreateFolder:
            if (!machine_.directoryExists(effect.target)) appendRestore("created-folder\t" + effect.target);
            break;
        case EffectKind::CopyFile:
            if (!machine_.anyFileExists(effect.target)) appendRestore("created-file\t" + effect.target);
            break;
        case EffectKind::RunTool: break;
        }
    } catch (const PlatformError& error) {
        if (complete_) log(std::string("THE UNDO RECORD IS INCOMPLETE FROM HERE: ") + error.what());
        complete_ = false;
    }
}

}  // namespace quillon
