#include "record/RunRecorder.h"

namespace quillon {

RunRecorder::RunRecorder(Platform& machine, std::optional<std::string> undoRoot) : stack_(machine) {
    if (undoRoot) journal_ = &stack_.stack<JournalPlatform>(std::move(*undoRoot));
}

RecordedRun RunRecorder::run(Form& form, const std::string& userName, const std::function<void(RunContext&)>& run) {
    stack_.run(form, userName, run);
    RecordedRun result;
    if (!journal_) return result;
    result.folder = journal_->finish();
    result.complete = !journal_->stopped();
    result.stopReason = journal_->stopReason();
    result.effects = journal_->effects();
    return result;
}

}  // namespace quillon
