// On 64-bit Windows (a 64-bit Wine prefix, where this 32-bit program runs
// under WoW64) every setting goes to the native view, the one Windows reads,
// and the 32-bit view is left as it was. Skipped on 32-bit Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "effects/EffectTarget.h"
#include "engine/SelectionForm.h"
#include "planning/Plan.h"
#include "platform/RegistryPath.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "record/Journal.h"
#include "record/RecordStore.h"
#include "restore/Restore.h"
#include "startup/StartupList.h"
#include "startup/StartupPhase.h"
#include "tests/support/MemoryForm.h"
#include "tests/support/UndoRecords.h"
#include "tests/wine/QuitRequestDropped.h"
#include "tests/wine/RegistryTree.h"
#include "window/OptimiseRun.h"
#include "window/PageSwitching.h"
#include "window/win32/MainWindow.h"
#include "tests/wine/SharedSteps.h"

namespace quillon {
namespace {

constexpr std::string_view kSoftware = "HKEY_LOCAL_MACHINE\\SOFTWARE";
constexpr wchar_t kFolder[] = L"C:\\Quillon wow64 test";
constexpr wchar_t kRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Every box of a tweak page with a target below HKEY_LOCAL_MACHINE\SOFTWARE,
// and the keys those targets lie in (below the root).
struct SoftwareTargets {
    std::set<int> boxes, systemBoxes;
    std::set<std::string> keys;
};

SoftwareTargets TargetsBelowSoftware(Platform& machine) {
    SoftwareTargets found;
    SelectionForm form;
    for (bool ticked : {true, false}) {
        form.tickEverything(ticked);
        for (Page page : {Page::System, Page::Security})
            for (const PlannedEffect& p : PlanRun(form, machine, machine.userName(), std::span<const Page>(&page, 1))) {
                const EffectTarget t = TargetOf(p.effect);
                if (t.kind == TargetKind::File || t.kind == TargetKind::Folder || t.kind == TargetKind::Tool) continue;
                if (!KeyWithin(t.path, kSoftware) || p.step.boxes[0] < 0) continue;
                found.keys.insert(KeyBelowRoot(t.path));
                for (int box : p.step.boxes)
                    if (box >= 0) (page == Page::System ? found.systemBoxes : found.boxes).insert(box);
            }
    }
    found.boxes.insert(found.systemBoxes.begin(), found.systemBoxes.end());
    return found;
}

// Both views of every key the boxes write: the native one, and the 32-bit one
// where it is a key of its own (the shared ones are the native key itself).
struct Views {
    std::vector<std::optional<test::RegistryTree>> native, view32;
    bool operator==(const Views&) const = default;
};

void PrintTo(const Views& views, std::ostream* out) {
    for (const auto* side : {&views.native, &views.view32}) {
        *out << (side == &views.native ? "\nnative view:" : "\n32-bit view:");
        for (const auto& tree : *side) {
            *out << "\n";
            if (tree) test::PrintTo(*tree, out);
            else *out << "(absent)";
        }
    }
}

Views ReadViews(const std::set<std::string>& keys) {
    Views views;
    for (const std::string& key : keys) {
        views.native.push_back(test::ReadTree(HKEY_LOCAL_MACHINE, win32::Widen(key), KEY_WOW64_64KEY));
        const std::string full = std::string(kSoftware.substr(0, 18)) + "\\" + key;
        if (KeyOf32BitView(full) != full)
            views.view32.push_back(test::ReadTree(HKEY_LOCAL_MACHINE, win32::Widen(key), KEY_WOW64_32KEY));
    }
    return views;
}

void SetRunValue(REGSAM view, const wchar_t* name, const wchar_t* data) {
    win32::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t)));
}

bool HasRunValue(REGSAM view, const wchar_t* name) {
    win32::UniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

using test::ReadAll;

struct Console {
    std::wstring exe = std::wstring(kFolder) + L"\\quillonc.exe";
    int runs = 0;
    std::string out;

    // Runs quillonc.exe with the arguments; its exit status, its output in `out`.
    DWORD run(const std::string& arguments) {
        const std::wstring outPath = std::wstring(kFolder) + L"\\out" + std::to_wstring(++runs) + L".txt";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        win32::UniqueHandle output(
            CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output.get();
        PROCESS_INFORMATION info{};
        std::wstring line = L"\"" + exe + L"\" " + win32::Widen(arguments);
        if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, kFolder,
                            &startup, &info)) {
            ADD_FAILURE() << "quillonc.exe did not start";
            return 99;
        }
        win32::UniqueHandle process(info.hProcess), thread(info.hThread);
        EXPECT_EQ(WaitForSingleObject(process.get(), 300000), WAIT_OBJECT_0);
        DWORD status = 99;
        GetExitCodeProcess(process.get(), &status);
        output = {};
        out = ReadAll(outPath);
        return status;
    }
};

std::string BoxList(const std::set<int>& boxes) {
    std::string list;
    for (int box : boxes) list += (list.empty() ? "" : ",") + std::to_string(box);
    return list;
}

