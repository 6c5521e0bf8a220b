#include "record/RecordStore.h"
#include "record/UndoneMarks.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "record/RecordReader.h"
#include "record/RecordState.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

constexpr std::string_view kHeaderTitle = "Quillon undo record";
// The line a record made on 64-bit Windows adds to its header.
constexpr std::string_view kWindows64Line = "windows\t64-bit";

auto Order(const RecordHeader& h) {
    const LocalTime& t = h.time;
    return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, h.sequence);
}

std::string FolderName(const LocalTime& t) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

bool Digits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

// Whether the text has the shape: a digit for each '0', other characters as they are.
bool Shaped(std::string_view text, std::string_view shape) {
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == '0' ? !Digits(text.substr(i, 1)) : text[i] != shape[i]) return false;
    return true;
}

bool NameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// The computer's name as a folder name carries it: letters, digits, '-' and '_'.
std::string ComputerPart(std::string name) {
    std::replace_if(name.begin(), name.end(), [](char c) { return !NameCharacter(c); }, '_');
    return name.substr(0, 63);
}

// "YYYY-MM-DD HH-MM-SS", then " COMPUTER" (records shared by several
// computers never take one name), then " (N)" when taken: the names this
// program gives records. Older records lack the computer.
bool RecordFolderName(std::string_view name) {
    constexpr std::string_view shape = "0000-00-00 00-00-00";
    if (!Shaped(name.substr(0, shape.size()), shape)) return false;
    std::string_view rest = name.substr(shape.size());
    if (rest.size() > 3 && rest.ends_with(')')) {
        const std::size_t open = rest.rfind(" (");
        if (open == std::string_view::npos || !Digits(rest.substr(open + 2, rest.size() - open - 3))) return false;
        rest = rest.substr(0, open);
    }
    if (rest.empty()) return true;
    const std::string_view computer = rest.substr(1);
    return rest[0] == ' ' && !computer.empty() && computer.size() <= 63 &&
           std::all_of(computer.begin(), computer.end(), NameCharacter);
}

// Records of one computer and user, whose own 20 are kept.
bool SameOwner(const RecordHeader& a, const RecordHeader& b) {
    return EqualNoCase(a.computer, b.computer) && EqualNoCase(a.user, b.user);
}

std::optional<LocalTime> ParseTime(std::string_view text) {
    if (!Shaped(text, "0000-00-00 00:00:00")) return std::nullopt;
    LocalTime t{Number(text.substr(0, 4)),  Number(text.substr(5, 2)),  Number(text.substr(8, 2)),
                Number(text.substr(11, 2)), Number(text.substr(14, 2)), Number(text.substr(17, 2))};
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 60)
        return std::nullopt;
    return t;
}

bool Control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

}  // namespace

std::string FieldText(std::string text) {
    std::replace_if(text.begin(), text.end(), Control, '?');
    return text;
}

namespace {

bool PlainField(std::string_view text) { return std::none_of(text.begin(), text.end(), Control); }

std::string HeaderBytes(const RecordHeader& h) {
    std::string text = std::string(kHeaderTitle) + "\r\n";
    text += "computer\t" + FieldText(h.computer) + "\r\n";
    text += "user\t" + FieldText(h.user) + "\r\n";
    text += "time\t" + RecordTimeText(h.time) + "\r\n";
    text += "sequence\t" + std::to_string(h.sequence) + "\r\n";
    text += std::string("kind\t") + (h.restore ? "restore" : "run") + "\r\n";
    if (h.wow64) text += std::string(kWindows64Line) + "\r\n";
    return text;
}

// Empties a folder of a record. A link is removed as itself and never entered,
// so nothing outside the record is ever touched.
void RemoveContents(Platform& machine, const std::string& folder, const std::string& keepFile) {
    for (const std::string& sub : machine.listSubfolders(folder)) {
        const std::string path = folder + "\\" + sub;
        if (!machine.isLinkOrJunction(path)) RemoveContents(machine, path, {});
        machine.removeEmptyDirectory(path);
    }
    for (const std::string& file : machine.listVisibleFiles(folder, "*"))
        if (!EqualNoCase(file, keepFile)) machine.deleteFile(folder + "\\" + file);
}

void RemoveRecord(Platform& machine, const std::string& folder) {
    // The header goes last: a record that could not be emptied stays a record, tried again next time.
    RemoveContents(machine, folder, kRecordHeaderFile);
    machine.deleteFile(folder + "\\" + kRecordHeaderFile);
    machine.removeEmptyDirectory(folder);
}

}  // namespace

