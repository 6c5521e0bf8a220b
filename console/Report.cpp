#include "console/Report.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "console/NetRun.h"
#include "engine/Phases.h"
#include "engine/SelectionForm.h"
#include "engine/ServiceCatalogue.h"
#include "platform/Platform.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"

namespace quillon::console {
namespace {

constexpr const char* kHeading[] = {"computer", "user", "time", "verb", "page", "number",
                                    "caption",  "result", "now", "wanted"};

const char* VerbName(Verb verb) {
    switch (verb) {
    case Verb::Status: return "STATUS";
    case Verb::Check: return "CHECK";
    case Verb::Apply: return "APPLY";
    case Verb::Undo: return "UNDO";
    default: return "";
    }
}

std::string IsoTime(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

// One report row per box, entry or control: what a step's changes count under.
struct Item {
    Page page;
    std::string number;
    std::string caption;
    int box = -1, entry = -1;
};

std::vector<Item> ItemsOf(Page page) {
    std::vector<Item> items;
    if (page == Page::Services) {
        for (int entry = 0; entry < kServiceCount; ++entry)
            items.push_back({page, std::to_string(entry), std::string(kServices[entry].listText), -1, entry});
        return items;
    }
    for (int box = 0; box < kCheckBoxCount; ++box)
        if (PageOfBox(box) == page) items.push_back({page, std::to_string(box), BoxCaption(box), box, -1});
    // The page's other controls, as its steps name them, whatever they hold now.
    for (const StepTag& step : ControlSteps(page)) items.push_back({page, StepNumber(step), StepCaption(step)});
    return items;
}

bool Names(const Item& item, const StepTag& step) {
    if (step.page != item.page) return false;
    if (item.entry >= 0) return step.entry == item.entry && step.boxes[0] < 0;
    if (item.box >= 0) return step.hasBox(item.box);
    return step.boxes[0] < 0 && step.entry < 0 && StepNumber(step) == item.number;
}

bool LeftAlone(const Request& request, const Item& item) {
    if (!request.listed) return false;
    if (item.entry >= 0) return !request.listed->namesEntry(item.entry);
    return item.box < 0 || !request.listed->names(item.box);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : " ; ") + part;
    return text;
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        if (i) line += ',';
        if (f.find_first_of(",\"\r\n") == std::string::npos) {
            line += f;
            continue;
        }
        line += '"';
        for (char c : f) line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

std::vector<ReportRow> NetChangeRows(VerbContext& verb, const SavedSelection* saved,
                                     const std::vector<Change>& changes, const std::vector<StepFailure>& failures,
                                     bool applied) {
    SelectionForm wanted;
    PutRequestedSelection(wanted, verb.request, saved);
    std::vector<ReportRow> rows;
    for (Page page : InRunOrder(verb.request.pages))
        for (const Item& item : ItemsOf(page)) {
            ReportRow row{PageName(page), item.number, item.caption, {}, {}, {}};
            if (LeftAlone(verb.request, item)) {
                row.result = "left alone";
                rows.push_back(std::move(row));
                continue;
            }
            bool drift = false, unread = false, absent = false;
            std::vector<std::string> now, after;
            for (const Change& change : changes) {
                if (!change.changed || std::none_of(change.steps.begin(), change.steps.end(),
                                                    [&](const StepTag& s) { return Names(item, s); }))
                    continue;
                if (!change.present) {
                    absent = true;
                } else if (!change.readable) {
                    unread = true;
                    after.push_back(DescribeWhat(change));
                } else {
                    drift = true;
                    now.push_back(DescribeState(change.before));
                    after.push_back(DescribeState(change.after));
                }
            }
            const bool failed = std::any_of(failures.begin(), failures.end(),
                                            [&](const StepFailure& f) { return Names(item, f.step); });
            if (applied) row.result = failed ? "failed" : drift || unread ? "changed" : absent ? "not present" : "unchanged";
            else row.result = drift ? "drift" : unread ? "not checked" : absent ? "not present" : "ok";
            const std::string side =
                item.entry >= 0 ? (wanted.listSelected(CheckList::Service, item.entry) ? "on" : "off")
                : item.box >= 0 ? (wanted.ticked(item.box) ? "on" : "off")
                                : std::string();
            // A box that matches holds its side; one that drifts shows the values that differ.
            row.now = row.wanted = side;
            if (drift && !applied) row.now = Joined(now), row.wanted = Joined(after);
            if (unread && !applied) row.now.clear(), row.wanted = Joined(after);
            if (failed) row.now.clear();
            rows.push_back(std::move(row));
        }
    return rows;
}

std::vector<ReportRow> RestoreRows(const RestoreReport& report) {
    std::vector<ReportRow> rows;
    for (const RecordedEffect& e : report.effects)
        if (e.changes) rows.push_back({PageName(e.step.page), StepNumber(e.step), DescribeEffect(e.effect),
                                       e.failed ? "failed" : "changed", e.failed ? e.before : e.after, e.after});
    for (const KeptTarget& kept : report.kept) rows.push_back({"", "", kept.target, "unchanged", kept.why, ""});
    return rows;
}

bool AppendReport(VerbContext& verb, const std::vector<ReportRow>& rows, int exitStatus) {
    const std::string path = *verb.request.reportFile;
    std::string computer, user;
    try {
        computer = verb.platform.computerName();
        user = verb.platform.userName();
    } catch (const PlatformError&) {
        // A row without them still says what it found.
    }
    const std::string time = IsoTime(verb.platform.universalTime());
    const std::string verbName = VerbName(verb.request.verb);
    std::string block;
    std::map<std::string, int> counts;
    for (const ReportRow& r : rows) {
        block += CsvLine({computer, user, time, verbName, r.page, r.number, r.caption, r.result, r.now, r.wanted});
        ++counts[r.result];
    }
    std::string tally;
    for (const auto& [result, count] : counts) tally += (tally.empty() ? "" : "; ") + result + " " + std::to_string(count);
    block += CsvLine({computer, user, time, verbName, "", "", "summary", "exit " + std::to_string(exitStatus), tally, ""});

    // A new file starts with the byte-order mark, so a spreadsheet reads it as UTF-8, and the heading.
    const std::string heading = "\xEF\xBB\xBF" + CsvLine(std::vector<std::string>(std::begin(kHeading), std::end(kHeading)));
    const std::chrono::milliseconds bound =
        verb.request.waitSeconds ? std::chrono::seconds(*verb.request.waitSeconds) : kRunLockBound;
    try {
        if (verb.platform.appendUnderLock(path, heading, block, bound)) return true;
        verb.say("the report " + path + " stayed locked by another program for " +
                 std::to_string(bound.count() / 1000) + " s; nothing was added to it");
    } catch (const PlatformError& error) {
        verb.say("the report could not be written: " + std::string(error.what()));
    }
    return false;
}

}  // namespace quillon::console
