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
#include <memory>
#include <string>
#include <vector>

#include "engine/StepTag.h"
#include "journal/Effect.h"
#include "platform/Platform.h"

namespace quillon {

class UndoRecordWriter;

struct RecordedEffect {
    Effect effect;
    StepTag step;
    std::string before;
    std::string after;
    bool changes = false;  // whether it changed (or was to change) anything
    bool failed = false;   // the tool or the file operation reported failure
};

inline constexpr int kUndoRecordsKept = 20;

// The folder that holds the undo records: "undo" in the program's folder.
std::string UndoRoot(Platform& machine);
// Paths of the undo records there, newest first.
std::vector<std::string> UndoRecords(Platform& machine);

class JournalPlatform : public Platform {
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

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override;
    bool visibleFileExists(const std::string& path) override { return machine_.visibleFileExists(path); }
    bool anyFileExists(const std::string& path) override { return machine_.anyFileExists(path); }
    bool directoryExists(const std::string& path) override { return machine_.directoryExists(path); }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override {
        return machine_.listVisibleFiles(folder, pattern);
    }
    void deleteFile(const std::string& path) override;
    void removeEmptyDirectory(const std::string& path) override;
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        machine_.writeTextFile(path, lines);
    }
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override {
        machine_.replaceTextFile(path, lines);
    }
    std::vector<std::string> readTextFile(const std::string& path) override { return machine_.readTextFile(path); }
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override {
        return machine_.writeHeldScript(path, lines);
    }
    std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) override {
        return machine_.registryValueNames(root, subkey);
    }
    bool registryKeyExists(const std::string& key) override { return machine_.registryKeyExists(key); }
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override {
        return machine_.registryValue(key, name);
    }
    std::vector<NamedRegValue> registryValues(const std::string& key) override { return machine_.registryValues(key); }
    std::vector<std::string> registrySubkeys(const std::string& key) override { return machine_.registrySubkeys(key); }
    std::string readFileBytes(const std::string& path) override { return machine_.readFileBytes(path); }
    void copyFile(const std::string& from, const std::string& to) override;
    void createDirectory(const std::string& path) override;
    std::vector<std::string> listSubfolders(const std::string& folder) override { return machine_.listSubfolders(folder); }
    void appendFileFlushed(const std::string& path, std::string_view bytes) override {
        machine_.appendFileFlushed(path, bytes);
    }
    void appendFile(const std::string& path, std::string_view bytes) override { machine_.appendFile(path, bytes); }
    LocalTime localTime() override { return machine_.localTime(); }
    std::string userName() override { return machine_.userName(); }
    std::string executableFolder() override { return machine_.executableFolder(); }
    void pumpEvents() override { machine_.pumpEvents(); }
    MessageBoxAnswer messageBox(const std::string& text, const std::string& title, MessageBoxKind kind) override {
        return machine_.messageBox(text, title, kind);
    }
    std::optional<std::string> browseForFolder(const std::string& title) override {
        return machine_.browseForFolder(title);
    }
    void logOff() override { machine_.logOff(); }

private:
    class WatchedProcess;
    // Records the prior state for the effect and returns its index in effects().
    std::size_t beforeChange(const Effect& effect);
    void failed(std::size_t index, const std::string& why);
    template <class Change>
    void changeRecorded(const Effect& effect, Change&& change);

    Platform& machine_;
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
RecordedRun RunWithUndoRecord(RunContext& context, void (*run)(RunContext&));

}  // namespace quillon