TEST(Wow64Wine, EverySettingLandsInTheNativeViewAndUndoLeavesBothViewsAsTheyWere) {
    win32::Win32Platform platform;
    if (!platform.wow64()) GTEST_SKIP() << "32-bit Windows";
    CreateDirectoryW(kFolder, nullptr);
    const SoftwareTargets targets = TargetsBelowSoftware(platform);
    ASSERT_GT(targets.boxes.size(), 4u);
    ASSERT_FALSE(targets.systemBoxes.empty());
    const Views prior = ReadViews(targets.keys);

    // The console, as a script runs it: APPLY, CHECK, STATUS, UNDO, both sides.
    Console console;
    const std::wstring built = win32::Widen(platform.executableFolder()) + L"\\quillonc.exe";
    ASSERT_TRUE(CopyFileW(built.c_str(), console.exe.c_str(), FALSE));
    const std::string boxes = BoxList(targets.boxes);
    for (const char* side : {"/on ", "/off "}) {
        SCOPED_TRACE(side);
        const auto newestFolder = [&] {
            const auto records = ListRecords(platform, DefaultUndoRoot(platform));
            return records.empty() ? std::string() : records.front().folder;
        };
        const std::string newestBefore = newestFolder();
        EXPECT_EQ(console.run(std::string("APPLY ") + side + boxes), 0u) << console.out;
        EXPECT_EQ(ReadViews(targets.keys).view32, prior.view32) << "the 32-bit view was written";
        EXPECT_EQ(console.run(std::string("CHECK ") + side + boxes), 0u) << console.out;
        ASSERT_EQ(console.run("STATUS"), 0u) << console.out;
        if (side[2] == 'n') {
            for (int box : targets.boxes) {
                const std::string row = "\t" + std::to_string(box) + "\ton";
                EXPECT_NE(console.out.find(row), std::string::npos) << row << "\n" << console.out;
            }
        }
        // A run that changed nothing keeps no record, and there is nothing to
        // undo. (Counting records would miss one when the store is full.)
        if (newestFolder() != newestBefore) {
            EXPECT_EQ(console.run("UNDO"), 0u) << console.out;
        }
        EXPECT_EQ(ReadViews(targets.keys), prior) << "after UNDO";
    }

    // Startup entries of both views, one name in each: listed apart, removed
    // each from its own view, put back where each was.
    SetRunValue(KEY_WOW64_64KEY, L"QuillonBoth", L"c:\\native.exe");
    SetRunValue(KEY_WOW64_32KEY, L"QuillonBoth", L"c:\\wow32.exe");
    SetRunValue(KEY_WOW64_32KEY, L"Quillon32", L"c:\\wow32.exe");
    {
        const std::string root = win32::Narrow(kFolder) + "\\undo";
        test::JournalStack run(platform, root);
        test::MemoryForm form;
        form.showOnly(Page::Startup);
        std::string record;
        run.stack.run(form, platform.userName(), [&](RunContext& context) {
            ListStartupItems(context);
            std::vector<StartupEntry> ours;
            for (int i = 0; i < form.listCount(CheckList::Startup); ++i) {
                const StartupEntry entry = ListedStartupEntry(form, i);
                if (entry.name.starts_with("Quillon")) ours.push_back(entry), form.setListSelected(CheckList::Startup, i, true);
            }
            std::sort(ours.begin(), ours.end(), [](const StartupEntry& a, const StartupEntry& b) {
                return std::tie(a.name, a.view) < std::tie(b.name, b.view);
            });
            EXPECT_EQ(ours, (std::vector<StartupEntry>{{"Quillon32", RegView::Wow32},
                                                       {"QuillonBoth", RegView::Native},
                                                       {"QuillonBoth", RegView::Wow32}}));
            RunStartupPhase(context);
        });
        record = run.journal.finish();
        EXPECT_FALSE(HasRunValue(KEY_WOW64_64KEY, L"QuillonBoth"));
        EXPECT_FALSE(HasRunValue(KEY_WOW64_32KEY, L"QuillonBoth"));
        EXPECT_FALSE(HasRunValue(KEY_WOW64_32KEY, L"Quillon32"));
        EXPECT_FALSE(HasRunValue(KEY_WOW64_64KEY, L"Quillon32"));
        ASSERT_FALSE(record.empty());
        EXPECT_EQ(RestoreRecord(platform, record).failed, 0);
        EXPECT_TRUE(HasRunValue(KEY_WOW64_64KEY, L"QuillonBoth"));
        EXPECT_TRUE(HasRunValue(KEY_WOW64_32KEY, L"QuillonBoth"));
        EXPECT_TRUE(HasRunValue(KEY_WOW64_32KEY, L"Quillon32"));
        EXPECT_FALSE(HasRunValue(KEY_WOW64_64KEY, L"Quillon32"));
    }

    // The window's Optimize of the System page.
    {
        test::QuitRequestDropped dropped;
        win32::Win32Platform windowPlatform;
        win32::MainWindow window(GetModuleHandleW(nullptr), windowPlatform);
        windowPlatform.setMainWindow(window.handle());
        ShowPage(window.context(), Page::System);
        for (int i = 0; i < kCheckBoxCount; ++i) window.setChk(i, targets.systemBoxes.count(i) ? kTicked : kUnticked);
        int failed = -1;
        // What the Optimize button does.
        RunWithUndoRecord(window.context(), [&](RunContext& run) { failed = RunOptimise(run); });
        EXPECT_EQ(failed, 0);
        EXPECT_EQ(window.label(Label::Wait), "Optimize complete!");
        EXPECT_EQ(ReadViews(targets.keys).view32, prior.view32) << "the 32-bit view was written";
        EXPECT_EQ(console.run("CHECK /on " + BoxList(targets.systemBoxes)), 0u) << console.out;
        EXPECT_EQ(console.run("UNDO"), 0u) << console.out;
        EXPECT_EQ(ReadViews(targets.keys), prior) << "after UNDO of the window's run";
    }
}

}  // namespace
}  // namespace quillon
