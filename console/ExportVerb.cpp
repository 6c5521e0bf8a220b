// EXPORT: the machine's live state as a selection file, for CHECK and APPLY
// on other machines, or as a /boxes file that names only what it can read.
#include "console/BoxesFile.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/SelectionForm.h"
#include "planning/LiveSelection.h"
#include "planning/LiveState.h"
#include "platform/Platform.h"
#include "settings/SelectionFile.h"

namespace quillon::console {
namespace {

// Every box whose live state is on or off, and every control whose value the
// machine holds as its step writes it: CHECK of these finds nothing to do.
ListedBoxes LiveBoxes(VerbContext& verb) {
    ListedBoxes boxes;
    for (const LiveBox& live : LiveState(verb.platform, verb.userName)) {
        if (live.state != BoxState::On && live.state != BoxState::Off) continue;
        const bool on = live.state == BoxState::On;
        if (live.box >= 0) (on ? boxes.onBoxes : boxes.offBoxes).insert(live.box);
        else (on ? boxes.onEntries : boxes.offEntries).insert(live.entry);
    }
    const LiveControls controls = ReadLiveControls(verb.platform);
    boxes.prefetch = controls.prefetch;
    boxes.priority = controls.priority;
    boxes.option = controls.option;
    boxes.downloadPath = controls.downloadPath;
    boxes.hide = controls.hide;
    boxes.deny = controls.deny;
    return boxes;
}

}  // namespace

int Export(VerbContext& verb) {
    const bool boxes = verb.request.boxesFile.has_value();
    const std::string& path = boxes ? *verb.request.boxesFile : *verb.request.selectionFile;
    if (!verb.request.force && (verb.platform.anyFileExists(path) || verb.platform.directoryExists(path))) {
        verb.say(path + " exists; /force replaces it");
        return kBadUsage;
    }
    std::vector<std::string> lines;
    if (boxes) {
        lines = BoxesLines(LiveBoxes(verb));
    } else {
        SelectionForm form;
        PutLiveSelection(form, verb.platform, verb.userName);
        lines = SelectionLines(form);
    }
    try {
        verb.platform.replaceTextFile(path, lines);
    } catch (const PlatformError& error) {
        verb.say(path + ": " + error.what());
        return kSomeStepsFailed;
    }
    return kDone;
}

}  // namespace quillon::console
