// Runs on the real main window: an impatient user during Auto, and the status
// text after a run with failed steps.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/wine/QuitRequestDropped.h"
#include "window/OptimiseRun.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/RegistryRead.h"
#include "tests/wine/StandinCommands.h"
#include "tests/wine/SharedSteps.h"
#include "window/CommandButtons.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"

namespace quillon {
namespace {

using test::Click;

// Answers OK to every question and clicks Speed and Optimize whenever the
// program lets events through.
class ImpatientUser : public win32::Win32Platform {
public:
    win32::MainWindow* window = nullptr;
    int pumpsWithAButtonEnabled = 0;

    MessageBoxAnswer messageBox(const std::string&, const std::string&, MessageBoxKind) override {
        return MessageBoxAnswer::Ok;
    }
    void pumpEvents() override {
        if (window) {
            for (int b = 0; b < kButtonCount; ++b)
                if (window->buttonEnabled(static_cast<Button>(b))) ++pumpsWithAButtonEnabled;
            Click(window->buttonWindow(Button::Wight));
            Click(window->buttonWindow(Button::Optimize));
        }
        Win32Platform::pumpEvents();
    }
};

using test::QuitRequestDropped;

void DeleteValue(HKEY root, const wchar_t* subkey, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

const wchar_t kMenuKey[] = L"SOFTWARE\\Classes\\CLSID\\{00021400-0000-0000-C000-000000000046}";
const wchar_t kUserPolicy[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

TEST(MainWindowRunWine, ClicksDuringAutoCannotChangeWhichPagesItApplies) {
    QuitRequestDropped dropped;
    ImpatientUser user;
    win32::MainWindow window(GetModuleHandleW(nullptr), user);
    user.setMainWindow(window.handle());
    window.setChk(41, kTicked);  // a Speed run would start the file checker
    DeleteValue(HKEY_LOCAL_MACHINE, kMenuKey, L"MenuShowDelay");
    DeleteValue(HKEY_CURRENT_USER, kUserPolicy, L"NoControlPanel");
    test::ClearStandinCommands();
    user.window = &window;

    AutoOptimise(window.context());
    user.window = nullptr;
    win32::PumpPendingMessages(window.handle());

    EXPECT_EQ(user.pumpsWithAButtonEnabled, 0);
    const auto commands = test::StandinCommands();
    EXPECT_TRUE(std::none_of(commands.begin(), commands.end(),
                             [](const std::string& line) { return line.find("sfc") != std::string::npos; }));
    const auto disabled = std::count_if(commands.begin(), commands.end(), [](const std::string& line) {
        return line.find("start= disabled") != std::string::npos;
    });
    EXPECT_GE(disabled, kServiceCount);                                            // the Services pass
    auto menuDelay = test::ReadValue(HKEY_LOCAL_MACHINE, kMenuKey, L"MenuShowDelay");  // the System pass
    EXPECT_TRUE(menuDelay && menuDelay->text == L"1");
    auto controlPanel = test::ReadValue(HKEY_CURRENT_USER, kUserPolicy, L"NoControlPanel");  // the Security pass
    EXPECT_TRUE(controlPanel && controlPanel->dword == 1u);
    EXPECT_TRUE(window.pageVisible(Page::Services));
    for (int b = 0; b < kButtonCount; ++b) EXPECT_TRUE(window.buttonEnabled(static_cast<Button>(b)));
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Between the two buttons and level with them, with room for the whole text:
// on one line, or on two where one would not fit.
void ExpectBetweenTheBottomButtons(win32::MainWindow& window) {
    HWND label = window.labelWindow(Label::Wait);
    const RECT text = ScreenRect(label), optimize = ScreenRect(window.buttonWindow(Button::Optimize)),
               exit = ScreenRect(window.buttonWindow(Button::Exit));
    EXPECT_GE(text.left, optimize.right);
    EXPECT_LE(text.right, exit.left);
    EXPECT_GE(text.top, exit.top);
    EXPECT_LE(text.bottom, exit.bottom);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::wstring caption = win32::Widen(window.label(Label::Wait));
    SIZE line{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &line);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    const int lines = line.cx <= text.right - text.left ? 1 : 2;
    EXPECT_GE(text.bottom - text.top, lines * line.cy) << win32::Narrow(caption);
}

TEST(MainWindowRunWine, StatusTextCountsFailedStepsBetweenTheBottomButtons) {
    QuitRequestDropped dropped;
    win32::Win32Platform platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform);
    platform.setMainWindow(window.handle());
    ShowWindow(window.handle(), SW_SHOWNORMAL);

    ShowPage(window.context(), Page::Speed);  // nothing ticked: nothing can fail
    // Pressed with the focus on it: locked during the run, the button takes
    // the focus back after it, so the keyboard goes on working.
    SetForegroundWindow(window.handle());
    SetFocus(window.buttonWindow(Button::Optimize));
    Click(window.buttonWindow(Button::Optimize));
    win32::PumpPendingMessages(window.handle());
    EXPECT_EQ(window.label(Label::Wait), "Optimize complete!");
    EXPECT_EQ(GetFocus(), window.buttonWindow(Button::Optimize));
    EXPECT_EQ(RunOptimise(window.context()), 0);
    EXPECT_EQ(window.label(Label::Wait), "Optimize complete!");

    DeleteFileW(L"c:\\tempreg.reg");
    ASSERT_TRUE(CreateDirectoryW(L"c:\\tempreg.reg", nullptr));  // no registry write can succeed
    ShowPage(window.context(), Page::System);
    const int failed = RunOptimise(window.context());
    RemoveDirectoryW(L"c:\\tempreg.reg");
    win32::PumpPendingMessages(window.handle());

    EXPECT_GT(failed, 10);
    // The first failed step is named by its box's caption.
    EXPECT_EQ(window.label(Label::Wait).rfind(std::to_string(failed) + " steps failed, the first: \"", 0), 0u)
        << window.label(Label::Wait);
    ExpectBetweenTheBottomButtons(window);
    // A longer text (a larger font does the same) is broken onto two lines there.
    window.setLabel(Label::Wait, "Optimize complete! 1234567 steps failed. 1234567 steps failed.");
    ExpectBetweenTheBottomButtons(window);
    // The download folder typed anew changes the selection: the run's words no longer hold.
    window.setTxtPath("C:\\Typed");
    EXPECT_EQ(window.label(Label::Wait), "");
}

// A console APPLY in another process holds the machine's run lock; here a
// thread of our own stands in for it (the lock is the thread's, as a
// process's would be).
struct LockHolder {
    win32::MainWindow* window = nullptr;
    HANDLE held = nullptr;
    bool answered = false;
    std::string shown;
};

DWORD WINAPI HoldRunLockAWhile(void* parameter) {
    auto& h = *static_cast<LockHolder*>(parameter);
    HANDLE lock = CreateMutexW(nullptr, TRUE, L"Global\\Quillon.Run");
    SetEvent(h.held);
    Sleep(800);
    DWORD_PTR result = 0;
    // Only a window that serves its messages while it waits answers these.
    h.answered = SendMessageTimeoutW(h.window->handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    h.shown = h.window->label(Label::Wait);
    ReleaseMutex(lock);
    CloseHandle(lock);
    return 0;
}

TEST(MainWindowRunWine, OptimizeWaitsForAnotherRunServingTheWindowAndSaysWhy) {
    QuitRequestDropped dropped;
    win32::Win32Platform platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform);
    platform.setMainWindow(window.handle());
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    ShowPage(window.context(), Page::Speed);  // nothing ticked: the run itself is short

    LockHolder holder;
    holder.window = &window;
    holder.held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, HoldRunLockAWhile, &holder, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(holder.held, 5000), WAIT_OBJECT_0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunOptimise(window.context()), 0);
    const DWORD waited = GetTickCount() - start;
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(holder.held);

    EXPECT_GE(waited, 700u);  // it did not run beside the other
    EXPECT_TRUE(holder.answered);
    EXPECT_EQ(holder.shown, "Waiting for another Quillon run to end...");
    EXPECT_EQ(window.label(Label::Wait), "Optimize complete!");
}

}  // namespace
}  // namespace quillon

#include <tlhelp32.h>

#include "platform/win32/UniqueHandle.h"

namespace quillon {
namespace {

// A user who, while Optimize waits for a tool, opens the system menu and closes the window.
struct CloserDuringRun {
    win32::MainWindow* window = nullptr;
    std::string shown;
    bool toolEnded = false;
};

DWORD WINAPI CloseDuringRun(void* parameter) {
    auto& c = *static_cast<CloserDuringRun*>(parameter);
    const HWND window = c.window->handle();
    test::WaitForStandin("sc", 600);
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    PostMessageW(window, WM_CLOSE, 0, 0);
    // Read through the window, which answers only while it serves its events.
    for (int i = 0; i < 200 && c.shown != "Quillon closes when this run has ended..."; ++i, Sleep(50))
        c.shown = c.window->label(Label::Wait);
    // The hung tool ends, and those after it do not hang; the run goes on to its end.
    c.toolEnded = true;
    DeleteFileW(L"C:\\standin-hang");
    win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szExeFile, L"sc.exe") == 0)
            if (win32::UniqueHandle p(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)); p)
                TerminateProcess(p.get(), 1);
    return 0;
}

