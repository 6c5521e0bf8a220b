// The machine's run lock: a named mutex every run of the program takes.
//
// It lives in the Global namespace: the registry and the services a run
// changes belong to the whole machine, and a deployment tool (session 0), a
// second user switched in and an administrator's window all run in sessions
// of their own, which "Local\" would keep apart. Windows XP knows the prefix
// with or without Terminal Services.
#include <windows.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kRunLockName[] = L"Global\\Quillon.Run";
// How often a lock that could not even be opened (made by a user whose
// object we may not wait on) is tried again.
constexpr DWORD kRetry = 200;

class HeldMutex final : public RunLock {
public:
    explicit HeldMutex(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
    ~HeldMutex() override { ReleaseMutex(mutex_.get()); }

private:
    UniqueHandle mutex_;
};

// Waits for one object, serving the window's messages when there is a window.
DWORD WaitServing(HANDLE object, DWORD timeout, HWND window) {
    if (!window) return WaitForSingleObject(object, timeout);
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent >= timeout ? 0 : timeout - spent;
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (result != WAIT_OBJECT_0 + 1) return result;
        PumpPendingMessages(window);
        if (left == 0) return WaitForSingleObject(object, 0);
    }
}

}  // namespace

std::unique_ptr<RunLock> Win32Platform::holdRunLock(std::chrono::milliseconds bound) {
    const DWORD total = static_cast<DWORD>(bound.count());
    const DWORD start = GetTickCount();
    for (;;) {
        UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kRunLockName));
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent >= total ? 0 : total - spent;
        if (mutex) {
            const DWORD result = WaitServing(mutex.get(), left, mainWindow_);
            // Abandoned: the run that held it was ended; its record is written ahead, so go on.
            if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) return std::make_unique<HeldMutex>(std::move(mutex));
            return nullptr;
        }
        // Access denied: another user's run holds it; try again until it is gone.
        if (left == 0) return nullptr;
        const DWORD pause = left < kRetry ? left : kRetry;
        if (mainWindow_) {
            WaitServing(GetCurrentProcess(), pause, mainWindow_);
        } else {
            Sleep(pause);
        }
    }
}

}  // namespace quillon::win32
