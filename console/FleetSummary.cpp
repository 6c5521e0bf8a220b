#include "console/FleetSummary.h"

#include <cstdio>

#include "console/RunResult.h"
#include "console/Verbs.h"
#include "platform/Platform.h"

namespace quillon::console {
namespace {

// Distinct drifts kept an item: a fleet's values (a folder typed on each PC) must not grow without bound.
constexpr std::size_t kDriftKinds = 20;

std::string Column(const std::vector<std::string>& heading, const std::vector<std::string>& row, const char* name) {
    for (std::size_t i = 0; i < heading.size() && i < row.size(); ++i)
        if (heading[i] == name) return row[i];
    return {};
}

}  // namespace

std::vector<std::string> CsvFieldsOf(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') fields.back() += c, ++i;
        else if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) fields.emplace_back();
        else fields.back() += c;
    }
    for (std::string& f : fields)
        if (f.size() > 1 && f[0] == '\'' && std::string_view("=+-@\t\r").find(f[1]) != std::string_view::npos) f.erase(0, 1);
    return fields;
}

bool FleetTally::add(const std::vector<std::string>& lines) {
    if (lines.empty()) return false;
    std::string first = lines[0];
    if (first.rfind("\xEF\xBB\xBF", 0) == 0) first.erase(0, 3);
    const std::vector<std::string> heading = CsvFieldsOf(first);
    if (heading.empty() || heading[0] != "computer") return false;
    // The last block: a file appended to by several runs counts its newest.
    std::size_t begin = 1, end = lines.size();
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (Column(heading, CsvFieldsOf(lines[i]), "caption") == "summary") {
            if (i + 1 < lines.size()) begin = i + 1;
            else end = i;
        }
    if (begin > 1 && begin == lines.size()) return false;
    ++machines_;
    for (std::size_t i = begin; i < end; ++i) {
        const std::vector<std::string> row = CsvFieldsOf(lines[i]);
        const std::string page = Column(heading, row, "page"), number = Column(heading, row, "number");
        const std::string result = Column(heading, row, "result");
        if (page.empty() || Column(heading, row, "caption") == "summary") continue;
        const auto [at, added] = byItem_.emplace(page + "\t" + number, items_.size());
        if (added) items_.push_back({page, number, Column(heading, row, "caption"), 0, 0, 0, {}, 0});
        ItemTally& item = items_[at->second];
        if (result == "ok" || result == "unchanged") ++item.ok;
        else if (result == "not present") ++item.absent;
        else if (result == "drift") {
            ++item.drift;
            const std::string kind = Column(heading, row, "now") + " -> " + Column(heading, row, "wanted");
            if (auto known = item.drifts.find(kind); known != item.drifts.end()) ++known->second;
            else if (item.drifts.size() < kDriftKinds) item.drifts.emplace(kind, 1);
            else ++item.otherDrifts;
        }
    }
    return true;
}

int FleetSummary(VerbContext& verb) {
    std::string folder = *verb.request.fleetFolder;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    if (!verb.platform.directoryExists(folder)) {
        verb.say(folder + ": no such folder");
        return kBadUsage;
    }
    FleetTally tally;
    int unreadable = 0;
    // One file at a time: a fleet's folder is read whole, never held whole.
    for (const std::string& name : verb.platform.listVisibleFiles(folder, "*.csv")) {
        try {
            if (tally.add(verb.platform.readTextFile(folder + "\\" + name))) continue;
            verb.say(name + ": not a report file");
        } catch (const PlatformError& error) {
            verb.say(name + ": " + error.what());
        }
        ++unreadable;
    }
    int drifting = 0;
    for (const ItemTally& item : tally.items()) drifting += item.drift;
    if (verb.request.json) {
        std::string json = "{\"folder\": " + JsonString(folder) + ", \"machines\": " + std::to_string(tally.machines()) +
                           ", \"unreadable\": " + std::to_string(unreadable) + ", \"items\": [";
        for (const ItemTally& item : tally.items()) {
            json += std::string(&item == &tally.items().front() ? "\n" : ",\n") + "  {\"page\": " + JsonString(item.page) +
                    ", \"number\": " + JsonString(item.number) + ", \"caption\": " + JsonString(item.caption) +
                    ", \"ok\": " + std::to_string(item.ok) + ", \"drift\": " + std::to_string(item.drift) +
                    ", \"notPresent\": " + std::to_string(item.absent) + ", \"drifts\": [";
            bool firstDrift = true;
            for (const auto& [kind, count] : item.drifts) {
                json += std::string(firstDrift ? "" : ", ") + "{\"drift\": " + JsonString(kind) +
                        ", \"machines\": " + std::to_string(count) + "}";
                firstDrift = false;
            }
            json += "], \"otherDrifts\": " + std::to_string(item.otherDrifts) + "}";
        }
        verb.terminal.out(json + "]}");
    } else {
        for (const ItemTally& item : tally.items()) {
            std::string which;
            for (const auto& [kind, count] : item.drifts)
                which += (which.empty() ? "" : " ; ") + kind + " (" + std::to_string(count) + ")";
            if (item.otherDrifts) which += (which.empty() ? "" : " ; ") + std::string("other (") + std::to_string(item.otherDrifts) + ")";
            verb.terminal.out(item.page + "\t" + item.number + "\t" + item.caption + "\tok " + std::to_string(item.ok) +
                              "\tdrift " + std::to_string(item.drift) + "\tnot present " + std::to_string(item.absent) +
                              "\t" + (which.empty() ? "-" : which));
        }
        verb.terminal.out("summary\tmachines " + std::to_string(tally.machines()) + "\tunreadable " +
                          std::to_string(unreadable));
    }
    return drifting ? kDrifted : kDone;
}

}  // namespace quillon::console