TEST(MainWindowRunWine, ClosingTheWindowOrOpeningItsMenuDuringARunNeitherCutsNorStallsIt) {
    QuitRequestDropped dropped;
    test::ClearStandinCommands();
    win32::UniqueHandle(CreateFileW(L"C:\\standin-hang", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    win32::Win32Platform platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform);
    platform.setMainWindow(window.handle());
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    ShowPage(window.context(), Page::Services);
    window.setListSelected(CheckList::Service, 0, true);

    CloserDuringRun closer;
    closer.window = &window;
    HANDLE thread = CreateThread(nullptr, 0, CloseDuringRun, &closer, 0, nullptr);
    const HWND handle = window.handle();
    Click(window.buttonWindow(Button::Optimize));
    bool destroyedBeforeTheToolEnded = false;
    MSG message;
    for (const DWORD start = GetTickCount(); IsWindow(handle) && GetTickCount() - start < 90000;) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (message.message == WM_QUIT) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    destroyedBeforeTheToolEnded = !IsWindow(handle) && !closer.toolEnded;
    WaitForSingleObject(thread, 20000);
    CloseHandle(thread);
    DeleteFileW(L"C:\\standin-hang");

    EXPECT_EQ(closer.shown, "Quillon closes when this run has ended...");  // the menu did not stall it
    EXPECT_FALSE(IsWindow(handle));  // closed once the run had ended
    EXPECT_FALSE(destroyedBeforeTheToolEnded);
    EXPECT_TRUE(closer.toolEnded);
}

}  // namespace
}  // namespace quillon
