#include "record/RecordReader.h"

#include "effects/EffectReader.h"
#include "record/UndoRecordWriter.h"

namespace quillon {

RecordContents ReadRecord(Platform& machine, const std::string& folder) {
    RecordContents record;
    const std::string state = folder + "\\" + kStateFile;
    std::string bytes;
    try {
        // A record cut off before its first change holds none.
        if (machine.anyFileExists(state)) bytes = machine.readFileBytes(state);
    } catch (const PlatformError& error) {
        throw RecordRefused(std::string("the record cannot be read: ") + error.what());
    }
    std::size_t start = 0, number = 1;
    // A line without its end was being written when the run was cut off: its change was never made.
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2, ++number) {
        auto line = ParseStateLine(bytes.substr(start, end - start));
        if (!line) throw RecordRefused(std::string(kStateFile) + " line " + std::to_string(number) + " is damaged");
        record.lines.push_back(std::move(*line));
    }
    const std::string script = folder + "\\" + kUndoScript;
    if (machine.anyFileExists(script)) {
        try {
            record.script = ReadScriptEffects(machine.readFileBytes(script));
        } catch (const PlatformError& error) {
            throw RecordRefused(std::string("the record cannot be read: ") + error.what());
        }
    }
    const std::string files = folder + "\\" + kKeptFiles;
    if (machine.directoryExists(files)) {
        if (!machine.listSubfolders(files).empty()) throw RecordRefused("the record's files folder holds a folder");
        record.copies = machine.listVisibleFiles(files, "*");
        // Every copy is read now: one that cannot be read refuses the record before anything is done.
        for (const std::string& copy : record.copies) {
            try {
                machine.readFileBytes(files + "\\" + copy);
            } catch (const PlatformError& error) {
                throw RecordRefused(std::string("the record cannot be read: ") + error.what());
            }
        }
    }
    return record;
}

}  // namespace quillon
