#include "window/SystemMenuActions.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "engine/Form.h"
#include "record/Journal.h"
#include "planning/LiveSelection.h"
#include "planning/NetChange.h"
#include "planning/Plan.h"
#include "record/RecordReader.h"
#include "record/RecordChanges.h"
#include "record/RecordState.h"
#include "record/RecordStore.h"
#include "record/UndoneMarks.h"
#include "restore/Restore.h"
#include "record/UndoRecordWriter.h"
#include "restore/RecordCheck.h"
#include "platform/RegValue.h"
#include "window/OptimiseRun.h"
#include "window/RunEvents.h"
#include "window/ScreenWords.h"
#include "words/StepNames.h"
#include "effects/ChangeWords.h"


namespace quillon {
namespace {

std::optional<Page> PageOnView(const Form& form) {
    for (Page page : RunOrder())
        if (form.pageVisible(page)) return page;
    return std::nullopt;
}

constexpr std::string_view kPriorityControl = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\PriorityControl";

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

// "YYYY-MM-DD HH:MM:SS".
std::string MadeText(const LocalTime& time) {
    char made[24];
    std::snprintf(made, sizeof made, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return made;
}

void ReadHeader(Platform& platform, UndoOffer& offer) {
    const std::optional<RecordHeader> header = ReadRecordHeader(platform, offer.folder);
    if (!header) return;
    offer.computer = header->computer;
    offer.user = header->user;
    offer.made = MadeText(header->time);
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
    const std::vector<Change> changes = RecordedChanges(lines);
    offer.changes = static_cast<int>(changes.size());
    for (const Change& change : changes) {
        if (change.target.kind != TargetKind::Tool) continue;
        const std::string tool = ToolInBrief(change.target.path);
        if (std::find(offer.lasting.begin(), offer.lasting.end(), tool) == offer.lasting.end())
            offer.lasting.push_back(tool);
    }
    for (const StepTag& step : FailedSteps(lines)) offer.failed.push_back(FailedStepInWords(step));
}

// With chk 56's own value not in place, Combo3 still shows what the machine
// does: Windows' own processor scheduling, which the box's caption and
// entries name (Programs: a quantum boost for the window in front).
void ShowProcessorScheduling(RunContext& context) {
    std::optional<RegValue> value;
    try {
        value = context.platform.registryValue(std::string(kPriorityControl), "Win32PrioritySeparation");
    } catch (const PlatformError&) {
        return;
    }
    const std::optional<std::uint32_t> separation = value ? DwordOf(*value) : std::nullopt;
    if (separation) context.form.setComboIndex(Combo::Priority, (*separation & 3u) == 0 ? 1 : 0);
}

// Joins the words of the steps of one change, each once.
void AddOnce(std::string& field, const std::string& words) {
    if (words.empty() || ("/ " + field + " /").find("/ " + words + " /") != std::string::npos) return;
    field += (field.empty() ? "" : " / ") + words;
}

}  // namespace

PreviewTable PreviewPageOnView(RunContext& context) {
    PreviewTable table{"Preview changes", {"Box is", "Setting", "What", "Before", "After"}, {}, {}, {}, {}};
    const std::optional<Page> page = PageOnView(context.form);
    if (!page) return table;
    table.title += " - " + PageName(*page);
    const Page pages[] = {*page};
    int unticked = 0;
    // Target by target, as the run's undo record will count its changes.
    for (const Change& change : PlanNetChanges(context.form, context.platform, context.userName, pages)) {
        if (!change.changed || !change.present) continue;
        std::string side, caption;
        for (const StepTag& step : change.steps) {
            AddOnce(side, ScreenSide(context.form, step));
            AddOnce(caption, ScreenCaption(step));
        }
        unticked += side.find("unticked") != std::string::npos ? 1 : 0;
        // A tool's work cannot be read before or after: say what it will do.
        const bool tool = !change.readable;
        table.rows.push_back({side, caption, TargetInBrief(*change.effect),
                              tool ? "cannot be read" : StateInWords(change.before),
                              tool ? "runs " + ToolInBrief(change.effect->target) : StateInWords(change.after)});
        table.whole.push_back(DescribeWhat(change));
    }
    const std::size_t n = table.rows.size();
    if (n == 0) {
        table.count = "Optimize would change nothing on this page.";
        return table;
    }
    // Optimize writes both sides of every box, which is why four ticks can make many more changes.
    if (unticked == 0) table.lead = "Every change comes from a ticked box or another setting of the page.";
    else
        table.lead = std::to_string(unticked) + " of these changes " + (unticked == 1 ? "comes" : "come") +
                     " from unticked boxes: Optimize also writes what an unticked box stands for.";
    table.count = std::to_string(n) + (n == 1 ? " change" : " changes") + " if Optimize applied the " +
                  PageName(*page) + " page now. Nothing has been changed.";
    return table;
}

std::string PreviewRowsAsText(const PreviewTable& table, const std::vector<std::size_t>& rows) {
    std::string out;
    AppendLine(out, table.columns);
    for (std::size_t row : rows) {
        if (row >= table.rows.size()) continue;
        std::vector<std::string> cells = table.rows[row];
        if (row < table.whole.size() && cells.size() > 2) cells[2] = table.whole[row];
        AppendLine(out, cells);
    }
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
    int atDefaults = 0;
    for (const LiveBox& live : PutLiveSelection(context.form, context.platform, context.userName, pages,
                                                PartialBoxes::Greyed))
        atDefaults += live.box >= 0 && live.state == BoxState::NotSet;
    if (*page == Page::System && context.form.chk(56) != kTicked) ShowProcessorScheduling(context);
    context.form.setLabel(Label::Wait, CurrentStateText(atDefaults));
    return true;
}

std::string CurrentStateText(int boxesAtDefaults) {
    std::string text(kCurrentStateShown);
    if (boxesAtDefaults > 0)
        text += " " + std::to_string(boxesAtDefaults) + " at Windows' defaults.";
    return text;
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
    if (const auto made = TimeOfRecordFolder(offer.folder)) offer.made = MadeText(*made);
    ReadHeader(platform, offer);
    ReadChanges(platform, offer);
    try {
        const std::optional<RecordHeader> header = ReadRecordHeader(platform, offer.folder);
        if (!header) throw RecordRefused("its first file is damaged");
        CheckRecord(platform, ReadRecord(platform, offer.folder), *header, platform.computerName(), platform.userName());
    } catch (const PlatformError& error) {
        offer.refused = error.what();
    }
    return offer;
}

RestoreReport RestoreOffer(Platform& platform, const UndoOffer& offer) {
    RestoreReport report;
    try {
        report = RestoreRecord(platform, offer.folder);
    } catch (const std::exception& error) {
        ReportWindowUndo(platform, offer.folder, nullptr, error.what());
        throw;
    }
    ReportWindowUndo(platform, offer.folder, &report);
    // Taken back whole: the next offer is the record before it.
    if (report.failed == 0) MarkUndone(platform, offer.folder, report.undoFolder, static_cast<int>(report.kept.size()));
    else MarkPartlyUndone(platform, offer.folder, report.undoFolder);
    return report;
}

}  // namespace quillon
