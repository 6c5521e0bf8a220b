#include "window/SystemMenuActions.h"

#include <algorithm>

#include "engine/Form.h"
#include "journal/Journal.h"
#include "journal/LiveSelection.h"
#include "journal/Plan.h"
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
    const std::vector<std::string> records = UndoRecords(platform);
    if (records.empty()) return {};
    return {records.front(), DescribeRecord(platform, records.front())};
}

}  // namespace quillon
