#include "console/Report.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

#include "console/NetRun.h"
#include "console/Verbs.h"
#include "engine/Phases.h"
#include "engine/SelectionForm.h"
#include "engine/ServiceCatalogue.h"
#include "platform/Platform.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"

namespace quillon::console {
namespace {

constexpr const char* kHeading[] = {"computer", "user", "time", "verb", "page", "number",
                                    "caption",  "result", "now", "wanted", "run",  "target"};

// What ties a run's rows together: its undo record's folder name where it
// kept one, else the computer, the time and a number from the clock (two
// runs of one computer in one second still differ).
std::string RunId(const std::string& recordFolder, const std::string& computer, const std::string& time) {
    if (!recordFolder.empty()) return recordFolder.substr(recordFolder.find_last_of("\\/") + 1);
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%06llx", static_cast<unsigned long long>(tick) & 0xFFFFFFu);
    return computer + " " + time + " " + suffix;
}

// A report folder holds one file a computer, each replaced whole by its
// computer's newest run: no lock to queue on, no file growing without bound.
int WriteMachineReport(VerbContext& verb, const std::string& folder, const std::string& computer,
                       const std::string& text, int exitStatus, int unwritten) {
    if (computer.empty() || computer.find_first_of("\\/:*?\"<>|") != std::string::npos) {
        verb.say("the report could not be written: this computer's name cannot name a file in " + folder);
        return unwritten;
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    try {
        verb.platform.replaceTextFile(folder + computer + ".csv", lines);
        return exitStatus;
    } catch (const PlatformError& error) {
        verb.say("the report could not be written: " + std::string(error.what()));
    }
    return unwritten;
}

}  // namespace

bool ReportFolder(const std::string& report) { return !report.empty() && (report.back() == '\\' || report.back() == '/'); }

const char* ReportVerbName(Verb verb) {
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

namespace {

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

// A desired state of /on, /off or a boxes file manages only what it names.
bool LeftAlone(const Request& request, const Item& item) {
    if (!request.listed) return false;
    if (item.entry >= 0) return !request.listed->namesEntry(item.entry);
    if (item.box >= 0) return !request.listed->names(item.box);
    return !request.listed->namesControl(item.number);
}

std::string DriveLetters(const Form& form, CheckList list) {
    std::string letters;
    for (int i = 0; i < kDriveCount; ++i)
        if (form.listSelected(list, i)) letters += (letters.empty() ? "" : ",") + std::string(1, static_cast<char>('A' + i));
    return letters.empty() ? "none" : letters;
}

// What the desired state holds for an item: a box's or entry's side, a
// control's value as a boxes file writes it.
std::string WantedValue(const Form& wanted, const Item& item) {
    if (item.entry >= 0) return wanted.listSelected(CheckList::Service, item.entry) ? "on" : "off";
    if (item.box >= 0) return wanted.ticked(item.box) ? "on" : "off";
    if (item.number == "Combo2") return std::to_string(wanted.comboIndex(Combo::Prefetch));
    if (item.number == "txtPath") return wanted.txtPath();
    if (item.number == "lstHide") return DriveLetters(wanted, CheckList::Hide);
    if (item.number == "lstNot") return DriveLetters(wanted, CheckList::Not);
    return {};
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : " ; ") + part;
    return text;
}

}  // namespace

std::string CsvField(const std::string& field) {
    // A spreadsheet takes a field starting so for a formula (a name may: "@admin",
    // "-dev"); an apostrophe first makes it text and still shows the name.
    if (field.empty() || std::string_view("=+-@\t\r").find(field.front()) == std::string_view::npos) return field;
    const bool number = (field.front() == '-' || field.front() == '+') &&
                        field.find_first_of("0123456789") != std::string::npos &&
                        field.find_first_not_of("0123456789.", 1) == std::string::npos;
    return number || field == "-" ? field : "'" + field;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string f = CsvField(fields[i]);
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
            ReportRow row{PageName(page), item.number, item.caption, {}, {}, {}, {}};
            if (LeftAlone(verb.request, item)) {
                row.result = "left alone";
                rows.push_back(std::move(row));
                continue;
            }
            bool drift = false, unread = false, absent = false;
            std::vector<std::string> now, after, what;
            for (const Change& change : changes) {
                if (std::none_of(change.steps.begin(), change.steps.end(),
                                 [&](const StepTag& s) { return Names(item, s); }))
                    continue;
                // A service the machine lacks is neither on nor off, whatever the plan would write.
                if (!change.present) {
                    absent = true;
                } else if (!change.changed) {
                    continue;
                } else if (!change.readable) {
                    unread = true;
                    what.push_back(DescribeWhat(change));
                    after.push_back(DescribeWhat(change));
                } else {
                    drift = true;
                    what.push_back(DescribeWhat(change));
                    now.push_back(DescribeState(change.before));
                    after.push_back(DescribeState(change.after));
                }
            }
            const bool failed = std::any_of(failures.begin(), failures.end(),
                                            [&](const StepFailure& f) { return Names(item, f.step); });
            if (applied) row.result = failed ? "failed" : drift || unread ? "changed" : absent ? "not present" : "unchanged";
            else row.result = drift ? "drift" : unread ? "not checked" : absent ? "not present" : "ok";
            // An item that matches holds what is wanted; one that drifts shows the values that differ.
            row.now = row.wanted = WantedValue(wanted, item);
            if (drift && !applied) row.now = Joined(now), row.wanted = Joined(after);
            if (unread && !applied) row.now.clear(), row.wanted = Joined(after);
            if (failed || row.result == "not present") row.now.clear();
            row.target = Joined(what);
            rows.push_back(std::move(row));
        }
    return rows;
}

std::vector<ReportRow> RestoreRows(const RunResult& result) {
    std::vector<ReportRow> rows;
    for (const ChangeOutcome& c : result.changes) {
        // A target kept as it is reads, as on stdout, why; one put back what it holds now.
        const bool kept = c.before == "-" && c.result == "unchanged";
        rows.push_back({c.pages, c.numbers, c.captions, c.result, kept ? c.after : c.result == "failed" ? c.before : c.after,
                        kept ? "" : c.after, c.what});
    }
    return rows;
}

int AppendReport(VerbContext& verb, const std::vector<ReportRow>& rows, int exitStatus, int unwritten,
                 const std::string& recordFolder) {
    if (!verb.request.reportFile) return exitStatus;
    const std::string path = *verb.request.reportFile;
    std::string computer, user;
    try {
        computer = verb.platform.computerName();
        user = verb.platform.userName();
    } catch (const PlatformError&) {
        // A row without them still says what it found.
    }
    const std::string time = IsoTime(verb.platform.universalTime());
    const std::string verbName = ReportVerbName(verb.request.verb);
    const std::string run = RunId(recordFolder, computer, time);
    std::string block;
    std::map<std::string, int> counts;
    for (const ReportRow& r : rows) {
        block += CsvLine({computer, user, time, verbName, r.page, r.number, r.caption, r.result, r.now, r.wanted, run, r.target});
        ++counts[r.result];
    }
    std::string tally;
    for (const auto& [result, count] : counts) tally += (tally.empty() ? "" : "; ") + result + " " + std::to_string(count);
    block += CsvLine({computer, user, time, verbName, "", "", "summary", "exit " + std::to_string(exitStatus), tally, "", run, ""});

    const std::vector<std::string> headingFields(std::begin(kHeading), std::end(kHeading));
    if (ReportFolder(path)) return WriteMachineReport(verb, path, computer, CsvLine(headingFields) + block, exitStatus, unwritten);
    // A new file starts with the byte-order mark, so a spreadsheet reads it as UTF-8, and the heading.
    const std::string heading = "\xEF\xBB\xBF" + CsvLine(headingFields);
    const std::chrono::milliseconds bound =
        verb.request.waitSeconds ? std::chrono::seconds(*verb.request.waitSeconds) : kRunLockBound;
    try {
        if (verb.platform.appendUnderLock(path, heading, block, bound)) return exitStatus;
        verb.say("the report file is in use: " + path + " stayed open or locked in another program for " +
                 std::to_string(bound.count() / 1000) + " s; nothing was added to it (exit status " +
                 std::to_string(exitStatus) + " without the report)");
        return kReportInUse;
    } catch (const PlatformError& error) {
        verb.say("the report could not be written: " + std::string(error.what()));
    }
    return unwritten;
}

}  // namespace quillon::console
