#pragma once
// The services Quillon asks of the operating system. The Win32 implementation
// talks to Windows; the simulated one lets the core run and be checked on Linux.
// Paths are Windows paths ("C:\\Windows\\temp"); every string is UTF-8.
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegValue.h"

namespace quillon {

// A platform call that could not do what it was asked. The optimise run skips
// the step that raised it and goes on; the step is counted as failed and named
// with the system's reason.
class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file larger than its reader takes.
class FileTooLarge : public PlatformError {
public:
    FileTooLarge(const std::string& path, std::size_t limit)
        : PlatformError(path + " is larger than " + std::to_string(limit) + " bytes") {}
};

enum class RegRoot { CurrentUser, LocalMachine };

// A command started with a hidden window.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    // Waits for the process to end, processing window events meanwhile.
    // Returns false if it is still running when the bound has passed.
    virtual bool waitPumping(std::chrono::milliseconds bound) = 0;
    // Ends a process that outlived its bound.
    virtual void terminate() = 0;
    // The exit code of an ended process; nothing while it runs or when the
    // platform cannot tell.
    virtual std::optional<int> exitCode() const { return std::nullopt; }
};

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// A file held open so that no other process can change, replace or delete it
// until this object is destroyed; other processes may still read it.
class HeldFile {
public:
    virtual ~HeldFile() = default;
};

// How long a run waits for another to end before it gives up, changing nothing.
inline constexpr std::chrono::milliseconds kRunLockBound = std::chrono::minutes(5);

// The machine's run lock while held: only one run of the program (window or
// console, in any session) changes the machine at a time.
class RunLock {
public:
    virtual ~RunLock() = default;
};

enum class MessageBoxKind {
    OkCancel,
    OkCancelExclamation,
    OkCancelCancelFirst,  // Cancel is the default button: Enter on the question changes nothing
};
enum class MessageBoxAnswer { Ok, Cancel };

enum class ShellFolder {
    Startup,          // the user's Startup folder
    CommonStartup,    // All Users' Startup folder
    CommonStartMenu,  // All Users' Start menu
    Windows,          // the Windows folder
};

// The one event each run leaves in the system's Application log (source
// "Quillon"), for the runs nobody watches: a startup script run as the system
// has no console. The numbers are the event ids the log shows.
enum class RunEvent : unsigned {
    Done = 1,        // a run (APPLY, Optimize, Auto Optimize) that did everything asked
    Failed = 2,      // a run with failed steps, stopped, or that changed nothing it was asked to
    Undone = 3,      // an undo that put back everything it could
    UndoFailed = 4,  // an undo that failed to put something back, or was refused
};
// Failures are errors in the log; the others information.
inline bool IsFailure(RunEvent event) { return event == RunEvent::Failed || event == RunEvent::UndoFailed; }

class Platform {
public:
    virtual ~Platform() = default;

