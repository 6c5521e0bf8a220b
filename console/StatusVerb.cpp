// STATUS: the machine's state per box, from the live state of the journal.
#include <algorithm>

#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/ServiceCatalogue.h"
#include "planning/LiveState.h"
#include "words/StepNames.h"

namespace quillon::console {

int Status(VerbContext& verb) {
    const std::vector<Page>& pages = verb.request.pages;
    for (const LiveBox& live : LiveState(verb.platform, verb.userName)) {
        if (std::find(pages.begin(), pages.end(), live.page) == pages.end()) continue;
        const bool entry = live.box < 0;
        const std::string caption = entry ? std::string(kServices.at(live.entry).listText) : BoxCaption(live.box);
        verb.terminal.out(Tabbed({PageName(live.page), std::to_string(entry ? live.entry : live.box),
                                  BoxStateName(live.state), caption}));
    }
    return kDone;
}

}  // namespace quillon::console
