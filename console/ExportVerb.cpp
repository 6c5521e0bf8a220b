// EXPORT: the machine's live state as a selection file, for CHECK and APPLY
// on other machines.
#include "planning/LiveSelection.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/SelectionForm.h"
#include "platform/Platform.h"
#include "settings/SelectionFile.h"
#include "settings/StrictSelection.h"

namespace quillon::console {

int Export(VerbContext& verb) {
    const std::string& path = *verb.request.selectionFile;
    if (const auto problem = SelectionPlaceProblem(verb.platform, path)) {
        verb.say(path + ": " + problem->reason + "; nothing was written");
        return kBadUsage;
    }
    if (!verb.request.force && (verb.platform.anyFileExists(path) || verb.platform.directoryExists(path))) {
        verb.say(path + " exists; /force replaces it");
        return kBadUsage;
    }
    SelectionForm form;
    PutLiveSelection(form, verb.platform, verb.userName);
    try {
        verb.platform.replaceTextFile(path, SelectionLines(form));
    } catch (const PlatformError& error) {
        verb.say(path + ": " + error.what());
        return kSomeStepsFailed;
    }
    return kDone;
}

}  // namespace quillon::console
