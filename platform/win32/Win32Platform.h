#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/UniqueHandle.h"

namespace quillon::win32 {

class Win32Platform : public Platform {
public:
    // The window that owns message boxes and the folder browser, and whose
    // dialog keys (Tab, Space) the event pump serves.
    void setMainWindow(HWND window) { mainWindow_ = window; }

    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override;
    bool visibleFileExists(const std::string& path) override;
    bool anyFileExists(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override;
    void deleteFile(const std::string& path) override;
    void removeEmptyDirectory(const std::string& path) override;
    void writeTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) override;
    std::vector<std::string> readTextFile(const std::string& path) override;
    std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) override;
    std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) override;
    bool registryKeyExists(const std::string& key) override;
    std::optional<RegValue> registryValue(const std::string& key, const std::string& name) override;
    std::vector<NamedRegValue> registryValues(const std::string& key) override;
    std::vector<std::string> registrySubkeys(const std::string& key) override;
    void holdRegistryKeysOpen(bool hold) override;
    // For a program that ends right after its work: the keys held open are
    // closed by the process's end, all at once, not one call each.
    void leaveHeldKeysToProcessEnd() { keysCloseWithProcess_ = true; }
    std::string readFileBytes(const std::string& path) override;
    std::string readFileBytesAtMost(const std::string& path, std::size_t limit) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void copyFileFlushed(const std::string& from, const std::string& to) override;
    void createDirectory(const std::string& path) override;
    std::vector<std::string> listSubfolders(const std::string& folder) override;
    void appendFileFlushed(const std::string& path, std::string_view bytes) override;
    void appendFile(const std::string& path, std::string_view bytes) override;
    LocalTime localTime() override;
    LocalTime universalTime() override;
    bool appendUnderLock(const std::string& path, std::string_view heading, std::string_view block,
                         std::chrono::milliseconds bound) override;
    std::string userName() override;
    std::string executableFolder() override;
    std::string computerName() override;
    std::string commonAppDataFolder() override;
    std::string shellFolder(ShellFolder which) override;
    bool isLinkOrJunction(const std::string& path) override;
    void protectFolder(const std::string& path) override;
    bool wow64() override;
    void pumpEvents() override;
    std::unique_ptr<RunLock> holdRunLock(std::chrono::milliseconds bound) override;
    void reportEvent(RunEvent event, const std::string& text) noexcept override;
    MessageBoxAnswer messageBox(const std::string& text, const std::string& title, MessageBoxKind kind) override;
    std::optional<std::string> browseForFolder(const std::string& title, const std::string& startAt) override;
    void logOff() override;

private:
    // The key open for reading, or null when it cannot be opened: a held one,
    // or one opened into `own` for this call only.
    HKEY readableKey(const std::string& key, UniqueKey& own);

    HWND mainWindow_ = nullptr;
    bool holdKeys_ = false;
    bool keysCloseWithProcess_ = false;
    std::map<std::string, UniqueKey> heldKeys_;  // by lower-case path; null for a key that is missing
    bool oleStarted_ = false;
};

// Handles every pending message; a quit request ends the program at once.
void PumpPendingMessages(HWND dialogWindow);

// Whether this 32-bit program runs on 64-bit Windows; asked of the system once.
bool RunsOnWow64();

// The full path of the tool a command line names: regedit from the Windows
// folder, the others from the system folder (on 64-bit Windows reg from
// Sysnative, the native one). Empty for any other tool.
std::wstring ToolPath(const std::string& commandLine);

// For tests: called at each point of a tool's start ("started", "placed",
// "resumed"), so a test can end the program at exactly that point. Null in
// the programs.
extern void (*ToolStartReached)(const char* point);

// Whether the program itself is in the job its tools run in, so every tool is
// in it from its birth. False where the program already runs in a job that
// may not hold another (before Windows 8): each tool is then put in the job
// as it starts. Makes the job, and enters it, on first use.
bool ProgramInToolJob();

}  // namespace quillon::win32
