#include "journal/Journal.h"

#include <algorithm>

#include "engine/RunContext.h"
#include "journal/EffectReader.h"
#include "journal/MachineView.h"
#include "journal/Scratch.h"
#include "journal/UndoRecordWriter.h"

namespace quillon {

std::string UndoRoot(Platform& machine) { return machine.executableFolder() + "\\undo"; }

std::vector<std::string> UndoRecords(Platform& machine) {
    const std::string root = UndoRoot(machine);
    std::vector<std::string> names = machine.listSubfolders(root);
    // The names are times, so by name is by age; " (2)" sorts after its twin.
    std::sort(names.begin(), names.end(), std::greater<>());
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(root + "\\" + name);
    return paths;
}

class JournalPlatform::WatchedProcess : public StartedProcess {
public:
    WatchedProcess(JournalPlatform& journal, std::unique_ptr<StartedProcess> process, std::vector<std::size_t> effects)
        : journal_(journal), process_(std::move(process)), effects_(std::move(effects)) {}
    bool waitPumping(std::chrono::milliseconds bound) override {
        const bool ended = process_->waitPumping(bound);
        if (ended && !reported_ && process_->exitCode().value_or(0) != 0) report("the tool reported failure");
        return ended;
    }
    void terminate() override {
        process_->terminate();
        report("the tool did not end in time");
    }
    std::optional<int> exitCode() const override { return process_->exitCode(); }

private:
    void report(const std::string& why) {
        reported_ = true;
        for (std::size_t i : effects_) journal_.failed(i, why);
    }
    JournalPlatform& journal_;
    std::unique_ptr<StartedProcess> process_;
    std::vector<std::size_t> effects_;
    bool reported_ = false;
};

JournalPlatform::JournalPlatform(Platform& machine)
    : ForwardingPlatform(machine), record_(std::make_unique<UndoRecordWriter>(machine)) {}

JournalPlatform::~JournalPlatform() = default;

bool JournalPlatform::begin() { return record_->open(); }
bool JournalPlatform::recording() const { return record_->complete(); }
std::string JournalPlatform::folder() const { return record_->folder(); }

std::size_t JournalPlatform::beforeChange(const Effect& effect) {
    record_->open();
    PlatformView view(machine_);
    const Assessment a = Assess(effect, view);
    RecordedEffect recorded{effect, step_ ? *step_ : StepTag{}, a.before, a.after, a.changes, false};
    if (a.changes || effect.kind == EffectKind::CreateKey) record_->keep(effect);
    record_->log("[" + DescribeStep(recorded.step) + "] " + DescribeEffect(effect) + ": " +
                 (a.changes ? a.before + " -> " + a.after : "no change (" + a.before + ")"));
    effects_.push_back(std::move(recorded));
    return effects_.size() - 1;
}

void JournalPlatform::failed(std::size_t index, const std::string& why) {
    RecordedEffect& e = effects_.at(index);
    if (e.failed) return;
    e.failed = true;
    e.reason = why;
    record_->log("FAILED [" + DescribeStep(e.step) + "] " + DescribeEffect(e.effect) + ": " + why);
}

std::unique_ptr<StartedProcess> JournalPlatform::startHidden(const std::string& commandLine) {
    const auto effects = ReadCommandEffects(
        commandLine, [&](const std::string& path) { return ReadScriptText(machine_, path); });
    std::vector<std::size_t> indexes;
    if (effects)
        for (const Effect& effect : *effects) indexes.push_back(beforeChange(effect));
    try {
        return std::make_unique<WatchedProcess>(*this, machine_.startHidden(commandLine), std::move(indexes));
    } catch (const PlatformError& error) {
        for (std::size_t i : indexes) failed(i, error.what());
        throw;
    }
}

template <class Change>
void JournalPlatform::changeRecorded(const Effect& effect, Change&& change) {
    const std::size_t index = beforeChange(effect);
    try {
        change();
    } catch (const PlatformError& error) {
        failed(index, error.what());
        throw;
    }
}

void JournalPlatform::deleteFile(const std::string& path) {
    if (IsScratchFile(path)) return machine_.deleteFile(path);
    changeRecorded({EffectKind::DeleteFile, path, {}, {}, {}, 0, false}, [&] { machine_.deleteFile(path); });
}

void JournalPlatform::removeEmptyDirectory(const std::string& path) {
    changeRecorded({EffectKind::RemoveFolder, path, {}, {}, {}, 0, false}, [&] { machine_.removeEmptyDirectory(path); });
}

void JournalPlatform::copyFile(const std::string& from, const std::string& to) {
    changeRecorded({EffectKind::CopyFile, to, {}, {}, from, 0, false}, [&] { machine_.copyFile(from, to); });
}

void JournalPlatform::createDirectory(const std::string& path) {
    changeRecorded({EffectKind::CreateFolder, path, {}, {}, {}, 0, false}, [&] { machine_.createDirectory(path); });
}

RecordedRun RunWithUndoRecord(RunContext& context, const std::function<void(RunContext&)>& run) {
    JournalPlatform journal(context.platform);
    RunContext recorded{context.form, journal, context.userName};
    journal.follow(recorded.step);
    run(recorded);
    return {journal.folder(), journal.recording(), journal.effects()};
}

}  // namespace quillon