void MakeFolderPath(Platform& machine, const std::string& path) {
    if (path.empty() || machine.directoryExists(path)) return;
    const auto slash = path.find_last_of('\\');
    if (slash != std::string::npos) MakeFolderPath(machine, path.substr(0, slash));
    machine.createDirectory(path);
}

void PrepareUndoRoot(Platform& machine, const std::string& root) {
    MakeFolderPath(machine, root);
    // Shared application data lets every user make folders: the one above the records is ours alone too.
    bool defaultRoot = false;
    try {
        defaultRoot = EqualNoCase(root, DefaultUndoRoot(machine));
    } catch (const PlatformError&) {
        // The system cannot name its own place: the root is the one given.
    }
    if (defaultRoot) machine.protectFolder(ParentPath(root));
    machine.protectFolder(root);
}

std::optional<LocalTime> TimeOfRecordFolder(const std::string& folder) {
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    if (!RecordFolderName(name)) return std::nullopt;
    const auto number = [&](std::size_t at, std::size_t length) { return std::stoi(name.substr(at, length)); };
    LocalTime time{};
    time.year = number(0, 4), time.month = number(5, 2), time.day = number(8, 2);
    time.hour = number(11, 2), time.minute = number(14, 2), time.second = number(17, 2);
    return time;
}

std::string RecordTimeText(const LocalTime& t) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

std::string DefaultUndoRoot(Platform& machine) { return machine.commonAppDataFolder() + "\\Quillon\\undo"; }

std::optional<RecordHeader> ReadRecordHeader(Platform& machine, const std::string& folder) {
    // The one set of records: what is listed, chosen, pruned and restored.
    const std::string name = folder.substr(folder.find_last_of("\\/") + 1);
    if (!RecordFolderName(name) || machine.isLinkOrJunction(folder)) return std::nullopt;
    const std::string path = folder + "\\" + kRecordHeaderFile;
    std::string bytes;
    try {
        if (!machine.anyFileExists(path)) return std::nullopt;
        bytes = machine.readFileBytesAtMost(path, kLongestHeader);
    } catch (const PlatformError&) {
        return std::nullopt;  // unreadable, or far longer than any header: not one
    }
    if (bytes.size() > kLongestHeader || !bytes.ends_with("\r\n")) return std::nullopt;  // cut off or not ours
    std::vector<std::string_view> lines;
    const std::string_view all = bytes;
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = all.find("\r\n", start);
        lines.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    constexpr std::string_view names[] = {"computer", "user", "time", "sequence", "kind"};
    const bool wow64 = lines.size() == 2 + std::size(names) && lines.back() == kWindows64Line;
    if (lines.size() != 1 + std::size(names) + wow64 || lines[0] != kHeaderTitle) return std::nullopt;
    std::string_view values[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const std::string_view line = lines[i + 1];
        if (!line.starts_with(names[i]) || line.size() <= names[i].size() || line[names[i].size()] != '\t')
            return std::nullopt;
        values[i] = line.substr(names[i].size() + 1);
        if (!PlainField(values[i])) return std::nullopt;
    }
    RecordHeader header;
    header.computer = values[0];
    header.user = values[1];
    const auto time = ParseTime(values[2]);
    if (header.computer.empty() || !time || !Digits(values[3]) || values[3].size() > 18) return std::nullopt;
    header.time = *time;
    header.sequence = std::stoll(std::string(values[3]));
    if (values[4] != "run" && values[4] != "restore") return std::nullopt;
    header.restore = values[4] == "restore";
    header.wow64 = wow64;
    return header;
}

std::vector<StoredRecord> ListRecords(Platform& machine, const std::string& root) {
    std::vector<StoredRecord> records;
    if (!machine.directoryExists(root)) return records;
    for (const std::string& name : machine.listSubfolders(root)) {
        const std::string folder = root + "\\" + name;
        if (auto header = ReadRecordHeader(machine, folder))
            records.push_back({folder, std::move(*header), RecordUndone(machine, folder)});
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const StoredRecord& a, const StoredRecord& b) { return Order(a.header) > Order(b.header); });
    return records;
}

