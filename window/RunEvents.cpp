#include "window/RunEvents.h"

#include <algorithm>
#include <utility>

#include "effects/ChangeWords.h"
#include "platform/Platform.h"
#include "words/RunEventText.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

std::string Who(Platform& platform) {
    const auto name = [&](bool computer) -> std::string {
        try {
            const std::string got = computer ? platform.computerName() : platform.userName();
            return got.empty() ? "?" : got;
        } catch (const PlatformError&) {
            return "?";
        }
    };
    return " by " + name(false) + " on " + name(true);
}

}  // namespace

RunNotes::RunNotes() : outer_(std::exchange(current_, this)) {}
RunNotes::~RunNotes() { current_ = outer_; }

void RunNotes::Page(quillon::Page page) {
    if (current_ && std::find(current_->pages_.begin(), current_->pages_.end(), page) == current_->pages_.end())
        current_->pages_.push_back(page);
}

void RunNotes::Failure(const std::string& what) {
    if (current_) current_->failures_.push_back(what);
}

void RunNotes::Refusal(const std::string& why) {
    if (current_) current_->refusal_ = why;
}

void RunNotes::report(Platform& platform, std::string_view name, const RecordedRun& recorded) const {
    if (pages_.empty() && failures_.empty() && refusal_.empty() && recorded.effects.empty()) return;
    RunEventText event;
    std::string pages;
    for (quillon::Page page : pages_) pages += (pages.empty() ? "" : ", ") + PageName(page);
    int changed = 0, refused = 0;
    for (const RecordedEffect& e : recorded.effects) {
        if (!e.changes || e.failed) continue;
        if (e.refused) {
            ++refused;
            continue;
        }
        ++changed;
        event.changed.push_back(EventItem(StepFields({e.step})));
    }
    const bool stopped = !recorded.complete;
    const int failed = static_cast<int>(failures_.size());
    event.heading = "Quillon " + std::string(name) + (pages.empty() ? "" : " (" + pages + ")") + Who(platform) + ": " +
                    (!refusal_.empty() ? refusal_
                     : stopped         ? "stopped: no undo record could be written"
                     : failed == 0     ? "done"
                     : failed == 1     ? "1 step failed"
                                       : std::to_string(failed) + " steps failed");
    event.counts = {{"changed", changed}, {"failed steps", failed}};
    if (stopped) event.counts.emplace_back("not made", refused);
    event.undoFolder = recorded.folder;
    event.failed = failures_;
    if (stopped) event.notes.push_back("stopped: " + recorded.stopReason);
    platform.reportEvent(stopped || failed > 0 || !refusal_.empty() ? RunEvent::Failed : RunEvent::Done, EventText(event));
}

void ReportWindowUndo(Platform& platform, const std::string& recordFolder, const RestoreReport* report,
                      const std::string& why) {
    RunEventText event;
    const bool failed = !report || report->failed > 0;
    event.heading = "Quillon Undo last run" + Who(platform) + ": " +
                    (!report ? "nothing was put back" : failed ? "some changes could not be put back" : "done");
    event.notes.push_back("record taken back: " + recordFolder);
    if (!why.empty()) event.notes.push_back(why);
    if (report) {
        event.counts = {{"put back", report->restored},
                        {"kept", static_cast<int>(report->kept.size())},
                        {"failed", report->failed}};
        event.undoFolder = report->undoFolder;
        for (const RecordedEffect& e : report->effects) {
            if (!e.changes) continue;
            if (e.failed) event.failed.push_back(TargetInBrief(e.effect) + (e.reason.empty() ? "" : ": " + e.reason));
            else event.changed.push_back(TargetInBrief(e.effect));
        }
        for (const KeptTarget& kept : report->kept) event.notes.push_back("kept " + kept.target + ": " + kept.why);
    }
    platform.reportEvent(failed ? RunEvent::UndoFailed : RunEvent::Undone, EventText(event));
}

}  // namespace quillon
