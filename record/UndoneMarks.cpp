#include "record/UndoneMarks.h"

#include "record/RecordFiles.h"
#include "record/RecordStore.h"

namespace quillon {

bool RecordUndone(Platform& machine, const std::string& folder) {
    const std::string path = folder + "\\" + kUndoneMark;
    try {
        return machine.anyFileExists(path) && machine.readFileBytesAtMost(path, kLongestHeader).starts_with("undone\t");
    } catch (const PlatformError&) {
        return true;  // there but unreadable: not a record to take back unasked
    }
}

void MarkUndone(Platform& machine, const std::string& folder, const std::string& restoreFolder, int kept) {
    const std::string path = folder + "\\" + kUndoneMark;
    if (machine.anyFileExists(path)) machine.deleteFile(path);
    machine.appendFileFlushed(path, "undone\t" + RecordTimeText(machine.localTime()) + "\t" + FieldText(restoreFolder) +
                                        (kept > 0 ? "\tkept " + std::to_string(kept) : "") + "\r\n");
}

void MarkPartlyUndone(Platform& machine, const std::string& folder, const std::string& restoreFolder) {
    const std::string path = folder + "\\" + kUndoneMark;
    if (machine.anyFileExists(path)) return;  // a whole or partial mark already says more
    machine.appendFileFlushed(path, "partly undone\t" + RecordTimeText(machine.localTime()) + "\t" +
                                        FieldText(restoreFolder) + "\r\n");
}

std::string UndoneState(Platform& machine, const std::string& folder) {
    const std::string path = folder + "\\" + kUndoneMark;
    try {
        if (!machine.anyFileExists(path)) return "open";
        const std::string mark = machine.readFileBytesAtMost(path, kLongestHeader);
        const std::string first = mark.substr(0, mark.find("\r\n"));
        if (first.starts_with("partly undone\t") || (first.starts_with("undone\t") && first.find("\tkept ") != std::string::npos))
            return "partly undone";
        if (first.starts_with("undone\t")) return "undone";
    } catch (const PlatformError&) {
        return "undone";  // there but unreadable: as RecordUndone takes it
    }
    return "open";
}

namespace {
std::string PartMark(TargetScope part) { return part == TargetScope::Machine ? "machine undone\t" : "user undone\t"; }
}  // namespace

void MarkPartUndone(Platform& machine, const std::string& folder, TargetScope part, const std::string& restoreFolder) {
    machine.appendFileFlushed(folder + "\\" + kUndoneMark, PartMark(part) + RecordTimeText(machine.localTime()) + "\t" +
                                                                FieldText(restoreFolder) + "\r\n");
}

bool PartUndone(Platform& machine, const std::string& folder, TargetScope part) {
    const std::string path = folder + "\\" + kUndoneMark;
    try {
        if (!machine.anyFileExists(path)) return false;
        const std::string marks = machine.readFileBytes(path);
        return marks.starts_with(PartMark(part)) || marks.find("\n" + PartMark(part)) != std::string::npos;
    } catch (const PlatformError&) {
        return false;
    }
}

}  // namespace quillon
