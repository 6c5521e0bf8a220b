#include "record/RunRecorder.h"

namespace quillon {

RunRecorder::RunRecorder(Platform& machine, std::optional<std::string> undoRoot) : machine_(machine) {
    if (undoRoot) journal_ = std::make_unique<JournalPlatform>(machine, std::move(*undoRoot));
}

RunRecorder::~RunRecorder() {
    // The layers stand on each other and on the journal: the top goes first.
    while (!layers_.empty()) layers_.pop_back();
}

Platform& RunRecorder::top() {
    if (!layers_.empty()) return *layers_.back();
    return journal_ ? static_cast<Platform&>(*journal_) : machine_;
}

RecordedRun RunRecorder::run(Form& form, const std::string& userName, const std::function<void(RunContext&)>& run) {
    RunContext context{form, top(), userName};
    if (journal_) journal_->follow(context.step);
    for (const auto& follow : followers_) follow(context.step);
    run(context);
    RecordedRun result;
    if (!journal_) return result;
    result.folder = journal_->finish();
    result.complete = !journal_->stopped();
    result.stopReason = journal_->stopReason();
    result.effects = journal_->effects();
    return result;
}

}  // namespace quillon
