#include "record/RecordReader.h"

#include <algorithm>

#include "effects/EffectReader.h"
#include "effects/RegScript.h"
#include "record/RecordStore.h"
#include "record/UndoRecordWriter.h"

namespace quillon {
namespace {

// Whether one of the record's files is there; a folder in its place is damage.
bool RecordFileThere(Platform& machine, const std::string& folder, const std::string& name) {
    if (machine.directoryExists(folder + "\\" + name)) throw RecordRefused(name + " is a folder");
    return machine.anyFileExists(folder + "\\" + name);
}

// One of the record's files, whole and no longer than any record's file.
std::string RecordFile(Platform& machine, const std::string& folder, const std::string& name) {
    const std::string path = folder + "\\" + name;
    if (!RecordFileThere(machine, folder, name)) throw RecordRefused(name + " is missing");
    try {
        return machine.readFileBytesAtMost(path, kLongestRecordFile);
    } catch (const PlatformError& error) {
        throw RecordRefused(std::string("the record cannot be read: ") + error.what());
    }
}

// What a line cut off by a run's end can be: the start of a state line, whose
// fields are escaped text without control characters but the tab.
bool CutOffLine(std::string_view tail) {
    if (std::any_of(tail.begin(), tail.end(), [](char c) {
            return (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') || c == 0x7f;
        }))
        return false;
    for (std::string_view start : {"before\t", "after\t", "change\t", "failed\t"})
        if (tail.starts_with(start) || start.starts_with(tail)) return true;
    return false;
}

// undo.reg is regedit's own UTF-16 script: its mark, then its header line.
const std::string kScriptStart = "\xff\xfe" + Utf16LeBytes(ToUtf16(kScriptHeader));
bool ScriptShaped(std::string_view bytes) { return bytes.size() % 2 == 0 && bytes.starts_with(kScriptStart); }

// undo.reg is left to the system to write out: after a power cut what it had
// not written comes back as zeros, the header too. That tail is no damage;
// a restore never needs the script.
std::string WithoutPowerCutTail(std::string bytes) {
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    if (bytes.size() % 2) bytes += '\0';  // the last character's high byte
    return bytes;
}

}  // namespace

RecordContents ReadRecord(Platform& machine, const std::string& folder) {
    RecordContents record;
    // A record is made header, undo.reg, state.txt, in that order, before its
    // first change: a run cut off before that leaves fewer, holding no change.
    const bool script = RecordFileThere(machine, folder, kUndoScript);
    if (!RecordFileThere(machine, folder, kStateFile)) {
        const std::string bytes = script ? RecordFile(machine, folder, kUndoScript) : std::string();
        const bool cutOff = (ScriptShaped(bytes) || std::string_view(kScriptStart).starts_with(bytes)) &&
                            ReadScriptEffects(bytes).empty() &&
                            !machine.directoryExists(folder + "\\" + kKeptFiles);
        if (!cutOff) throw RecordRefused(std::string(kStateFile) + " is missing");
        return record;
    }
    const std::string bytes = RecordFile(machine, folder, kStateFile);
    std::size_t start = 0, number = 1;
    // A line without its end was being written when the run was cut off: its change was never made.
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2, ++number) {
        auto line = ParseStateLine(bytes.substr(start, end - start));
        if (!line) throw RecordRefused(std::string(kStateFile) + " line " + std::to_string(number) + " is damaged");
        record.lines.push_back(std::move(*line));
    }
    if (!CutOffLine(std::string_view(bytes).substr(start)))
        throw RecordRefused(std::string(kStateFile) + " line " + std::to_string(number) + " is damaged");

    const std::string scriptBytes = WithoutPowerCutTail(RecordFile(machine, folder, kUndoScript));
    if (!scriptBytes.empty() && !ScriptShaped(scriptBytes)) throw RecordRefused(std::string(kUndoScript) + " is not a registration script");
    record.script = ReadScriptEffects(scriptBytes);

    const std::string files = folder + "\\" + kKeptFiles;
    if (machine.directoryExists(files)) {
        if (!machine.listSubfolders(files).empty()) throw RecordRefused("the record's files folder holds a folder");
        record.copies = machine.listVisibleFiles(files, "*");
        // Every copy is read now: one that cannot be read refuses the record before anything is done.
        for (const std::string& copy : record.copies) RecordFile(machine, files, copy);
    }
    return record;
}

}  // namespace quillon
