#include "tests/sim/SimWindows.h"

#include <algorithm>
#include <thread>
#include <new>

#include "platform/CommandLine.h"
#include "platform/ScriptEncoding.h"
#include "platform/TextMatch.h"
#include "tests/sim/SimText.h"
#include "tests/sim/SimTools.h"

namespace quillon::sim {
namespace {

std::string ToolOf(const std::string& commandLine) {
    auto args = SplitCommandLine(commandLine);
    return args.empty() ? std::string() : Lower(args[0]);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Held as another program holds a file open: it cannot be changed or deleted.
class HeldSimFile : public HeldFile {
public:
    HeldSimFile(SimFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {
        files_.setFlags(path_, {.locked = true});
    }
    ~HeldSimFile() override { files_.setFlags(path_, {}); }

private:
    SimFileSystem& files_;
    std::string path_;
};

std::string TextFileBytes(const std::vector<std::string>& lines) {
    const std::string text = Joined(lines);
    if (auto ansi = ToAnsiExactly(text)) return *ansi;
    return std::string(kUtf8Mark) + text;
}

std::string ScriptBytes(const std::vector<std::string>& lines) {
    const std::string text = Joined(lines);
    if (!HoldsHexText(lines))
        if (auto ansi = ToAnsiExactly(text)) return *ansi;
    if (auto wide = ToUtf16Le(text)) return std::string(kUtf16Mark) + *wide;
    throw PlatformError("script text is not UTF-8");
}

}  // namespace

class SimWindows::Process : public StartedProcess {
public:
    Process(SimWindows& owner, std::shared_ptr<Pending> job, bool hangs)
        : owner_(owner), job_(std::move(job)), hangs_(hangs) {}
    bool waitPumping(std::chrono::milliseconds bound) override {
        owner_.pumpEvents();
        if (hangs_) return job_->done;
        return owner_.runUpTo(job_, bound);
    }
    void terminate() override { job_->done = true; }
    std::optional<int> exitCode() const override { return job_->exitCode; }

private:
    SimWindows& owner_;
    std::shared_ptr<Pending> job_;
    bool hangs_;
};

SimWindows::SimWindows() {
    files_.addDirectory(exeFolder_);
    files_.addDirectory(commonAppData_);
}
SimWindows::~SimWindows() = default;

void SimWindows::setExecutableFolder(std::string folder) {
    exeFolder_ = std::move(folder);
    files_.addDirectory(exeFolder_);
}

void SimWindows::change() {
    if (!powerLeft_) return;
    if (*powerLeft_ <= 0) throw PlatformError("the machine is off");
    --*powerLeft_;
}

void SimWindows::takeSpace(const std::string& path, std::size_t bytes) {
    if (!spaceLeft_ || !StartsWithNoCase(SimFileSystem::Normalised(path), SimFileSystem::Normalised(spaceFolder_) + "\\"))
        return;
    // A new file or folder takes room of its own, even empty.
    const long long needed = static_cast<long long>(bytes) + (files_.fileExists(path) ? 0 : 1);
    if (needed > *spaceLeft_) throw PlatformError("There is not enough space on the disk: " + path);
    *spaceLeft_ -= needed;
}

std::unique_ptr<StartedProcess> SimWindows::startHidden(const std::string& commandLine) {
    change();
    const std::string tool = ToolOf(commandLine);
    if (!IsKnownTool(commandLine) || missing_.count(tool)) throw PlatformError("cannot start: " + commandLine);
    commands_.push_back(commandLine);
    auto job = std::make_shared<Pending>();
    job->commandLine = commandLine;
    const bool hangs = hanging_.count(tool) > 0;
    if (!hangs) {
        if (auto work = work_.find(tool); work != work_.end()) job->work = work->second;
        queue_.push_back(job);
        if (!deferred_) runUpTo(job, std::chrono::milliseconds{0});
    }
    return std::make_unique<Process>(*this, job, hangs);
}

// Commands finish in the order they were started; one that was ended early
// never does its work.
bool SimWindows::runUpTo(const std::shared_ptr<Pending>& job, std::chrono::milliseconds time) {
    while (!job->done && !queue_.empty()) {
        const auto next = queue_.front();
        if (!next->done) {
            const auto spent = std::min(next->work, time);
            if (spent.count() > 0) std::this_thread::sleep_for(spent);
            next->work -= spent;
            time -= spent;
            if (next->work.count() > 0) return false;
            next->exitCode = idle_.count(ToolOf(next->commandLine))
                                 ? 0
                                 : RunTool(next->commandLine, registry_, files_, regAddBlanksDefault_, wow64_);
            next->done = true;
        }
        queue_.pop_front();
    }
    return job->done;
}

int SimWindows::runningCount() const {
    int running = 0;
    for (const auto& job : queue_) running += !job->done;
    return running;
}

std::vector<std::string> SimWindows::listVisibleFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    for (const std::string& name : files_.visibleFiles(folder))
        if (WildcardMatch(pattern, name)) names.push_back(name);
    return names;
}

void SimWindows::writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    change();
    files_.writeFile(path, TextFileBytes(lines));
}

void SimWindows::replaceTextFile(const std::string& path, const std::vector<std::string>& lines) {
    change();
    const std::string temporary = path + ".tmp";
    files_.writeFile(temporary, TextFileBytes(lines));
    try {
        files_.moveReplacing(temporary, path);
    } catch (...) {
        files_.deleteFile(temporary);
        throw;
    }
    // Written flushed and moved through to the disk, as Windows' own does.
    files_.flush(path);
}

std::vector<std::string> SimWindows::readTextFile(const std::string& path) {
    auto bytes = files_.content(path);
    if (!bytes) throw PlatformError("cannot open: " + path);
    if (bytes->size() > kTextFileLimit) throw PlatformError(path + " is larger than 1 MiB: no selection, boxes or report file is");
    const std::optional<std::string> text = bytes->starts_with(kUtf8Mark) ? bytes->substr(kUtf8Mark.size()) : FromAnsi(*bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        std::string line = text->substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::unique_ptr<HeldFile> SimWindows::writeHeldScript(const std::string& path, const std::vector<std::string>& lines) {
    change();
    const std::string bytes = ScriptBytes(lines);
    // Never opens a file someone else left there: the writer deleted its own.
    if (files_.fileExists(path) || files_.directoryExists(path)) throw PlatformError("already exists: " + path);
    files_.writeFile(path, bytes);
    return std::make_unique<HeldSimFile>(files_, path);
}

std::vector<std::string> SimWindows::registryValueNames(RegRoot root, const std::string& subkey) {
    const std::string rootName = root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
    return registry_.valueNames(rootName + "\\" + subkey);
}

std::optional<RegValue> SimWindows::registryValue(const std::string& key, const std::string& name) {
    auto value = registry_.value(key, name);
    if (!value) return std::nullopt;
    return value->stored();
}

std::vector<NamedRegValue> SimWindows::registryValues(const std::string& key) {
    std::vector<NamedRegValue> out;
    for (const auto& [name, value] : registry_.values(key)) out.push_back({name, value.stored()});
    return out;
}

std::string SimWindows::readFileBytes(const std::string& path) {
    auto content = files_.content(path);
    if (!content) throw PlatformError("cannot open: " + path);
    // As a 32-bit program fares with a file larger than its memory.
    if (content->size() > kReadableBytes) throw std::bad_alloc();
    return *content;
}

std::string SimWindows::readFileBytesAtMost(const std::string& path, std::size_t limit) {
    auto content = files_.content(path);
    if (!content) throw PlatformError("cannot open: " + path);
    if (content->size() > limit) throw FileTooLarge(path, limit);
    return readFileBytes(path);
}

void SimWindows::copyFile(const std::string& from, const std::string& to) {
    change();
    const std::string content = readFileBytes(from);
    if (files_.fileExists(to) || files_.directoryExists(to)) throw PlatformError("already exists: " + to);
    takeSpace(to, content.size());
    files_.writeFile(to, content);
}

void SimWindows::copyFileFlushed(const std::string& from, const std::string& to) {
    copyFile(from, to);
    files_.flush(to);
}

std::vector<std::string> SimWindows::listSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& name : files_.children(folder))
        if (files_.directoryExists(SimFileSystem::Normalised(folder) + "\\" + name)) names.push_back(name);
    return names;
}

void SimWindows::appendFile(const std::string& path, std::string_view bytes) {
    change();
    takeSpace(path, bytes.size());
    files_.writeFile(path, files_.content(path).value_or("") + std::string(bytes));
}

void SimWindows::appendFileFlushed(const std::string& path, std::string_view bytes) {
    appendFile(path, bytes);
    files_.flush(path);
}

void SimWindows::powerCut() {
    files_.loseUnflushed();
    for (const auto& job : queue_) job->done = true;
    queue_.clear();
    powerLeft_.reset();
}

void SimWindows::pumpEvents() {
    ++pumps_;
    if (pumpHandler_) pumpHandler_();
}

MessageBoxAnswer SimWindows::messageBox(const std::string& text, const std::string& title, MessageBoxKind kind) {
    messageBoxes_.push_back(title + "|" + text);
    messageBoxKinds_.push_back(kind);
    if (answers_.empty()) return MessageBoxAnswer::Cancel;
    auto answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> SimWindows::browseForFolder(const std::string& title, const std::string& startAt) {
    browseTitle_ = title;
    browseStart_ = startAt;
    return browseResult_;
}

}  // namespace quillon::sim

namespace quillon::sim {
namespace {

class SimRunLock : public RunLock {
public:
    explicit SimRunLock(int& holds) : holds_(holds) { ++holds_; }
    ~SimRunLock() override { --holds_; }
    SimRunLock(const SimRunLock&) = delete;
    SimRunLock& operator=(const SimRunLock&) = delete;

private:
    int& holds_;
};

}  // namespace

std::unique_ptr<RunLock> SimWindows::holdRunLock(std::chrono::milliseconds bound) {
    runLockWaits_.push_back(bound);
    if (runLockElsewhere_) return nullptr;
    return std::make_unique<SimRunLock>(runLockHolds_);
}

std::string SimWindows::shellFolder(ShellFolder which) {
    if (const auto moved = shellFolders_.find(which); moved != shellFolders_.end()) return moved->second;
    switch (which) {
    case ShellFolder::Startup: return "C:\\Documents and Settings\\" + userName_ + "\\Start Menu\\Programs\\Startup";
    case ShellFolder::CommonStartup: return "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup";
    case ShellFolder::CommonStartMenu: return "C:\\Documents and Settings\\All Users\\Start Menu";
    case ShellFolder::Windows: break;
    }
    return "C:\\Windows";
}

}  // namespace quillon::sim
