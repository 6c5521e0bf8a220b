// The Application log: each run's one event, from the source "Quillon". Both
// programs hold the source's message table, so the source is registered with
// the running program as its message file unless one registered is there.
// Only administrators may register it; anyone else's event is reported all
// the same, and the log's viewer then shows its text after saying that the
// event id's description cannot be found.
#include <windows.h>

#include <vector>

#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kSourceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quillon";
constexpr wchar_t kSource[] = L"Quillon";

class EventSource {
public:
    EventSource() : handle_(RegisterEventSourceW(nullptr, kSource)) {}
    ~EventSource() {
        if (handle_) DeregisterEventSource(handle_);
    }
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

std::wstring RunningProgram() {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    return std::wstring(path.data(), length);
}

// Whether the source is registered with a message file that is there.
bool RegisteredWithFileThere() {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    wchar_t file[MAX_PATH * 2] = {};
    DWORD size = sizeof file - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key.get(), L"EventMessageFile", nullptr, &type, reinterpret_cast<BYTE*>(file), &size) !=
            ERROR_SUCCESS ||
        (type != REG_EXPAND_SZ && type != REG_SZ))
        return false;
    wchar_t expanded[MAX_PATH * 2] = {};
    if (ExpandEnvironmentStringsW(file, expanded, MAX_PATH * 2) == 0) return false;
    return GetFileAttributesW(expanded) != INVALID_FILE_ATTRIBUTES;
}

void RegisterSource() {
    if (RegisteredWithFileThere()) return;
    UniqueKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return;  // not an administrator: the event goes without its frame
    const std::wstring program = RunningProgram();
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    RegSetValueExW(key.get(), L"EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                   static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key.get(), L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types), sizeof types);
}

}  // namespace

void Win32Platform::reportEvent(RunEvent event, const std::string& text) noexcept try {
    RegisterSource();
    const EventSource source;
    if (!source.get()) return;
    const std::wstring wide = Widen(text);
    const wchar_t* strings[] = {wide.c_str()};
    ReportEventW(source.get(), IsFailure(event) ? EVENTLOG_ERROR_TYPE : EVENTLOG_INFORMATION_TYPE, 0,
                 static_cast<DWORD>(event), nullptr, 1, 0, strings, nullptr);
} catch (...) {
    // A log that cannot be written is no failure of the run.
}

}  // namespace quillon::win32
