// The main window asked to close while Optimize or Auto Optimize runs, each
// way a user can ask: the run is never cut, the window closes when it ends;
// the system menu, refused during a run, followed by Esc closes nothing.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/ServiceCatalogue.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/QuitRequestDropped.h"
#include "tests/wine/StandinCommands.h"
#include "window/OptimiseRun.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"
#include "tests/wine/SharedSteps.h"

namespace quillon {
namespace {

using test::Click;

enum class Asking { CloseButton, AltF4, MenuThenEscape };

// Says OK to Auto's question.
class SureUser : public win32::Win32Platform {
public:
    MessageBoxAnswer messageBox(const std::string&, const std::string&, MessageBoxKind) override {
        return MessageBoxAnswer::Ok;
    }
};

struct Closer {
    win32::MainWindow* window = nullptr;
    Asking asking = Asking::CloseButton;
    std::string shown;
    bool toolEnded = false;
};

void EndHungTools() {
    DeleteFileW(L"C:\\standin-hang");
    win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szExeFile, L"sc.exe") == 0)
            if (win32::UniqueHandle p(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)); p)
                TerminateProcess(p.get(), 1);
}

// While the run waits for a hung tool: asks to close, reads what the window
// says (it answers only while it serves its events), then lets the tool end.
DWORD WINAPI AskToClose(void* parameter) {
    auto& c = *static_cast<Closer*>(parameter);
    const HWND window = c.window->handle();
    test::WaitForStandin("sc", 1200);
    switch (c.asking) {
    case Asking::CloseButton: PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Asking::AltF4:
        PostMessageW(window, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(1) << 29);
        PostMessageW(window, WM_SYSKEYUP, VK_F4, static_cast<LPARAM>(0xC0000001) | (1 << 29));
        break;
    case Asking::MenuThenEscape:
        PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(window, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001));
        break;
    }
    const std::string awaited =
        c.asking == Asking::MenuThenEscape ? "Optimizing..." : "Quillon closes when this run has ended...";
    for (int i = 0; i < 200 && c.shown != awaited; ++i, Sleep(50)) c.shown = c.window->label(Label::Wait);
    c.toolEnded = true;
    EndHungTools();
    return 0;
}

void CloseDuringRun(Button button, Asking asking) {
    test::QuitRequestDropped dropped;
    test::ClearStandinCommands();
    win32::UniqueHandle(CreateFileW(L"C:\\standin-hang", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SureUser platform;
    win32::MainWindow window(GetModuleHandleW(nullptr), platform);
    platform.setMainWindow(window.handle());
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    ShowPage(window.context(), Page::Services);
    window.setListSelected(CheckList::Service, 0, true);

    Closer closer;
    closer.window = &window;
    closer.asking = asking;
    HANDLE thread = CreateThread(nullptr, 0, AskToClose, &closer, 0, nullptr);
    const HWND handle = window.handle();
    Click(window.buttonWindow(button));
    // The run goes on inside the click's handling; then every message left is handled.
    bool closedBeforeTheToolEnded = false;
    MSG message;
    for (const DWORD start = GetTickCount(); IsWindow(handle) && GetTickCount() - start < 600000;) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (closer.toolEnded && window.buttonEnabled(Button::Optimize)) break;  // ended, and nothing left
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (message.message == WM_QUIT) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        closedBeforeTheToolEnded = closedBeforeTheToolEnded || (!IsWindow(handle) && !closer.toolEnded);
    }
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    EndHungTools();

    EXPECT_TRUE(closer.toolEnded);
    EXPECT_FALSE(closedBeforeTheToolEnded);
    if (asking == Asking::MenuThenEscape) {
        EXPECT_EQ(closer.shown, "Optimizing...");
        ASSERT_TRUE(IsWindow(handle)) << "Esc after the refused menu closed the window";
        EXPECT_EQ(window.label(Label::Wait), CompletionText(0));
        DestroyWindow(handle);
    } else {
        EXPECT_EQ(closer.shown, "Quillon closes when this run has ended...");
        EXPECT_FALSE(IsWindow(handle));  // closed once the run had ended
    }
    // Auto ran to its last page, Services, before the window closed.
    const auto commands = test::StandinCommands();
    const auto disabled = std::count_if(commands.begin(), commands.end(), [](const std::string& line) {
        return line.find("start= disabled") != std::string::npos;
    });
    if (button == Button::Auto) {
        EXPECT_GE(disabled, kServiceCount);
    }
}

TEST(CloseDuringRunWine, TheCloseButtonDuringAutoClosesTheWindowWhenAllItsPagesHaveRun) {
    CloseDuringRun(Button::Auto, Asking::CloseButton);
}

TEST(CloseDuringRunWine, AltF4DuringOptimizeClosesTheWindowWhenTheRunHasEnded) {
    CloseDuringRun(Button::Optimize, Asking::AltF4);
}

TEST(CloseDuringRunWine, TheMenuThenEscDuringOptimizeClosesNothingAndTheRunEnds) {
    CloseDuringRun(Button::Optimize, Asking::MenuThenEscape);
}

}  // namespace
}  // namespace quillon
