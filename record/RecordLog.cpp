#include "record/RecordLog.h"

#include "platform/Platform.h"
#include "record/RecordFiles.h"
#include "record/RecordStore.h"

namespace quillon {
namespace {

constexpr std::string_view kKept = "KEPT\t";
constexpr std::string_view kFailed = "FAILED ";

// A field stays one field on one line.
std::string OneField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

std::vector<std::string> Split(std::string_view line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.emplace_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

std::string KeptLogLine(const std::vector<std::string>& stepFields, const std::string& target, const std::string& why) {
    std::string line(kKept);
    for (const std::string& field : stepFields) line += OneField(field) + "\t";
    return line + OneField(target) + "\t" + OneField(why);
}

std::vector<LoggedTarget> LoggedTargets(Platform& machine, const std::string& folder) {
    std::vector<LoggedTarget> logged;
    const std::string log = folder + "\\" + kChangesLog;
    try {
        if (!machine.anyFileExists(log)) return logged;
        const std::string text = machine.readFileBytesAtMost(log, kLongestRecordFile);
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string_view line = std::string_view(text).substr(start, end - start);
            if (line.starts_with(kFailed))
                logged.push_back({false, std::string(line.substr(kFailed.size())), {}, {}, {}});
            if (!line.starts_with(kKept)) continue;
            std::vector<std::string> fields = Split(line.substr(kKept.size()));
            if (fields.size() != 5) continue;  // not a line this program wrote
            logged.push_back({true, {}, {fields[0], fields[1], fields[2]}, fields[3], fields[4]});
        }
    } catch (const PlatformError&) {
        // The log is for people; the record's state is what counts.
    }
    return logged;
}

}  // namespace quillon
