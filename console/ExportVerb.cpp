// EXPORT: the machine's live state as a selection file, for CHECK and APPLY
// on other machines, or as a /boxes file that names only what it can read.
#include "console/BoxesFile.h"
#include "engine/SecurityKeys.h"
#include "engine/SystemKeys.h"
#include "console/VerbSteps.h"
#include "console/Verbs.h"
#include "engine/SelectionForm.h"
#include "planning/LiveSelection.h"
#include "planning/LiveState.h"
#include "platform/Platform.h"
#include "settings/SelectionFile.h"
#include "settings/StrictSelection.h"

namespace quillon::console {
namespace {

// Every box whose live state is on or off, and every control whose value the
// machine holds as its step writes it: CHECK of these finds nothing to do.
ListedBoxes LiveBoxes(VerbContext& verb) {
    ListedBoxes boxes;
    const auto& scope = verb.request.scope;
    const auto states = scope ? LiveState(verb.platform, verb.userName, LivePages(), *scope)
                              : LiveState(verb.platform, verb.userName);
    for (const LiveBox& live : states) {
        if (live.state != BoxState::On && live.state != BoxState::Off) continue;
        const bool on = live.state == BoxState::On;
        if (live.box >= 0) (on ? boxes.onBoxes : boxes.offBoxes).insert(live.box);
        else (on ? boxes.onEntries : boxes.offEntries).insert(live.entry);
    }
    const LiveControls controls = ReadLiveControls(verb.platform);
    // Under /scope, a control goes with the part its value is in.
    const auto in = [&](std::string_view key) {
        return !scope || ScopeOf({TargetKind::Value, std::string(key), {}}) == *scope;
    };
    if (in(system_keys::kPrefetch)) boxes.prefetch = controls.prefetch;
    if (in(system_keys::kBios)) boxes.priority = controls.priority;
    if (in(system_keys::kMemory)) boxes.option = controls.option;
    if (in(security_keys::kIe)) boxes.downloadPath = controls.downloadPath;
    if (in(security_keys::kDrivePolicy)) {
        boxes.hide = controls.hide;
        boxes.deny = controls.deny;
    }
    return boxes;
}

}  // namespace

int Export(VerbContext& verb) {
    const bool boxes = verb.request.boxesFile.has_value();
    const std::string& path = boxes ? *verb.request.boxesFile : *verb.request.selectionFile;
    if (const auto problem = SelectionPlaceProblem(verb.platform, path)) {
        verb.say(path + ": " + problem->reason + "; nothing was written");
        return kBadUsage;
    }
    if (!verb.request.force && (verb.platform.anyFileExists(path) || verb.platform.directoryExists(path))) {
        verb.say(path + " exists; /force replaces it");
        return kBadUsage;
    }
    if (verb.request.scope && !boxes) {
        verb.say("EXPORT /scope writes a /boxes file: a selection file manages every box");
        return kBadUsage;
    }
    std::vector<std::string> lines;
    std::string partial, notSet;  // boxes the file cannot leave alone
    if (boxes) {
        lines = BoxesLines(LiveBoxes(verb));
    } else {
        SelectionForm form;
        for (const LiveBox& live : PutLiveSelection(form, verb.platform, verb.userName, LivePages(), PartialBoxes::Greyed))
            if (live.box >= 0 && live.state == BoxState::NotSet) notSet += (notSet.empty() ? "" : ",") + std::to_string(live.box);
        for (int box = 0; box < kCheckBoxCount; ++box)
            if (form.chk(box) == kGreyed) {
                partial += (partial.empty() ? "" : ",") + std::to_string(box);
                form.setChk(box, kUnticked);
            }
        lines = SelectionLines(form);
    }
    try {
        verb.platform.replaceTextFile(path, lines);
    } catch (const PlatformError& error) {
        verb.say(path + ": " + error.what());
        return kSomeStepsFailed;
    }
    if (!partial.empty())
        verb.say("note: boxes " + partial + " are partly in place: " + path +
                 " writes their unticked side; EXPORT /boxes writes a file that leaves them alone");
    // A box none of whose values is set is no more off than on: the file's unticked side would set them.
    if (!notSet.empty())
        verb.say("note: boxes " + notSet + " are not set (Windows' defaults hold): " + path +
                 " writes their unticked side; EXPORT /boxes writes a file that leaves them alone");
    return kDone;
}

}  // namespace quillon::console
