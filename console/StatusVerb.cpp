// STATUS: the machine's state per box, from the live state of the journal.
#include <algorithm>

#include "console/Report.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/ServiceCatalogue.h"
#include "planning/LiveState.h"
#include "words/StepNames.h"

namespace quillon::console {

int Status(VerbContext& verb) {
    const std::vector<Page>& pages = verb.request.pages;
    std::vector<ReportRow> rows;
    for (const LiveBox& live : LiveState(verb.platform, verb.userName)) {
        if (std::find(pages.begin(), pages.end(), live.page) == pages.end()) continue;
        const bool entry = live.box < 0;
        const std::string caption = entry ? std::string(kServices.at(live.entry).listText) : BoxCaption(live.box);
        const std::string number = std::to_string(entry ? live.entry : live.box);
        verb.terminal.out(Tabbed({PageName(live.page), number, BoxStateName(live.state), caption}));
        rows.push_back({PageName(live.page), number, caption, BoxStateName(live.state), BoxStateName(live.state), "", ""});
    }
    return AppendReport(verb, rows, kDone, kBadUsage);
}

}  // namespace quillon::console
