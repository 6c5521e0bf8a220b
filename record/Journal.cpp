#include "record/Journal.h"

#include <algorithm>

#include "effects/EffectReader.h"
#include "effects/MachineView.h"
#include "record/RecordLog.h"
#include "record/RecordState.h"
#include "record/RecordStore.h"
#include "effects/RegScript.h"
#include "effects/Scratch.h"
#include "record/UndoRecordWriter.h"
#include "effects/ChangeWords.h"

namespace quillon {

class JournalPlatform::WatchedProcess : public StartedProcess {
public:
    WatchedProcess(JournalPlatform& journal, std::unique_ptr<StartedProcess> process, std::vector<std::size_t> effects,
                   int tool)
        : journal_(journal), process_(std::move(process)), effects_(std::move(effects)), tool_(tool) {}
    bool waitPumping(std::chrono::milliseconds bound) override {
        const bool ended = process_->waitPumping(bound);
        if (ended && !reported_ && process_->exitCode().value_or(0) != 0)
            report("the tool reported failure (exit code " + std::to_string(*process_->exitCode()) + ")", true);
        if (ended) end();
        return ended;
    }
    void terminate() override {
        process_->terminate();
        report("the tool did not end in time");
        end();
    }
    std::optional<int> exitCode() const override { return process_->exitCode(); }

private:
    // Seen to end: whatever it did is done, and the record says so.
    void end() {
        if (!effects_.empty() && !ended_) journal_.record_->ended(tool_);
        ended_ = true;
    }
    // `whereChanging`: a tool that says it failed where it had nothing to
    // change left the machine as asked (`reg delete` of a key that is gone).
    void report(const std::string& why, bool whereChanging = false) {
        reported_ = true;
        for (std::size_t i : effects_)
            if (!whereChanging || journal_.effects_[i].changes) {
                journal_.failed(i, why);
                // The tool has ended: what its target holds now is what the run left.
                try {
                    if (journal_.effects_[i].changes) journal_.record_->keepFailed(journal_.effects_[i].effect);
                } catch (const PlatformError&) {
                    // The record then claims the change; an undo finds its target as it was.
                }
            }
    }
    JournalPlatform& journal_;
    std::unique_ptr<StartedProcess> process_;
    std::vector<std::size_t> effects_;
    int tool_;
    bool reported_ = false;
    bool ended_ = false;
};

JournalPlatform::JournalPlatform(Platform& machine, const RunStack& stack, std::string undoRoot, StepTakenBack takenBack)
    : ChangeSeam(machine, stack), takenBack_(std::move(takenBack)),
      record_(std::make_unique<UndoRecordWriter>(machine, std::move(undoRoot), static_cast<bool>(takenBack_))) {}

JournalPlatform::~JournalPlatform() = default;

bool JournalPlatform::begin() { return record_->writable(); }
void JournalPlatform::keepRecord(const std::string& folder) { record_->keepAlso(folder); }
std::string JournalPlatform::folder() const { return record_->folder(); }

std::string JournalPlatform::finish() {
    record_->settle();
    if (!record_->opened()) return {};
    try {
        if (!stopped() && MachineAsBefore(machine_, BuildRecordState(record_->lines()), record_->folder()))
            record_->remove();
    } catch (const PlatformError&) {
        // A record that cannot be checked or removed is kept.
    }
    // Only a record kept makes room for itself: a run that changed nothing removes none.
    record_->prune();
    return record_->folder();
}

std::size_t JournalPlatform::beforeChange(const Effect& effect, const StepTag& step, int tool) {
    PlatformView view(machine_);
    const Assessment a = Assess(effect, view);
    effects_.push_back({effect, takenBack_ ? takenBack_(effect) : step, a.before, a.after, a.changes, false, false, {}});
    const std::size_t index = effects_.size() - 1;
    if (stopped()) {
        refuse(index, "not made: the undo record stopped earlier (" + stopReason_ + ")");
        throw PlatformError(effects_[index].reason);
    }
    try {
        if (a.changes || effect.kind == EffectKind::CreateKey) record_->keep(effect, effects_[index].step, tool);
        else record_->note(effect, effects_[index].step);
    } catch (const UnscriptableName& error) {
        refuse(index, error.what());
        throw;
    } catch (const TargetNotKept& error) {
        refuse(index, error.what());
        throw;
    } catch (const PlatformError& error) {
        stopReason_ = std::string("no undo record could be written: ") + error.what();
        refuse(index, stopReason_);
        throw PlatformError(stopReason_);
    }
    record_->log("[" + DescribeStep(effects_[index].step) + "] " + DescribeEffect(effect) + ": " +
                 (a.changes ? DescribeState(a.before) + " -> " + DescribeState(a.after)
                            : "no change (" + DescribeState(a.before) + ")"));
    return index;
}

void JournalPlatform::logKept(const std::vector<std::string>& stepFields, const std::string& target,
                              const std::string& why) {
    record_->log(KeptLogLine(stepFields, target, why));
}

void JournalPlatform::refuse(std::size_t index, const std::string& why) {
    RecordedEffect& e = effects_.at(index);
    if (!e.failed) record_->failed(e.effect, e.step);
    e.refused = true;
    e.failed = true;
    e.reason = why;
    record_->log("REFUSED [" + DescribeStep(e.step) + "] " + DescribeEffect(e.effect) + ": " + why);
}

void JournalPlatform::failed(std::size_t index, const std::string& why) {
    RecordedEffect& e = effects_.at(index);
    if (e.failed) return;
    e.failed = true;
    e.reason = why;
    // A service this machine does not have is no failure of the run: the console says "not present" too.
    if (e.effect.kind == EffectKind::ServiceStart && !machine_.registryKeyExists(ServiceKey(e.effect.target)))
        record_->log("NOT PRESENT [" + DescribeStep(e.step) + "] " + DescribeEffect(e.effect) +
                     ": this machine has no such service");
    else {
        record_->log("FAILED [" + DescribeStep(e.step) + "] " + DescribeEffect(e.effect) + ": " + why);
        record_->failed(e.effect, e.step);
    }
}

std::unique_ptr<StartedProcess> JournalPlatform::startTool(const std::string& commandLine,
                                                           const std::optional<std::vector<Effect>>& effects,
                                                           const StepTag& step) {
    std::vector<std::size_t> indexes;
    const int tool = ++tools_;
    // Not started: its targets hold what they held, and that is certain.
    const auto neverStarted = [&](const std::string& why, bool refused) {
        for (std::size_t i : indexes) {
            refused ? refuse(i, why) : failed(i, why);
            try {
                if (effects_[i].changes && !stopped()) record_->keepFailed(effects_[i].effect);
            } catch (const PlatformError&) {
                // The record then claims the change, left uncertain: an undo keeps its target.
            }
        }
        if (!indexes.empty() && !stopped()) record_->ended(tool);
    };
    try {
        if (effects)
            for (const Effect& effect : *effects) indexes.push_back(beforeChange(effect, step, tool));
    } catch (const PlatformError& error) {
        neverStarted(error.what(), true);
        throw;
    }
    if (stopped()) throw PlatformError("not started: the undo record stopped earlier (" + stopReason_ + ")");
    try {
        return std::make_unique<WatchedProcess>(*this, startBelow(commandLine, effects, step), std::move(indexes), tool);
    } catch (const PlatformError& error) {
        neverStarted(error.what(), false);
        throw;
    }
}

void JournalPlatform::change(const Effect& effect, const StepTag& step, const std::function<void()>& make) {
    const std::size_t index = beforeChange(effect, step);
    try {
        make();
    } catch (const PlatformError& error) {
        failed(index, error.what());
        try {
            if (effects_[index].changes) record_->keepFailed(effect);
        } catch (const PlatformError&) {
            // Without it the record claims a change that failed; an undo then finds its target as it was.
        }
        throw;
    }
}

}  // namespace quillon
