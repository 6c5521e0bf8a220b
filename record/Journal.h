#pragma once
// The undo record of a run. A JournalPlatform stands in front of the machine
// while a run goes on: before each change passes through, it writes down what
// the change's target held and what the change leaves there, flushed. When
// that cannot be written the change is not made, and no later one either: a
// run cut off at any point leaves a record of everything it did.
//
// A record is a folder ROOT\YYYY-MM-DD HH-MM-SS\ made at the first change:
//   record.txt   who made it, when, in what order (written first)
//   state.txt    each target before the run and after each change (RecordLines.h)
//   undo.reg     the registry as it was, UTF-16LE, for regedit by hand
//   files\       copies of the files the run deleted
//   changes.txt  one line per change, before and after, and what failed
#include <memory>
#include <string>
#include <vector>

#include "engine/StepTag.h"
#include "effects/Effect.h"
#include "platform/ForwardingPlatform.h"

namespace quillon {

class UndoRecordWriter;

struct RecordedEffect {
    Effect effect;
    StepTag step;
    std::string before;
    std::string after;
    bool changes = false;  // whether it changed (or was to change) anything
    bool failed = false;   // the tool or the file operation reported failure
    bool refused = false;  // not made: its prior state could not be recorded
    std::string reason;    // why it failed or was refused, in the system's words
};

// Paths of the undo records in the machine's own place for them, newest first.
std::vector<std::string> UndoRecords(Platform& machine);

class JournalPlatform : public ForwardingPlatform {
public:
    // Records go into folders under `undoRoot`; `restore` marks them as the records of an undo.
    JournalPlatform(Platform& machine, std::string undoRoot, bool restore = false);
    ~JournalPlatform() override;
    JournalPlatform(const JournalPlatform&) = delete;
    JournalPlatform& operator=(const JournalPlatform&) = delete;

    // The step whose changes are being recorded; read as each change arrives.
    void follow(const StepTag& step) { step_ = &step; }
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

    // The changes it records; every other call passes straight through.
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override;
    void deleteFile(const std::string& path) override;
    void removeEmptyDirectory(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void createDirectory(const std::string& path) override;

private:
    class WatchedProcess;
    // Records the effect ahead of its change and returns its index in
    // effects(); throws PlatformError when the change must not be made.
    std::size_t beforeChange(const Effect& effect, int tool = 0);
    void failed(std::size_t index, const std::string& why);
    void refuse(std::size_t index, const std::string& why);
    template <class Change>
    void changeRecorded(const Effect& effect, Change&& change);

    const StepTag* step_ = nullptr;
    std::unique_ptr<UndoRecordWriter> record_;
    std::vector<RecordedEffect> effects_;
    std::string stopReason_;
    int tools_ = 0;  // tools started so far
};

}  // namespace quillon