    // Starts the command line with a hidden window and no command interpreter.
    // Throws PlatformError if it cannot be started.
    virtual std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) = 0;

    // Files. "Visible" files are those that are neither hidden nor system.
    virtual bool visibleFileExists(const std::string& path) = 0;
    virtual bool anyFileExists(const std::string& path) = 0;
    virtual bool directoryExists(const std::string& path) = 0;
    // Visible files directly in the folder whose names match the pattern
    // ('*' and '?' wildcards, case-insensitive), sorted by name.
    virtual std::vector<std::string> listVisibleFiles(const std::string& folder,
                                                      const std::string& pattern) = 0;
    virtual void deleteFile(const std::string& path) = 0;
    // Removes the directory only if it is empty; throws otherwise.
    virtual void removeEmptyDirectory(const std::string& path) = 0;

    // Text files end every line with CR LF. They are written in the ANSI code
    // page when it holds the text exactly, otherwise as UTF-8 with a byte-order
    // mark; the reader takes both.
    virtual void writeTextFile(const std::string& path, const std::vector<std::string>& lines) = 0;
    // Writes a temporary sibling, then replaces the target in one step.
    virtual void replaceTextFile(const std::string& path, const std::vector<std::string>& lines) = 0;
    // Throws PlatformError if the file cannot be read, or is larger than
    // kTextFileLimit (no selection, boxes or report file is): it is never read
    // in part. Lines come without CR LF.
    static constexpr std::size_t kTextFileLimit = std::size_t(1) << 20;
    virtual std::vector<std::string> readTextFile(const std::string& path) = 0;

    // Writes a registration script, every line ended by CR LF: ANSI when the code page holds every character exactly
    // (never best fit), otherwise UTF-16LE with a byte-order mark. Then holds the file (see HeldFile) and checks that
    // it reads back byte for byte as written. Throws PlatformError on any failure (the file is then not left behind).
    virtual std::unique_ptr<HeldFile> writeHeldScript(const std::string& path, const std::vector<std::string>& lines) = 0;

    // Names of the values of a key; empty when the key cannot be opened.
    virtual std::vector<std::string> registryValueNames(RegRoot root, const std::string& subkey) = 0;

    // Reads that the plan and the undo record need. Keys are full paths from a
    // root's full name ("HKEY_LOCAL_MACHINE\\SOFTWARE\\..."); a key that cannot be
    // opened reads as absent.
    virtual bool registryKeyExists(const std::string& key) = 0;
    virtual std::optional<RegValue> registryValue(const std::string& key, const std::string& name) = 0;
    virtual std::vector<NamedRegValue> registryValues(const std::string& key) = 0;
    virtual std::vector<std::string> registrySubkeys(const std::string& key) = 0;
    // While held, the reads above may keep the keys they open until released:
    // for a run of reads with no change in between. Starting a process ends the hold.
    virtual void holdRegistryKeysOpen(bool /*hold*/) {}

    // The file's bytes as stored; throws PlatformError if it cannot be read.
    virtual std::string readFileBytes(const std::string& path) = 0;
    // The same for a file that may be anything (a planted record): one larger
    // than `limit` bytes is refused before any of it is read.
    virtual std::string readFileBytesAtMost(const std::string& path, std::size_t limit) {
        std::string bytes = readFileBytes(path);
        if (bytes.size() > limit) throw FileTooLarge(path, limit);
        return bytes;
    }
    // Copies a file; throws PlatformError if it cannot, or if `to` exists. The
    // copy is left to the system to write out when it will.
    virtual void copyFile(const std::string& from, const std::string& to) = 0;
    // The same, returning only once the copy's bytes are on the disk. Its folder
    // entry is on the disk with the next flushed write on the volume (the system
    // journals entries in order), at once where the system lets a folder be flushed.
    // A platform without a disk copies as copyFile does.
    virtual void copyFileFlushed(const std::string& from, const std::string& to) { copyFile(from, to); }
    // Creates one folder whose parent exists; throws PlatformError otherwise.
    virtual void createDirectory(const std::string& path) = 0;
    // Folders directly in the folder, sorted by name.
    virtual std::vector<std::string> listSubfolders(const std::string& folder) = 0;
    // Adds the bytes at the end of the file (created if missing) and returns only
    // once they are on the disk. Throws PlatformError when it cannot.
    virtual void appendFileFlushed(const std::string& path, std::string_view bytes) = 0;
    // The same, left to the system to write out when it will.
    virtual void appendFile(const std::string& path, std::string_view bytes) { appendFileFlushed(path, bytes); }
    virtual LocalTime localTime() = 0;
    // The time in UTC, as reports many machines write into one file give it.
    virtual LocalTime universalTime() = 0;
    // Appends `block` to the file as one piece while no other program that
    // appends so can (a lock on the file's byte range, which holds on a
    // network share too), `heading` first when the file is new or empty, and
    // returns once it is on the disk. False when the file stayed in use
    // through `bound` (locked, or held open by a program that lets nobody
    // write, as a spreadsheet reading it does); throws PlatformError when the
    // file cannot be written, or when it holds something else: one that is
    // not empty must begin as `heading` does (BeginsAsHeading).
    virtual bool appendUnderLock(const std::string& path, std::string_view heading, std::string_view block,
                                 std::chrono::milliseconds bound) = 0;

    virtual std::string userName() = 0;
    virtual std::string executableFolder() = 0;
    // The machine's own name, as the system gives it; throws PlatformError when it cannot tell.
    virtual std::string computerName() = 0;
    // The application data folder shared by every user of the machine; throws PlatformError when it cannot tell.
    virtual std::string commonAppDataFolder() = 0;
    // Where this Windows keeps a folder, as the system says (its name differs
    // by language, Windows may live on another drive); empty when it cannot tell.
    virtual std::string shellFolder(ShellFolder which) = 0;
    // Lets only administrators and the system change the folder and what is
    // made in it from now on (everyone may read), owned by the administrators:
    // a folder made beforehand by someone else, or with a looser list, is taken
    // back. Throws PlatformError when it cannot. A platform with one user
    // needs nothing done.
    virtual void protectFolder(const std::string& /*path*/) {}
    // Whether the path itself (not what it leads to) is a symbolic link, a junction or another reparse point:
    // such a path is removed as itself and never entered.
    virtual bool isLinkOrJunction(const std::string& path) = 0;

    // Whether this 32-bit program runs on 64-bit Windows (WoW64), where the
    // tools it is handed write the 32-bit view of the registry unless told
    // otherwise. Asked of the system once.
    virtual bool wow64() { return false; }

    virtual void pumpEvents() = 0;

    // Takes the machine's run lock, waiting at most `bound` for another run to
    // end (window events are served meanwhile); nothing when that run still
    // holds it then. A thread that holds it may take it again. A platform
    // that cannot change the machine needs no lock.
    virtual std::unique_ptr<RunLock> holdRunLock(std::chrono::milliseconds /*bound*/) {
        return std::make_unique<RunLock>();
    }

    // Writes the event with `text` (UTF-8, at most a few thousand bytes) to the
    // Application log, registering the source first where this user may. A log
    // that cannot be written never fails the run, so this throws nothing. A
    // platform without a log writes nothing.
    virtual void reportEvent(RunEvent /*event*/, const std::string& /*text*/) noexcept {}

    virtual MessageBoxAnswer messageBox(const std::string& text, const std::string& title,
                                        MessageBoxKind kind) = 0;
    // The chosen folder's file-system path, or nothing when cancelled.
    // `startAt`, when it names a folder that is there, is selected when the browser opens.
    virtual std::optional<std::string> browseForFolder(const std::string& title, const std::string& startAt) = 0;
    virtual void logOff() = 0;
};

// Whether a file's first bytes begin with the first field of `heading`, either
// after its UTF-8 byte-order mark or without it (as a spreadsheet saves the
// file again), or are that mark alone (an empty file a text editor made): a
// file named by mistake (a selection file, say) does not.
inline bool BeginsAsHeading(std::string_view start, std::string_view heading) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    if (start.starts_with(mark)) start.remove_prefix(mark.size());
    if (heading.starts_with(mark)) heading.remove_prefix(mark.size());
    const std::string_view field = heading.substr(0, heading.find_first_of(",\r\n"));
    return start.empty() || (!field.empty() && start.starts_with(field));
}

}  // namespace quillon
