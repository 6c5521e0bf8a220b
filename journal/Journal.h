#pragma once
// The undo record of a run. A JournalPlatform stands in front of the machine
// while a run goes on: before each change passes through, it writes down the
// prior state of what the change touches, flushed, so a run cut off at any
// point leaves a record of everything it did. Each target is kept once, as it
// was before the run, so the record restores the original in any order.
//
// The record is a folder undo\YYYY-MM-DD HH-MM-SS\ beside the program:
//   undo.reg     prior registry state, UTF-16LE, which regedit imports alone
//   restore.txt  prior service start modes, kept file copies, removed folders
//   files\       the copies
//   changes.txt  one line per change, before and after, and what failed
// The 20 newest records are kept.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/StepTag.h"
#include "journal/Effect.h"
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
    std::string reason;    // why it failed or was refused, in the system's words
};

inline constexpr int kUndoRecordsKept = 20;

// The folder that holds the undo records: "undo" in the program's folder.
std::string UndoRoot(Platform& machine);
// Paths of the undo records there, newest first.
std::vector<std::string> UndoRecords(Platform& machine);

class JournalPlatform : public ForwardingPlatform {
public:
    explicit JournalPlatform(Platform& machine);
    ~JournalPlatform() override;
    JournalPlatform(const JournalPlatform&) = delete;
    JournalPlatform& operator=(const JournalPlatform&) = delete;

    // The step whose changes are being recorded; read as each change arrives.
    void follow(const StepTag& step) { step_ = &step; }
    // Makes the record's folder now instead of at the first change. False when
    // no record can be written (the run may still go on without one).
    bool begin();
    // True while a record exists and holds every change made so far.
    bool recording() const;
    // The record's folder; empty while none was made.
    std::string folder() const;
    // Every change that went through, in order.
    const std::vector<RecordedEffect>& effects() const { return effects_; }

    // The changes it records; every other call passes straight through.
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override;
    void deleteFile(const std::string& path) override;
    void removeEmptyDirectory(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void createDirectory(const std::string& path) override;

private:
    class WatchedProcess;
    // Records the prior state for the effect and returns its index in effects().
    std::size_t beforeChange(const Effect& effect);
    void failed(std::size_t index, const std::string& why);
    template <class Change>
    void changeRecorded(const Effect& effect, Change&& change);

    const StepTag* step_ = nullptr;
    std::unique_ptr<UndoRecordWriter> record_;
    std::vector<RecordedEffect> effects_;
};

// Runs `run` (an optimise run, Auto...) with its undo record: the context's
// platform is put behind a journal for the run's length. Returns the record's
// folder, empty when none could be written.
struct RecordedRun {
    std::string folder;
    bool complete = false;  // the record holds every change the run made
    std::vector<RecordedEffect> effects;
};
struct RunContext;
RecordedRun RunWithUndoRecord(RunContext& context, const std::function<void(RunContext&)>& run);

}  // namespace quillon
