#include "window/SystemMenuActions.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "engine/Form.h"
#include "record/Journal.h"
#include "planning/LiveSelection.h"
#include "planning/Plan.h"
#include "record/RecordReader.h"
#include "record/RecordState.h"
#include "record/RecordStore.h"
#include "restore/Restore.h"
#include "record/UndoRecordWriter.h"
#include "window/ScreenWords.h"
#include "words/StepNames.h"


namespace quillon {
namespace {

std::optional<Page> PageOnView(const Form& form) {
    for (Page page : RunOrder())
        if (form.pageVisible(page)) return page;
    return std::nullopt;
}

bool HasLiveState(Page page) { return page == Page::System || page == Page::Security || page == Page::Services; }

// A cell never holds a tab or line break: the copied text keeps one row a line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

void AppendLine(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? "\t" : "") + OneLine(cells[i]);
    out += "\r\n";
}

// "YYYY-MM-DD HH-MM-SS" or "... (N)", the record folder's own name, as a time.
std::string TimeOfFolder(const std::string& folder) {
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    if (name.size() < 19 || name[4] != '-' || name[10] != ' ' || name[13] != '-' || name[16] != '-') return {};
    std::string time = name.substr(0, 19);
    time[13] = time[16] = ':';
    return time;
}

void ReadHeader(Platform& platform, UndoOffer& offer) {
    const std::optional<RecordHeader> header = ReadRecordHeader(platform, offer.folder);
    if (!header) return;
    offer.computer = header->computer;
    offer.user = header->user;
    char made[24];
    std::snprintf(made, sizeof made, "%04d-%02d-%02d %02d:%02d:%02d", header->time.year, header->time.month,
                  header->time.day, header->time.hour, header->time.minute, header->time.second);
    offer.made = made;
}

// What the record says of the run: its pages, how many changes it made and
// the tools it ran, which no record can take back.
void ReadChanges(Platform& platform, UndoOffer& offer) {
    std::vector<StateLine> lines;
    try {
        lines = ReadRecord(platform, offer.folder).lines;
    } catch (const std::exception&) {
        return;  // the restore names what is wrong with it
    }
    for (Page page : ChangedPages(lines)) offer.pages.push_back(PageName(page));
    offer.changes = CountChanges(lines);
    for (const StateLine& line : lines) {
        if (line.kind != StateKind::Change || line.changed != TargetKind::Tool) continue;
        std::string tool = line.target;
        const std::size_t exe = tool.find(".exe");
        const std::size_t slash = tool.find_last_of('\\', exe);
        if (exe != std::string::npos && slash != std::string::npos) tool = tool.substr(slash + 1);
        if (std::find(offer.lasting.begin(), offer.lasting.end(), tool) == offer.lasting.end())
            offer.lasting.push_back(tool);
    }
}

}  // namespace

PreviewTable PreviewPageOnView(RunContext& context) {
    PreviewTable table{"Preview changes", {"Side", "Box", "What", "Before", "After"}, {}, {}};
    const std::optional<Page> page = PageOnView(context.form);
    if (!page) return table;
    table.title += " - " + PageName(*page);
    const Page pages[] = {*page};
    for (const PlannedEffect& p : PlanRun(context.form, context.platform, context.userName, pages))
        if (p.changes)
            table.rows.push_back({ScreenSide(context.form, p.step), ScreenCaption(p.step), DescribeEffect(p.effect),
                                  p.before, p.after});
    const std::size_t n = table.rows.size();
    table.count = (n == 0 ? std::string("No change") : std::to_string(n) + (n == 1 ? " change" : " changes")) +
                  " if Optimize applied the " + PageName(*page) + " page now. Nothing has been changed.";
    return table;
}

std::string PreviewRowsAsText(const PreviewTable& table, const std::vector<std::size_t>& rows) {
    std::string out;
    AppendLine(out, table.columns);
    for (std::size_t row : rows)
        if (row < table.rows.size()) AppendLine(out, table.rows[row]);
    return out;
}

bool CurrentStateCovers(const Form& form) {
    const std::optional<Page> page = PageOnView(form);
    return page && HasLiveState(*page);
}

bool ShowCurrentState(RunContext& context) {
    const std::optional<Page> page = PageOnView(context.form);
    if (!page || !HasLiveState(*page)) return false;
    const Page pages[] = {*page};
    PutLiveSelection(context.form, context.platform, context.userName, pages, PartialBoxes::Greyed);
    return true;
}

UndoOffer NewestUndoRecord(Platform& platform) {
    std::optional<std::string> folder;
    try {
        folder = RecordToUndo(platform, DefaultUndoRoot(platform));
    } catch (const PlatformError&) {
        return {};  // no place for records on this machine: none to offer
    }
    if (!folder) return {};
    UndoOffer offer;
    offer.folder = *folder;
    offer.restores = DescribeRecord(platform, offer.folder);
    offer.made = TimeOfFolder(offer.folder);
    ReadHeader(platform, offer);
    ReadChanges(platform, offer);
    return offer;
}

RestoreReport RestoreOffer(Platform& platform, const UndoOffer& offer) {
    RestoreReport report = RestoreRecord(platform, offer.folder);
    // Taken back whole: the next offer is the record before it.
    if (report.failed == 0) MarkUndone(platform, offer.folder, report.undoFolder);
    return report;
}

}  // namespace quillon
