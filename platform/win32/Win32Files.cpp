// Files and folders, text files and the registration script.
#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/DevicePath.h"
#include "platform/ScriptEncoding.h"
#include "platform/TextMatch.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {
namespace {

constexpr DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// A full path taken as it is: no trailing dot or blank dropped, so "foo." is
// never "foo". A path that is not full, or that holds a "." or ".." step, is
// left to the usual rules.
std::wstring ExactPath(const std::wstring& path) {
    const bool full = path.size() > 3 && path[1] == L':' && path[2] == L'\\' &&
                      path.find(L'/') == std::wstring::npos;
    if (!full) return path;
    const std::wstring steps = path + L'\\';
    if (steps.find(L"\\.\\") != std::wstring::npos || steps.find(L"\\..\\") != std::wstring::npos) return path;
    return L"\\\\?\\" + path;
}

std::wstring Exact(const std::string& path) { return ExactPath(Widen(path)); }

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Exact(path).c_str()); }

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

[[noreturn]] void Fail(const char* what, const std::string& path) {
    throw PlatformError(std::string(what) + " " + path + ": " + SystemMessage(GetLastError()));
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// ANSI as always when the code page holds the text exactly, so older readers
// still read it; otherwise UTF-8, marked, rather than lose characters.
std::string TextFileBytes(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    if (auto ansi = ToAnsiExactly(Widen(text))) return *ansi;
    return std::string(kUtf8Mark) + text;
}

void WriteWhole(const std::string& path, const std::vector<std::string>& lines, bool flush) {
    const std::string bytes = TextFileBytes(lines);
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("create", path);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) Fail("write", path);
    // A write cut short succeeds with fewer bytes and leaves the last error of
    // opening ("already exists"): the disk is full.
    if (written != bytes.size()) SetLastError(ERROR_DISK_FULL), Fail("write", path);
    if (flush && !FlushFileBuffers(file.get())) Fail("flush", path);
}

class HeldHandle : public HeldFile {
public:
    explicit HeldHandle(UniqueHandle handle) : handle_(std::move(handle)) {}

private:
    UniqueHandle handle_;
};

std::string ScriptBytes(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const auto wide = WidenExactly(text);
    if (!wide) throw PlatformError("script text is not UTF-8");
    if (!HoldsHexText(lines))
        if (auto ansi = ToAnsiExactly(*wide)) return *ansi;
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : *wide) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
}

bool ReadsBackAs(HANDLE file, const std::string& expected) {
    std::string bytes(expected.size() + 1, '\0');  // one more: a longer file is not the same file
    DWORD total = 0, got = 0;
    while (total < bytes.size() &&
           ReadFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &got, nullptr) && got > 0)
        total += got;
    return total == expected.size() && bytes.compare(0, total, expected) == 0;
}

}  // namespace

bool Win32Platform::visibleFileExists(const std::string& path) {
    const std::wstring wide = Widen(path);
    const std::wstring name = wide.substr(wide.find_last_of(L'\\') + 1);
    if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos) return false;  // a search, not a name
    WIN32_FIND_DATAW found{};
    FindHandle search(FindFirstFileW(ExactPath(wide).c_str(), &found));
    // The system also finds a file by its short 8.3 name, and by a name with
    // trailing dots or blanks dropped; only the file whose own long name this is counts.
    return search.valid() && lstrcmpiW(found.cFileName, name.c_str()) == 0 &&
           !(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kInvisible));
}

bool Win32Platform::anyFileExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::directoryExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::isLinkOrJunction(const std::string& path) {
    // The attributes of the name itself: a reparse point is not followed to read them.
    const DWORD a = GetFileAttributesW(ExactPath(Widen(path)).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::vector<std::string> Win32Platform::listVisibleFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    // Every entry, matched against the long name here: a system pattern would
    // also match short 8.3 names ("*.lnk" would take "a.lnkx").
    FindHandle search(FindFirstFileW(Exact(folder + "\\*").c_str(), &found));
    if (!search.valid()) return names;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kInvisible)) continue;
        std::string name = Narrow(found.cFileName);
        if (WildcardMatch(pattern, name)) names.push_back(std::move(name));
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiW(Widen(a).c_str(), Widen(b).c_str()) < 0;
    });
    return names;
}

void Win32Platform::deleteFile(const std::string& path) {
    if (!DeleteFileW(Exact(path).c_str())) Fail("delete", path);
}

void Win32Platform::removeEmptyDirectory(const std::string& path) {
    if (!RemoveDirectoryW(Exact(path).c_str())) Fail("remove directory", path);
}

void Win32Platform::writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteWhole(path, lines, false);
}

