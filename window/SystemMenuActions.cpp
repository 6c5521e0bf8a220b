#include "window/SystemMenuActions.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "engine/Form.h"
#include "journal/Journal.h"
#include "journal/LiveSelection.h"
#include "journal/Plan.h"
#include "journal/RecordStore.h"
#include "journal/Restore.h"
#include "journal/UndoRecordWriter.h"
#include "platform/RegValue.h"
#include "window/ScreenWords.h"
#include "words/StepNames.h"


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

// What the record's readable log says about the run: its pages, how many
// changes it made and the tools it ran. Lines look like
// "[System, box 54] set ...: before -> after".
void ReadChangeLog(Platform& platform, UndoOffer& offer) {
    const std::string path = offer.folder + "\\" + kChangesLog;
    if (!platform.anyFileExists(path)) return;
    const std::string bytes = platform.readFileBytes(path);
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = bytes.substr(start, end - start);
        const std::size_t close = line.find("] ");
        if (line.empty() || line[0] != '[' || close == std::string::npos) continue;
        const std::string step = line.substr(1, close - 1);
        const std::string page = step.substr(0, step.find(','));
        const std::size_t colon = line.rfind(": ");
        if (colon == std::string::npos || colon < close || line.compare(colon + 2, 10, "no change ") == 0) continue;
        ++offer.changes;
        if (std::find(offer.pages.begin(), offer.pages.end(), page) == offer.pages.end()) offer.pages.push_back(page);
        const std::string effect = line.substr(close + 2, colon - close - 2);
        if (effect.rfind("run ", 0) == 0) {
            std::string tool = effect.substr(4);
            const std::size_t exe = tool.find(".exe");
            const std::size_t slash = tool.find_last_of('\\', exe);
            if (exe != std::string::npos && slash != std::string::npos) tool = tool.substr(slash + 1);
            if (std::find(offer.lasting.begin(), offer.lasting.end(), tool) == offer.lasting.end())
                offer.lasting.push_back(tool);
        }
    }
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
    if (*page == Page::System && context.form.chk(56) != kTicked) ShowProcessorScheduling(context);
    context.form.setLabel(Label::Wait, std::string(kCurrentStateShown));
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
    ReadChangeLog(platform, offer);
    return offer;
}

RestoreReport RestoreOffer(Platform& platform, const UndoOffer& offer) {
    RestoreReport report = RestoreRecord(platform, offer.folder);
    // Taken back whole: the next offer is the record before it.
    if (report.failed == 0) MarkUndone(platform, offer.folder, report.undoFolder);
    return report;
}

}  // namespace quillon
