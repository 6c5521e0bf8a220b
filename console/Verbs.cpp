#include "console/Verbs.h"
#include "console/FleetSummary.h"

#include <algorithm>
#include <optional>
#include <variant>

#include "console/BoxesFile.h"
#include "console/CachedReads.h"
#include "console/Policy.h"
#include "console/RunEventReport.h"
#include "console/RunResult.h"
#include "console/Usage.h"
#include "console/VerbSteps.h"
#include "platform/Platform.h"
#include "settings/SelectionFile.h"
#include "settings/StrictSelection.h"

namespace quillon::console {
namespace {

// The selection the run works on, or the one line that says why there is none.
std::optional<SavedSelection> LoadSelection(VerbContext& verb) {
    const std::string path =
        verb.request.selectionFile ? *verb.request.selectionFile : SelectionFilePath(verb.platform);
    StrictSelection read = ReadSelectionStrict(verb.platform, path);
    if (auto* problem = std::get_if<SelectionProblem>(&read)) {
        const std::string where = problem->line > 0 ? path + " line " + std::to_string(problem->line) : path;
        verb.say(where + ": " + problem->reason + "; nothing was changed");
        return std::nullopt;
    }
    return std::get<SavedSelection>(read);
}

// The /boxes file read into the request, its pages added when /page gave none.
bool LoadBoxes(Request& request, Platform& platform, Terminal& terminal) {
    const std::string& path = *request.boxesFile;
    StrictBoxes read = ReadBoxesFile(platform, path);
    if (auto* problem = std::get_if<SelectionProblem>(&read)) {
        const std::string where = problem->line > 0 ? path + " line " + std::to_string(problem->line) : path;
        terminal.err(kToolName + where + ": " + problem->reason + "; nothing was changed");
        return false;
    }
    request.listed = std::get<ListedBoxes>(read);
    if (request.pages.empty()) CheckListed(*request.listed, request.pages);
    // A file that names nothing runs no page.
    return true;
}

std::string UserName(Platform& platform) {
    try {
        return platform.userName();
    } catch (const std::exception&) {
        return {};  // the per-user Startup folder then holds no name, as in the window
    }
}

// Two runs never change the machine at once: the second waits for the first,
// the window's or the console's, up to its bound.
std::unique_ptr<RunLock> HoldRunLock(VerbContext& verb) {
    if (auto lock = verb.platform.holdRunLock(std::chrono::milliseconds(0))) return lock;
    const std::chrono::milliseconds bound =
        verb.request.waitSeconds ? std::chrono::seconds(*verb.request.waitSeconds) : kRunLockBound;
    verb.say("waiting for another Quillon run to end...");
    auto lock = verb.platform.holdRunLock(bound);
    if (!lock)
        verb.say("another Quillon run is still going on after " + std::to_string(bound.count() / 1000) +
                 " s; nothing was changed");
    return lock;
}

// The parsed request done; `outcome` receives what a verb that runs or checks printed.
int RunRequest(Request& request, Terminal& terminal, Platform& platform, RunResult* outcome) {
    const bool readsBoxes = request.boxesFile && request.verb != Verb::Export;
    if (readsBoxes && !LoadBoxes(request, platform, terminal)) return kBadUsage;
    for (const std::string& message : TakePolicyDefaults(request, platform)) terminal.err(kToolName + message);
    if (request.pages.empty() && !readsBoxes) request.pages = DefaultPages(request.verb);
    if (request.verb == Verb::Usage) {
        for (const std::string& line : UsageLines()) terminal.out(line);
        return kDone;
    }
    if (request.verb == Verb::Version) {
        terminal.out(VersionLine());
        return kDone;
    }
    if (request.verb == Verb::Summary) {
        // It reads report files only: no run to wait for, nothing of this machine.
        VerbContext verb{request, terminal, platform, {}};
        return FleetSummary(verb);
    }

    // The verbs that only read see the machine through a cache; APPLY and UNDO see it as it is.
    const bool readsOnly = request.verb == Verb::List || request.verb == Verb::Status ||
                           request.verb == Verb::Preview || request.verb == Verb::Check ||
                           request.verb == Verb::Export;
    std::optional<CachedReads> cached;
    if (readsOnly) cached.emplace(platform);
    // Only the Startup page's folders hold the user's name; no verb covers that page today.
    const bool startup = std::find(request.pages.begin(), request.pages.end(), Page::Startup) != request.pages.end();
    VerbContext verb{request, terminal, readsOnly ? static_cast<Platform&>(*cached) : platform,
                     startup ? UserName(platform) : std::string(), outcome};
    try {
        if (request.verb == Verb::List) return List(verb);
        // Listing the records changes nothing: it never waits for a run.
        if (request.verb == Verb::Undo && (request.listRecords || request.showRecord)) return Undo(verb);
        std::optional<SavedSelection> selection;
        if (request.verb != Verb::Undo && request.verb != Verb::Export && request.verb != Verb::Status &&
            !request.listed) {
            selection = LoadSelection(verb);
            if (!selection) return kBadUsage;
        }
        const SavedSelection* chosen = selection ? &*selection : nullptr;
        // The verbs that read the machine see a whole run or none, so they wait like the ones that change it.
        const auto lock = HoldRunLock(verb);
        if (!lock) return kBadUsage;
        switch (request.verb) {
        case Verb::Status: return Status(verb);
        case Verb::Export: return Export(verb);
        case Verb::Preview: return Preview(verb, chosen);
        case Verb::Check: return Check(verb, chosen);
        case Verb::Apply: return Apply(verb, chosen);
        case Verb::Undo: return Undo(verb);
        case Verb::List:
        case Verb::Version:
        case Verb::Summary:
        case Verb::Usage:
            break;
        }
    } catch (const std::exception& error) {
        verb.say(error.what());
        return kSomeStepsFailed;
    }
    return kDone;
}

}  // namespace

int RunConsole(std::span<const std::string> arguments, Terminal& terminal, Platform& platform) {
    auto parsed = ParseArguments(arguments);
    if (auto* error = std::get_if<UsageError>(&parsed)) {
        terminal.err(kToolName + error->message);
        return kBadUsage;
    }
    Request request = std::get<Request>(parsed);
    const bool event = WritesEvent(request);
    const bool json = request.json && request.verb != Verb::Summary;
    if (!event && !json) return RunRequest(request, terminal, platform, nullptr);
    NotingTerminal noting(terminal);
    RunResult result;  // counts nothing until the verb prints one
    const int status = RunRequest(request, noting, platform, event ? &result : nullptr);
    // A tool reading the document gets one however the verb ended, with its
    // exit status and no count: an empty output must not pass for no drift.
    if (json && !noting.printed()) {
        VerbContext verb{request, terminal, platform, {}};
        terminal.out(JsonDocument(RunResult{}, verb, status));
    }
    // One event however the run ends: a startup script's run has nobody reading its console.
    if (event) ReportRunEvent(platform, request, status, result.counted.empty() ? nullptr : &result, noting.said());
    return status;
}

}  // namespace quillon::console
