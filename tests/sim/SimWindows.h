#pragma once
// A simulated Windows machine for tests: registry, drive C and the tools,
// recording every command line in the order it was started.
#include <deque>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "tests/sim/SimFileSystem.h"
#include "tests/sim/SimRegistry.h"

namespace quillon::sim {

class SimWindows : public Platform {
public:
    // The most a whole-file read takes before it runs out of memory, as a
    // 32-bit program would with a file of gigabytes.
    static constexpr std::size_t kReadableBytes = 24 * 1024 * 1024;

    SimWindows();
    ~SimWindows() override;

    SimRegistry& registry() { return registry_; }
    SimFileSystem& files() { return files_; }
    const std::vector<std::string>& commands() const { return commands_; }
    void clearCommands() { commands_.clear(); }

    // Deferred: a started command runs only when it (or a later one) is waited
    // for, so a caller that does not wait sees the machine unchanged.
    void setDeferredExecution(bool deferred) { deferred_ = deferred; }
    // A tool that cannot be started (the file is missing).
    void setToolMissing(const std::string& tool) { missing_.insert(tool); }
    // A tool whose processes never end by themselves.
    void setToolHangs(const std::string& tool) { hanging_.insert(tool); }
    // A tool that ends reporting success having done nothing at all.
    void setToolIdle(const std::string& tool) { idle_.insert(tool); }
    // The power fails after this many more changes (commands started, files
    // written or deleted, folders made or removed): from then on none happens.
    void cutPowerAfter(std::optional<int> changes) { powerLeft_ = changes; }
    // The power fails now and comes back: what was not on the disk is gone
    // (SimFileSystem.h), every process has ended, and changes happen again.
    void powerCut();
    // The disk holding `folder` has this many bytes left for files written
    // below it (appended, copied, made): one that does not fit is refused
    // whole, as a full disk refuses it. Nothing: no limit.
    void limitSpaceBelow(const std::string& folder, std::optional<long long> bytes) {
        spaceFolder_ = folder;
        spaceLeft_ = bytes;
    }
    // A tool each of whose processes needs this much of the machine's time
    // (really spent, one process after another) before it has done its work.
    void setToolWork(const std::string& tool, std::chrono::milliseconds work) { work_[tool] = work; }
    // Processes started and neither ended nor given up.
    int runningCount() const;
    // Called on every pump of events, as user input arriving during a run.
    void onPump(std::function<void()> handler) { pumpHandler_ = std::move(handler); }
    int pumpCount() const { return pumps_; }

    void setUserName(std::string name) { userName_ = std::move(name); }
    void setExecutableFolder(std::string folder);
    void setComputerName(std::string name) { computerName_ = std::move(name); }
    void setCommonAppDataFolder(std::string folder) { commonAppData_ = std::move(folder); }
    void setLocalTime(LocalTime time) { time_ = time; }
    void queueMessageBoxAnswer(MessageBoxAnswer answer) { answers_.push_back(answer); }
    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }  // "title|text"
    void setBrowseResult(std::optional<std::string> folder) { browseResult_ = std::move(folder); }
    std::optional<std::string> lastBrowseTitle() const { return browseTitle_; }
    const std::string& lastBrowseStart() const { return browseStart_; }
    const std::vector<MessageBoxKind>& messageBoxKinds() const { return messageBoxKinds_; }
    int logOffCount() const { return logOffs_; }
    // Another run of the program holds the run lock (and never lets it go).
    void setRunLockHeldElsewhere(bool held) { runLockElsewhere_ = held; }
    // Another program holds the file open, letting nobody write to it; "" for none.
    void setFileInUse(std::string path) { fileInUse_ = std::move(path); }
    // `reg add KEY` without a value empties the key's default value (Wine's
    // reg does, so the simulated one does unless told otherwise).
    void setRegAddBlanksDefault(bool blanks) { regAddBlanksDefault_ = blanks; }
    // 64-bit Windows: the registry keeps the 32-bit view below
    // HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node, and the tools write it unless
    // told "/reg:64". Reads are of the native view, as the real platform's are.
    void setWow64(bool wow64) { wow64_ = wow64; }
    bool wow64() override { return wow64_; }
    // How many holds of the run lock this machine has now; the bounds asked for.
    int runLockHolds() const { return runLockHolds_; }
    const std::vector<std::chrono::milliseconds>& runLockWaits() const { return runLockWaits_; }

    // The Application log's events, oldest first.
    struct LoggedEvent {
        RunEvent event;
        std::string text;
    };
    const std::vector<LoggedEvent>& events() const { return events_; }
    void reportEvent(RunEvent event, const std::string& text) noexcept override { events_.push_back({event, text}); }

