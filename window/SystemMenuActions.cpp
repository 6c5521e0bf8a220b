#include "window/SystemMenuActions.h"

#include "engine/Form.h"
#include "journal/Journal.h"
#include "journal/LiveState.h"
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
    if (!page || (*page != Page::System && *page != Page::Security && *page != Page::Services)) return false;
    for (const LiveBox& live : LiveState(context.platform, context.userName)) {
        if (live.page != *page) continue;
        if (live.box >= 0)
            context.form.setChk(live.box, live.state == BoxState::On        ? kTicked
                                          : live.state == BoxState::Partial ? kGreyed
                                                                            : kUnticked);
        else if (live.entry >= 0)
            context.form.setListSelected(CheckList::Service, live.entry, live.state == BoxState::On);
    }
    return true;
}

UndoOffer NewestUndoRecord(Platform& platform) {
    const std::vector<std::string> records = UndoRecords(platform);
    if (records.empty()) return {};
    return {records.front(), DescribeRecord(platform, records.front())};
}

}  // namespace quillon
