#include "journal/Restore.h"

#include "engine/Commands.h"
#include "engine/Step.h"
#include "journal/UndoRecordWriter.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

struct RestoreLine {
    std::string kind;
    std::vector<std::string> fields;
};

std::vector<RestoreLine> ReadRestoreList(Platform& machine, const std::string& folder) {
    std::vector<RestoreLine> lines;
    const std::string path = folder + "\\" + kRestoreList;
    if (!machine.anyFileExists(path)) return lines;  // a run cut off before it was begun
    const std::string bytes = machine.readFileBytes(path);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) break;  // a line cut off by a crash was never acted on
        const std::string line = bytes.substr(start, end - start);
        start = end + 2;
        RestoreLine parsed;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            parsed.fields.push_back(line.substr(from, tab - from));
        parsed.fields.push_back(line.substr(from));
        parsed.kind = parsed.fields.front();
        parsed.fields.erase(parsed.fields.begin());
        lines.push_back(std::move(parsed));
    }
    return lines;
}

std::string Parent(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void MakeFolders(Platform& machine, const std::string& path) {
    if (path.empty() || machine.directoryExists(path)) return;
    MakeFolders(machine, Parent(path));
    machine.createDirectory(path);
}

// "C:\x\Name.lnk" -> "C:\x\Name (restored).lnk"
std::string Beside(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + " (restored)";
    return path.substr(0, dot) + " (restored)" + path.substr(dot);
}

void PutFileBack(Platform& machine, const std::string& copy, const std::string& path) {
    const std::string kept = machine.readFileBytes(copy);
    for (const std::string& target : {path, Beside(path)}) {
        if (!machine.anyFileExists(target)) {
            MakeFolders(machine, Parent(target));
            machine.copyFile(copy, target);
            return;
        }
        if (machine.readFileBytes(target) == kept) return;  // already back
    }
}

}  // namespace

std::vector<std::string> DescribeRecord(Platform& machine, const std::string& folder) {
    std::vector<std::string> out;
    if (machine.anyFileExists(folder + "\\" + kUndoScript)) out.push_back("registry: the values and keys in undo.reg");
    for (const RestoreLine& line : ReadRestoreList(machine, folder)) {
        if (line.kind == "service" && line.fields.size() == 2)
            out.push_back("service " + line.fields[0] + ": start " + line.fields[1]);
        else if (line.kind == "file" && line.fields.size() == 2) out.push_back("file " + line.fields[1]);
        else if (line.kind == "folder" && line.fields.size() == 1) out.push_back("folder " + line.fields[0]);
        else if (line.kind == "created-file" && line.fields.size() == 1) out.push_back("remove file " + line.fields[0]);
        else if (line.kind == "created-folder" && line.fields.size() == 1) out.push_back("remove folder " + line.fields[0]);
        else if (line.kind == "nocopy" && line.fields.size() == 1) out.push_back("not kept: " + line.fields[0]);
    }
    return out;
}

RestoreReport RestoreRecord(Platform& machine, const std::string& folder) {
    if (!machine.anyFileExists(folder + "\\" + kChangesLog)) throw PlatformError("no undo record in " + folder);
    const std::vector<RestoreLine> lines = ReadRestoreList(machine, folder);

    JournalPlatform journal(machine);
    StepTag step;
    step.control = "undo";
    journal.follow(step);
    int failures = 0;
    const auto attempt = [&](auto&& action) {
        try {
            action();
        } catch (const std::exception&) {
            ++failures;
        }
    };

    const std::string script = folder + "\\" + kUndoScript;
    if (machine.anyFileExists(script))
        attempt([&] { RunHiddenCommandAndWait(journal, "regedit /s " + QuoteArgument(script)); });
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const auto& f = line->fields;
        if (line->kind == "service" && f.size() == 2)
            attempt([&] { RunHiddenCommandAndWait(journal, "sc \\\\. config " + f[0] + " start= " + f[1]); });
        else if (line->kind == "folder" && f.size() == 1)
            attempt([&] { MakeFolders(journal, f[0]); });
        else if (line->kind == "file" && f.size() == 2)
            attempt([&] { PutFileBack(journal, folder + "\\" + f[0], f[1]); });
        else if (line->kind == "created-file" && f.size() == 1)
            attempt([&] {
                if (journal.anyFileExists(f[0])) journal.deleteFile(f[0]);
            });
        else if (line->kind == "created-folder" && f.size() == 1)
            attempt([&] {
                if (journal.directoryExists(f[0])) journal.removeEmptyDirectory(f[0]);
            });
    }
    for (const RecordedEffect& e : journal.effects()) failures += e.failed ? 1 : 0;
    return {journal.recording() ? journal.folder() : std::string(), failures, journal.effects()};
}

}  // namespace quillon