    // Platform
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override;
    bool visibleFileExists(const std::string& path) override { return files_.visibleFileExists(path); }
    bool anyFileExists(const std::string& path) override { return files_.fileExists(path); }
    bool directoryExists(const std::string& path) override { return files_.directoryExists(path); }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override;
    void deleteFile(const std::string& path) override {
        change();
        files_.deleteFile(path);
    }
    void removeEmptyDirectory(const std::string& path) override {
        change();
        files_.removeEmptyDirectory(path);
    }
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    std::vector<std::string> readTextFile(const std::string& path) override;
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override;
    std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) override;
    bool registryKeyExists(const std::string& key) override { return registry_.keyExists(key); }
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override;
    std::vector<NamedRegValue> registryValues(const std::string& key) override;
    std::vector<std::string> registrySubkeys(const std::string& key) override { return registry_.subkeyNames(key); }
    std::string readFileBytes(const std::string& path) override;
    std::string readFileBytesAtMost(const std::string& path, std::size_t limit) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void copyFileFlushed(const std::string& from, const std::string& to) override;
    void createDirectory(const std::string& path) override {
        change();
        takeSpace(path, 0);
        files_.makeDirectory(path);
    }
    std::vector<std::string> listSubfolders(const std::string& folder) override;
    void appendFileFlushed(const std::string& path, std::string_view bytes) override;
    void appendFile(const std::string& path, std::string_view bytes) override;
    LocalTime localTime() override { return time_; }
    LocalTime universalTime() override { return time_; }
    // One program at a time here: the lock is had at once, unless a test
    // holds the file open elsewhere (a spreadsheet reading it) for good.
    bool appendUnderLock(const std::string& path, std::string_view heading, std::string_view block,
                         std::chrono::milliseconds) override {
        if (fileInUse_ == path) return false;
        const auto now = files_.content(path);
        if (now && !now->empty() && !BeginsAsHeading(*now, heading))
            throw PlatformError(path + " is not a report: its first line is not the report's heading; nothing was added to it");
        appendFileFlushed(path, std::string(now && !now->empty() ? "" : heading) + std::string(block));
        return true;
    }
    std::string userName() override { return userName_; }
    std::string executableFolder() override { return exeFolder_; }
    std::string computerName() override { return computerName_; }
    std::string commonAppDataFolder() override { return commonAppData_; }
    // An English XP on drive C unless a test moves a folder.
    std::string shellFolder(ShellFolder which) override;
    void setShellFolder(ShellFolder which, std::string path) { shellFolders_[which] = std::move(path); }
    bool isLinkOrJunction(const std::string& path) override { return files_.isLink(path); }
    void pumpEvents() override;
    MessageBoxAnswer messageBox(const std::string& text, const std::string& title, MessageBoxKind kind) override;
    std::optional<std::string> browseForFolder(const std::string& title, const std::string& startAt) override;
    void logOff() override { ++logOffs_; }
    std::unique_ptr<RunLock> holdRunLock(std::chrono::milliseconds bound) override;

private:
    class Process;
    struct Pending {
        std::string commandLine;
        bool done = false;
        std::optional<int> exitCode;
        std::chrono::milliseconds work{0};
    };
    // Runs the queue up to the job within the time given; whether it is done.
    bool runUpTo(const std::shared_ptr<Pending>& job, std::chrono::milliseconds time);

    SimRegistry registry_;
    SimFileSystem files_;
    std::vector<std::string> commands_;
    std::deque<std::shared_ptr<Pending>> queue_;
    bool deferred_ = false;
    std::set<std::string> missing_, hanging_, idle_;
    std::map<std::string, std::chrono::milliseconds> work_;
    std::function<void()> pumpHandler_;
    int pumps_ = 0;
    std::vector<LoggedEvent> events_;
    std::string userName_ = "Tester";
    std::string exeFolder_ = "C:\\Program Files\\Quillon";
    std::string computerName_ = "SIMULATED";
    std::string commonAppData_ = "C:\\Documents and Settings\\All Users\\Application Data";
    std::map<ShellFolder, std::string> shellFolders_;
    std::deque<MessageBoxAnswer> answers_;
    std::vector<std::string> messageBoxes_;
    std::optional<std::string> browseResult_;
    std::optional<std::string> browseTitle_;
    std::string browseStart_;
    std::vector<MessageBoxKind> messageBoxKinds_;
    int logOffs_ = 0;
    bool runLockElsewhere_ = false;
    std::string fileInUse_;
    bool regAddBlanksDefault_ = true;
    bool wow64_ = false;
    int runLockHolds_ = 0;
    std::vector<std::chrono::milliseconds> runLockWaits_;
    LocalTime time_{2026, 1, 2, 3, 4, 5};
    std::optional<int> powerLeft_;
    std::string spaceFolder_;
    std::optional<long long> spaceLeft_;
    void change();
    void takeSpace(const std::string& path, std::size_t bytes);
};

}  // namespace quillon::sim