std::string CreateRecordFolder(Platform& machine, const std::string& root, bool restore) {
    PrepareUndoRoot(machine, root);
    RecordHeader header;
    header.computer = machine.computerName();
    header.user = machine.userName();
    header.time = machine.localTime();
    header.restore = restore;
    header.wow64 = machine.wow64();
    // Per computer: another computer sharing the folder counts its own.
    for (const StoredRecord& r : ListRecords(machine, root))
        if (EqualNoCase(r.header.computer, header.computer)) header.sequence = std::max(header.sequence, r.header.sequence);
    ++header.sequence;

    // Making the folder is the claim: a name another run took first is passed over.
    const std::string name = FolderName(header.time) + " " + ComputerPart(header.computer);
    std::string folder = root + "\\" + name;
    for (int n = 2;; ++n) {
        if (!machine.directoryExists(folder) && !machine.anyFileExists(folder)) {
            try {
                machine.createDirectory(folder);
                break;
            } catch (const PlatformError&) {
                if (!machine.directoryExists(folder)) throw;  // not another run taking the same name first
            }
        }
        folder = root + "\\" + name + " (" + std::to_string(n) + ")";
    }
    try {
        machine.appendFileFlushed(folder + "\\" + kRecordHeaderFile, HeaderBytes(header));
    } catch (const PlatformError&) {
        // A folder without its whole header is no record: it does not stay behind.
        try {
            if (machine.anyFileExists(folder + "\\" + kRecordHeaderFile))
                machine.deleteFile(folder + "\\" + kRecordHeaderFile);
            machine.removeEmptyDirectory(folder);
        } catch (const PlatformError&) {
        }
        throw;
    }
    return folder;
}

void PruneRecords(Platform& machine, const std::string& root, int keep, const std::vector<std::string>& kept) {
    const std::vector<StoredRecord> records = ListRecords(machine, root);
    const auto isKept = [&](const StoredRecord& r) {
        return std::any_of(kept.begin(), kept.end(), [&](const std::string& k) { return EqualNoCase(r.folder, k); });
    };
    // Only this computer and user's own records go, past their newest `keep`;
    // the record just made (and one being restored) are among those kept,
    // however old their headers say they are.
    RecordHeader owner;
    owner.computer = machine.computerName();
    owner.user = machine.userName();
    const auto mine = [&](const StoredRecord& r) { return SameOwner(r.header, owner); };
    int othersKept = std::max(
        0, keep - static_cast<int>(std::count_if(records.begin(), records.end(),
                                                 [&](const StoredRecord& r) { return isKept(r) && mine(r); })));
    for (const StoredRecord& r : records) {
        if (isKept(r) || !mine(r)) continue;
        if (othersKept > 0) {
            --othersKept;
            continue;
        }
        try {
            RemoveRecord(machine, r.folder);
        } catch (const PlatformError&) {
            // An old record that cannot go stays; the run goes on all the same.
        }
    }
}

// Seconds since 1 January 1970 of a local time, for comparing two of them.
long long Seconds(const LocalTime& t) {
    const int y = t.month <= 2 ? t.year - 1 : t.year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (t.month + (t.month > 2 ? -3 : 9)) + 2) / 5 + t.day - 1;
    const long long days = era * 146097LL + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

bool DatedAfterNow(const RecordHeader& header, const LocalTime& now) {
    constexpr long long kClockSetBack = 3600;
    return Seconds(header.time) > Seconds(now) + kClockSetBack;
}

std::optional<std::string> RecordToUndo(Platform& machine, const std::string& root) {
    const std::string computer = machine.computerName();
    const std::string user = machine.userName();
    const LocalTime now = machine.localTime();
    for (const StoredRecord& r : ListRecords(machine, root))
        if (!r.undone && !r.header.restore && !DatedAfterNow(r.header, now) && EqualNoCase(r.header.computer, computer) &&
            EqualNoCase(r.header.user, user))
            return r.folder;
    return std::nullopt;
}

}  // namespace quillon
