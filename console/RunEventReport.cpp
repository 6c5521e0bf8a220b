#include "console/RunEventReport.h"

#include <algorithm>

#include "console/Report.h"
#include "console/RunResult.h"
#include "console/Verbs.h"
#include "platform/Platform.h"
#include "words/RunEventText.h"

namespace quillon::console {
namespace {

std::string EndInWords(int exitStatus) {
    switch (exitStatus) {
    case kDone: return "done";
    case kSomeStepsFailed: return "some steps failed (exit status 1)";
    case kBadUsage: return "nothing was changed (exit status 2)";
    case kNoUndoRecord: return "stopped: nothing was changed without its record (exit status 3)";
    case kReportInUse: return "done, but the report file stayed in use (exit status 4)";
    default: return "exit status " + std::to_string(exitStatus);
    }
}

std::string NameOr(Platform& platform, bool computer) {
    try {
        const std::string name = computer ? platform.computerName() : platform.userName();
        return name.empty() ? "?" : name;
    } catch (const PlatformError&) {
        return "?";
    }
}

}  // namespace

void NotingTerminal::err(std::string_view line) {
    inner_.err(line);
    said_.emplace_back(line.starts_with(kToolName) ? line.substr(std::string_view(kToolName).size()) : line);
}

bool WritesEvent(const Request& request) {
    return request.verb == Verb::Apply || (request.verb == Verb::Undo && !request.listRecords && !request.showRecord);
}

void ReportRunEvent(Platform& platform, const Request& request, int exitStatus, const RunResult* result,
                    const std::vector<std::string>& said) {
    RunEventText event;
    event.heading = std::string("quillonc ") + ReportVerbName(request.verb) + " by " + NameOr(platform, false) + " on " +
                    NameOr(platform, true) + ": " + EndInWords(exitStatus);
    bool failed = exitStatus != kDone && exitStatus != kReportInUse;
    if (result) {
        for (std::string_view which : result->counted)
            event.counts.emplace_back(std::string(which), std::count_if(result->changes.begin(), result->changes.end(),
                                                                        [&](const ChangeOutcome& c) { return c.result == which; }));
        if (result->undoFolder) event.undoFolder = *result->undoFolder;
        if (!result->takenBack.empty()) event.notes.push_back("record taken back: " + result->takenBack);
        for (const ChangeOutcome& c : result->changes) {
            const std::string item = EventItem({c.pages, c.numbers, c.captions});
            if (c.result == "changed") event.changed.push_back(item);
            if (c.result != "failed") continue;
            failed = true;
            event.failed.push_back(item + ": " + (c.what.empty() ? c.after : c.what));
        }
    }
    // A failure said on standard error is in the list already.
    for (const std::string& message : said) {
        const bool listed = message.starts_with("failed: ") &&
                            std::find(event.failed.begin(), event.failed.end(), message.substr(8)) != event.failed.end();
        if (!listed) event.notes.push_back(message);
    }
    const bool undo = request.verb == Verb::Undo;
    platform.reportEvent(undo ? (failed ? RunEvent::UndoFailed : RunEvent::Undone) : (failed ? RunEvent::Failed : RunEvent::Done),
                         EventText(event));
}

}  // namespace quillon::console
