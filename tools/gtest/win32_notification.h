#pragma once
// GoogleTest's Notification is written with std::mutex, which MinGW's win32
// thread model lacks; this stands in for it with a Windows event. Included
// ahead of every GoogleTest source in the Windows build only.
#ifdef __cplusplus
#include <windows.h>

namespace testing::internal {

class Notification {
public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { CloseHandle(event_); }
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal
#define GTEST_HAS_NOTIFICATION_ 1
#endif