void Win32Platform::replaceTextFile(const std::string& path, const std::vector<std::string>& lines) {
    const std::string temporary = path + ".tmp";
    try {
        WriteWhole(temporary, lines, true);
    } catch (...) {
        DeleteFileW(Widen(temporary).c_str());
        throw;
    }
    if (!MoveFileExW(Widen(temporary).c_str(), Widen(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(Widen(temporary).c_str());
        Fail("replace", path);
    }
}

std::vector<std::string> Win32Platform::readTextFile(const std::string& path) {
    // A device could keep the read waiting for ever; only a file on disk is read.
    if (IsDevicePath(path)) throw PlatformError(path + " is a device, not a file");
    const DWORD attributes = Attributes(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw PlatformError(path + " is a folder, not a file");
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("open", path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw PlatformError(path + " is not a file on disk");
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    // A selection file is a few hundred bytes; anything past the bound is not
    // one, and reading it in part could cut an entry into another ("on 54" into "on 5").
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0 && bytes.size() <= kTextFileLimit)
        bytes.append(buffer, got);
    if (bytes.size() > kTextFileLimit) throw PlatformError(path + " is larger than 1 MiB: no selection, boxes or report file is");
    const bool utf8 = bytes.starts_with(kUtf8Mark);
    std::vector<std::string> lines;
    std::size_t start = utf8 ? kUtf8Mark.size() : 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(utf8 ? line : FromAnsi(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::unique_ptr<HeldFile> Win32Platform::writeHeldScript(const std::string& path, const std::vector<std::string>& lines) {
    const std::string bytes = ScriptBytes(lines);
    const std::wstring wide = Widen(path);
    {
        // A new file only: whatever someone else put there is never written through.
        UniqueHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) Fail("create", path);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            file.reset();
            DeleteFileW(wide.c_str());
            Fail("write", path);
        }
    }
    // Read-only, with writing and deleting denied to everyone else: from here
    // on nobody can change or replace it, so what reads back now is what the
    // import will read.
    UniqueHandle held(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held || !ReadsBackAs(held.get(), bytes)) {
        const DWORD error = GetLastError();
        held.reset();
        DeleteFileW(wide.c_str());
        SetLastError(error);
        Fail("hold", path);
    }
    return std::make_unique<HeldHandle>(std::move(held));
}

}  // namespace quillon::win32

namespace quillon::win32 {

std::string Win32Platform::readFileBytes(const std::string& path) {
    UniqueHandle file(CreateFileW(Exact(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("open", path);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

std::string Win32Platform::readFileBytesAtMost(const std::string& path, std::size_t limit) {
    UniqueHandle file(CreateFileW(Exact(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("open", path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) Fail("read", path);
    if (static_cast<unsigned long long>(size.QuadPart) > limit) throw FileTooLarge(path, limit);
    // Read no further than the bound even when the file grows meanwhile.
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (bytes.size() <= limit && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    if (bytes.size() > limit) throw FileTooLarge(path, limit);
    return bytes;
}

void Win32Platform::protectFolder(const std::string& path) {
    // Owner: the administrators. A list of its own, not what the parent passes
    // down: SYSTEM and the administrators do anything, users read and list;
    // folders and files made inside take the same.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)", SDDL_REVISION_1, &descriptor, nullptr))
        Fail("protect", path);
    const std::unique_ptr<void, HLOCAL (WINAPI*)(HLOCAL)> owned(descriptor, LocalFree);
    if (!SetFileSecurityW(Exact(path).c_str(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, descriptor))
        Fail("protect", path);
}

void Win32Platform::copyFile(const std::string& from, const std::string& to) {
    if (!CopyFileW(Exact(from).c_str(), Exact(to).c_str(), TRUE)) Fail("copy", from + " to " + to);
}

namespace {

// Its bytes on the disk: the cache holds a file's data whichever handle wrote it.
void FlushWritten(const std::string& path) {
    const std::wstring exact = Exact(path);
    // Only a handle that may write can flush; a read-only copy is made writable for it, then put back.
    const DWORD attributes = GetFileAttributesW(exact.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesW(exact.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) Fail("open", path);
    UniqueHandle file(CreateFileW(exact.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool flushed = file && FlushFileBuffers(file.get());
    const DWORD error = GetLastError();
    file.reset();
    if (readOnly) SetFileAttributesW(exact.c_str(), attributes);
    SetLastError(error);
    if (!flushed) Fail("flush", path);
}

// The folder's entries on the disk where the system can flush a folder; where
// it cannot (older NTFS refuses), the next flushed write on the volume commits
// its journal, entries included.
void TryFlushFolder(const std::string& folder) {
    UniqueHandle handle(CreateFileW(Exact(folder).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) FlushFileBuffers(handle.get());
}

}  // namespace

void Win32Platform::copyFileFlushed(const std::string& from, const std::string& to) {
    copyFile(from, to);
    try {
        FlushWritten(to);
    } catch (const PlatformError&) {
        // A copy that may not be on the disk is not left to pass for one that is.
        DeleteFileW(Exact(to).c_str());
        throw;
    }
    TryFlushFolder(to.substr(0, to.find_last_of('\\')));
}

void Win32Platform::createDirectory(const std::string& path) {
    if (!CreateDirectoryW(Exact(path).c_str(), nullptr)) Fail("create directory", path);
}

std::vector<std::string> Win32Platform::listSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    FindHandle search(FindFirstFileW(Exact(folder + "\\*").c_str(), &found));
    if (!search.valid()) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..") continue;
        names.push_back(Narrow(name));
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

UniqueHandle Append(const std::string& path, std::string_view bytes) {
    UniqueHandle file(CreateFileW(Exact(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("open", path);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) Fail("write", path);
    // A write cut short succeeds with fewer bytes and leaves the last error of
    // opening ("already exists"): the disk is full.
    if (written != bytes.size()) SetLastError(ERROR_DISK_FULL), Fail("write", path);
    return file;
}

}  // namespace

void Win32Platform::appendFileFlushed(const std::string& path, std::string_view bytes) {
    if (!FlushFileBuffers(Append(path, bytes).get())) Fail("flush", path);
}

void Win32Platform::appendFile(const std::string& path, std::string_view bytes) { Append(path, bytes); }

}  // namespace quillon::win32
