// Appending a block to a file many programs, on many machines, append to.
#include <windows.h>

#include <chrono>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {
namespace {

[[noreturn]] void Fail(const char* what, const std::string& path) {
    throw PlatformError(std::string(what) + " " + path + ": " + SystemMessage(GetLastError()));
}

// The whole of a file's possible range, held for as long as this lives.
class RangeLock {
public:
    explicit RangeLock(HANDLE file) : file_(file) {}
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;
    ~RangeLock() {
        if (held_) {
            OVERLAPPED whole{};
            UnlockFileEx(file_, 0, MAXDWORD, MAXDWORD, &whole);
        }
    }
    bool tryTake() {
        OVERLAPPED whole{};
        held_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole);
        return held_;
    }

private:
    HANDLE file_;
    bool held_ = false;
};

}  // namespace

bool Win32Platform::appendUnderLock(const std::string& path, std::string_view heading, std::string_view block,
                                    std::chrono::milliseconds bound) {
    const auto until = std::chrono::steady_clock::now() + bound;
    // Others may read and append meanwhile: the lock, not the sharing mode,
    // keeps blocks whole. A program that holds the file open denying writes
    // (a spreadsheet showing it) is waited for like the lock.
    UniqueHandle file;
    for (;;) {
        file = UniqueHandle(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) break;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) Fail("open", path);
        if (std::chrono::steady_clock::now() >= until) return false;
        Sleep(50);
    }
    RangeLock lock(file.get());
    while (!lock.tryTake()) {
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_SHARING_VIOLATION && error != ERROR_IO_PENDING)
            Fail("lock", path);
        if (std::chrono::steady_clock::now() >= until) return false;
        Sleep(10);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) Fail("read the size of", path);
    if (size.QuadPart > 0) {
        // Never appended to a file that holds something else (a selection file named by mistake).
        char start[64];
        DWORD got = 0;
        if (!ReadFile(file.get(), start, sizeof start, &got, nullptr)) Fail("read", path);
        if (!BeginsAsHeading(std::string_view(start, got), heading))
            throw PlatformError(path + " is not a report: its first line is not the report's heading; nothing was added to it");
    }
    const std::string bytes = std::string(size.QuadPart == 0 ? heading : std::string_view()) + std::string(block);
    const LARGE_INTEGER none{};
    DWORD written = 0;
    if (!SetFilePointerEx(file.get(), none, nullptr, FILE_END) ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fail("write", path);
    if (!FlushFileBuffers(file.get())) Fail("flush", path);
    return true;
}

}  // namespace quillon::win32
