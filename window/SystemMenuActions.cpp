#include "window/SystemMenuActions.h"

#include <algorithm>

#include "engine/Form.h"
#include "journal/Journal.h"
#include "journal/LiveSelection.h"
#include "journal/Plan.h"
#include "journal/RecordStore.h"
#include "journal/Restore.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

std::optional<Page> PageOnView(const Form& form) {
    for (Page page : RunOrder())
        if (form.pageVisible(page)) return page;
    return std::nullopt;
}

}  // namespace

PreviewTable PreviewPageOnView(RunContext& context) {
    PreviewTable table{"Preview changes", {"Page", "Box", "What", "Before", "After"}, {}, {}};
    const std::optional<Page> page = PageOnView(context.form);
    if (!page) return table;
    table.title += " - " + PageName(*page);
    const Page pages[] = {*page};
    for (const PlannedEffect& p : PlanRun(context.form, context.platform, context.userName, pages))
        if (p.changes)
            table.rows.push_back({PageName(p.step.page), StepCaption(p.step), DescribeEffect(p.effect), p.before, p.after});
    const std::size_t n = table.rows.size();
    table.count = (n == 0 ? std::string("No change") : std::to_string(n) + (n == 1 ? " change" : " changes")) +
                  " if Optimize applied the " + PageName(*page) + " page now. Nothing has been changed.";
    return table;
}

bool ShowCurrentState(RunContext& context) {
    const std::optional<Page> page = PageOnView(context.form);
    const std::span<const Page> live = LivePages();
    if (!page || std::find(live.begin(), live.end(), *page) == live.end()) return false;
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
    return {*folder, DescribeRecord(platform, *folder)};
}

RestoreReport RestoreOffer(Platform& platform, const UndoOffer& offer) {
    RestoreReport report = RestoreRecord(platform, offer.folder);
    // Taken back whole: the next offer is the record before it.
    if (report.failed == 0) MarkUndone(platform, offer.folder, report.undoFolder);
    return report;
}

}  // namespace quillon
