#include "journal/RecordStoreStandIn.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace quillon::standin {
namespace {

std::string Time(const LocalTime& t, bool forFolder) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, forFolder ? "%04d-%02d-%02d %02d-%02d-%02d" : "%04d-%02d-%02d %02d:%02d:%02d",
                  t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buffer;
}

void RemoveTree(Platform& machine, const std::string& folder) {
    for (const std::string& sub : machine.listSubfolders(folder)) RemoveTree(machine, folder + "\\" + sub);
    for (const std::string& file : machine.listVisibleFiles(folder, "*")) machine.deleteFile(folder + "\\" + file);
    machine.removeEmptyDirectory(folder);
}

}  // namespace

std::string ComputerName(Platform&) { return ""; }

std::optional<RecordHeader> ReadRecordHeader(Platform& machine, const std::string& folder) {
    try {
        const std::vector<std::string> lines = machine.readTextFile(folder + "\\" + kHeaderFile);
        if (lines.size() < 6 || lines[0] != "Quillon undo record") return std::nullopt;
        RecordHeader header;
        const auto field = [&](std::size_t i, const char* name) -> std::optional<std::string> {
            const std::string prefix = std::string(name) + "\t";
            if (lines[i].rfind(prefix, 0) != 0) return std::nullopt;
            return lines[i].substr(prefix.size());
        };
        auto computer = field(1, "computer"), user = field(2, "user"), time = field(3, "time"),
             sequence = field(4, "sequence"), kind = field(5, "kind");
        if (!computer || !user || !time || !sequence || !kind || sequence->empty() ||
            sequence->find_first_not_of("0123456789") != std::string::npos || sequence->size() > 18)
            return std::nullopt;
        LocalTime& t = header.time;
        if (std::sscanf(time->c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) != 6)
            return std::nullopt;
        header.computer = *computer;
        header.user = *user;
        header.sequence = std::stoll(*sequence);
        if (*kind != "run" && *kind != "restore") return std::nullopt;
        header.restore = *kind == "restore";
        return header;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string CreateRecordFolder(Platform& machine, const std::string& root, bool restore) {
    if (!machine.directoryExists(root)) machine.createDirectory(root);
    long long sequence = 0;
    for (const std::string& name : machine.listSubfolders(root))
        if (auto header = ReadRecordHeader(machine, root + "\\" + name)) sequence = std::max(sequence, header->sequence);
    const LocalTime now = machine.localTime();
    const std::string name = Time(now, true);
    std::string folder = root + "\\" + name;
    for (int n = 2; machine.directoryExists(folder) || machine.anyFileExists(folder); ++n)
        folder = root + "\\" + name + " (" + std::to_string(n) + ")";
    machine.createDirectory(folder);
    const std::string header = "Quillon undo record\r\ncomputer\t" + ComputerName(machine) + "\r\nuser\t" +
                               machine.userName() + "\r\ntime\t" + Time(now, false) + "\r\nsequence\t" +
                               std::to_string(sequence + 1) + "\r\nkind\t" + (restore ? "restore" : "run") + "\r\n";
    machine.appendFileFlushed(folder + "\\" + kHeaderFile, header);
    return folder;
}

void PruneRecords(Platform& machine, const std::string& root, int keep, const std::string& except) {
    std::vector<std::pair<long long, std::string>> records;
    for (const std::string& name : machine.listSubfolders(root))
        if (auto header = ReadRecordHeader(machine, root + "\\" + name))
            records.push_back({header->sequence, root + "\\" + name});
    std::sort(records.begin(), records.end(), std::greater<>());
    for (std::size_t i = static_cast<std::size_t>(keep); i < records.size(); ++i) {
        if (records[i].second == except) continue;
        try {
            RemoveTree(machine, records[i].second);
        } catch (const PlatformError&) {
            // An old record that cannot go stays.
        }
    }
}

}  // namespace quillon::standin
