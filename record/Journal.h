#pragma once
// The undo record of a run. A JournalPlatform stands in front of the machine
// while a run goes on: before each change passes through, it writes down what
// the change's target held and what the change leaves there, flushed. When
// that cannot be written the change is not made, and no later one either: a
// run cut off at any point leaves a record of everything it did.
// A record is a folder made at the first change (RecordFiles.h).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/StepTag.h"
#include "effects/Change.h"
#include "effects/Effect.h"
#include "effects/ChangeSeam.h"

namespace quillon {

class UndoRecordWriter;

struct RecordedEffect {
    Effect effect;
    StepTag step;
    TargetState before;
    TargetState after;
    bool changes = false;  // whether it changed (or was to change) anything
    bool failed = false;   // the tool or the file operation reported failure
    bool refused = false;  // not made: its prior state could not be recorded
    std::string reason;    // why it failed or was refused, in the system's words
};

class JournalPlatform : public ChangeSeam {
public:
    // The journal of a restore names each change by the step whose change it
    // takes back, so its record tells the same pages and boxes as the run's.
    using StepTakenBack = std::function<StepTag(const Effect&)>;

    // Records go into folders under `undoRoot`. A restore's (`takenBack` given)
    // are marked as the records of an undo; a run's name the step being run.
    JournalPlatform(Platform& machine, const RunStack& stack, std::string undoRoot, StepTakenBack takenBack = {});
    ~JournalPlatform() override;
    JournalPlatform(const JournalPlatform&) = delete;
    JournalPlatform& operator=(const JournalPlatform&) = delete;

    // Whether a record could be written (the root exists or can be made). Makes no record.
    bool begin();
    // A record that pruning at the end must leave (the one a restore takes back).
    void keepRecord(const std::string& folder);
    // True once a change was refused because its record could not be written;
    // from then on every change is refused.
    bool stopped() const { return !stopReason_.empty(); }
    const std::string& stopReason() const { return stopReason_; }
    // True while the record holds every change made so far.
    bool recording() const { return !stopped(); }
    // The record's folder; empty while none was made.
    std::string folder() const;
    // Ends the record. When the machine holds again what every target kept
    // held before, the record is removed; otherwise the oldest records past
    // the newest 20 are. Returns the folder kept, or "".
    std::string finish();
    // Every change that went through or was refused, in order.
    const std::vector<RecordedEffect>& effects() const { return effects_; }
    // Names in the record's log a target a restore leaves as it is, with the
    // fields of the steps whose change made it (RecordLog.h).
    void logKept(const std::vector<std::string>& stepFields, const std::string& target, const std::string& why);

protected:
    // The changes it records; every other call passes straight through.
    std::unique_ptr<StartedProcess> startTool(const std::string& commandLine,
                                              const std::optional<std::vector<Effect>>& effects,
                                              const StepTag& step) override;
    void change(const Effect& effect, const StepTag& step, const std::function<void()>& make) override;

private:
    class WatchedProcess;
    // Records the effect ahead of its change and returns its index in
    // effects(); throws PlatformError when the change must not be made.
    std::size_t beforeChange(const Effect& effect, const StepTag& step, int tool = 0);
    void failed(std::size_t index, const std::string& why);
    void refuse(std::size_t index, const std::string& why);

    StepTakenBack takenBack_;
    std::unique_ptr<UndoRecordWriter> record_;
    std::vector<RecordedEffect> effects_;
    std::string stopReason_;
    int tools_ = 0;  // tools started so far
};

}  // namespace quillon
