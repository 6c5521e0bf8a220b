// quillonc.exe started as a batch file would start it, from a program folder
// of its own, with its output and exit status read back.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "console/RunResult.h"
#include "engine/ServiceCatalogue.h"
#include "record/RecordStore.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/RegistryRead.h"
#include "tests/wine/RegistryTree.h"
#include "tests/wine/StandinCommands.h"
#include "words/StepNames.h"
#include "tests/wine/SharedSteps.h"

namespace quillon {
namespace {

constexpr wchar_t kProgramFolder[] = L"C:\\Quillon console test";

struct Finished {
    DWORD status = 0;
    std::string out, err;
    std::string summary;  // the closing summary line of a verb that runs or checks, kept apart from `out`
};

using test::ReadAll;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The folder a tree lives in, for "nothing changed" checks.
struct Watched {
    HKEY root;
    const wchar_t* subkey;
};
const Watched kWatched[] = {
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies"},
    {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies"},
    {HKEY_CURRENT_USER, L"Software\\Policies"},
    {HKEY_LOCAL_MACHINE, L"Software\\Policies"},
    {HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl"},
    {HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager\\Memory Management"},
    {HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
    {HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services"},
};

struct ConsoleWine : ::testing::Test {
    std::wstring folder = kProgramFolder;
    std::wstring exe = folder + L"\\quillonc.exe";

    std::vector<std::wstring> madeServices;
    static inline int runs_ = 0;  // across tests: an old output file may still be held

    void SetUp() override {
        RemoveTree(folder);  // records and files of an earlier run
        CreateDirectoryW(folder.c_str(), nullptr);
        // Wine lacks most of the services the pages set; stand-ins for their keys.
        std::vector<std::string> names{"RDSessMgr", "ERSvc"};
        for (const ServiceEntry& entry : kServices) names.emplace_back(entry.serviceName);
        for (const std::string& name : names) {
            const std::wstring key = L"System\\CurrentControlSet\\Services\\" + win32::Widen(name);
            if (test::KeyExists(HKEY_LOCAL_MACHINE, key)) continue;
            win32::UniqueKey made;
            const DWORD demand = SERVICE_DEMAND_START;
            ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                      made.put(), nullptr), ERROR_SUCCESS);
            RegSetValueExW(made.get(), L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&demand), sizeof demand);
            madeServices.push_back(key);
        }
        const std::wstring built = win32::Widen(win32::Win32Platform().executableFolder()) + L"\\quillonc.exe";
        ASSERT_TRUE(CopyFileW(built.c_str(), exe.c_str(), FALSE)) << "quillonc.exe beside the tests";
        test::ClearStandinCommands();
    }

    void TearDown() override {
        for (const std::wstring& key : madeServices) test::DeleteTree(HKEY_LOCAL_MACHINE, key);
    }

    static void RemoveTree(const std::wstring& path) {
        std::wstring from = path + L'\0';  // the list ends with a second null
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&operation);
    }

    struct Started {
        win32::UniqueHandle process, thread;
        std::wstring outPath, errPath;
    };

    // Starts quillonc.exe with `arguments` (or the command line `program`) in
    // the folder, its output going to files of their own.
    std::optional<Started> start(const std::wstring& arguments, const std::wstring& program = {}) {
        // Fresh names each time: a child's handles may outlive it briefly under Wine.
        const std::wstring number = std::to_wstring(++runs_);
        Started started{{}, {}, folder + L"\\out" + number + L".txt", folder + L"\\err" + number + L".txt"};
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        win32::UniqueHandle out(CreateFileW(started.outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                            CREATE_NEW, 0, nullptr));
        win32::UniqueHandle err(CreateFileW(started.errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                            CREATE_NEW, 0, nullptr));
        if (!out || !err) ADD_FAILURE() << "no output files in the program folder";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        PROCESS_INFORMATION info{};
        std::wstring line = program.empty() ? L"\"" + exe + L"\" " + arguments : program;
        if (!CreateProcessW(program.empty() ? exe.c_str() : nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            folder.c_str(), &startup, &info)) {
            ADD_FAILURE() << "quillonc.exe did not start";
            return std::nullopt;
        }
        started.process = win32::UniqueHandle(info.hProcess);
        started.thread = win32::UniqueHandle(info.hThread);
        return started;
    }

    // Waits for a started run and reads what it wrote.
    static Finished Wait(Started& started) {
        Finished finished;
        EXPECT_EQ(WaitForSingleObject(started.process.get(), 120000), WAIT_OBJECT_0);
        GetExitCodeProcess(started.process.get(), &finished.status);
        finished.out = ReadAll(started.outPath);
        finished.err = ReadAll(started.errPath);
        const std::size_t last = finished.out.rfind("summary\t");
        if (last != std::string::npos && (last == 0 || finished.out[last - 1] == '\n') &&
            finished.out.find("\r\n", last) + 2 == finished.out.size()) {
            finished.summary = finished.out.substr(last, finished.out.size() - 2 - last);
            finished.out.resize(last);
        }
        return finished;
    }

    Finished run(const std::wstring& arguments, const std::wstring& program = {}) {
        auto started = start(arguments, program);
        return started ? Wait(*started) : Finished{};
    }

    void writeFile(const std::wstring& name, const std::string& bytes) {
        win32::UniqueHandle file(
            CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

    static std::vector<std::optional<test::RegistryTree>> Snapshot() {
        std::vector<std::optional<test::RegistryTree>> trees;
        for (const Watched& w : kWatched) {
            trees.push_back(test::ReadTree(w.root, w.subkey));
            // The logs' sources: a run registers its own there, the program's and no tweak.
            if (trees.back()) trees.back()->subkeys.erase(L"EVENTLOG");
        }
        return trees;
    }
};

std::string SelectionText(const std::string& boxes, const std::string& option = "0") {
    return "\"" + boxes + "\"\r\n\"" + option + "\"\r\n\"0\"\r\n\"0\"\r\n\"C:\\Downloads\"\r\n\"" + std::string(26, '0') +
           "\"\r\n\"" + std::string(26, '0') + "\"\r\n\"" + std::string(19, '1') + "\"\r\n";
}

std::string AllTicked() { return std::string(77, '1'); }

TEST_F(ConsoleWine, EachBadUsageExitsWithItsStatusSaysOneLineAndChangesNothing) {
    writeFile(L"bad.dat", SelectionText(AllTicked(), "9"));  // no option 9
    writeFile(L"good.dat", SelectionText(AllTicked()));
    // An undo folder that cannot be made: a file stands where it would go.
    writeFile(L"undo", "not a folder");

    struct Case {
        std::wstring arguments;
        DWORD status;
        std::string said;  // a piece of the one line on standard error
    };
    const Case cases[] = {
        {L"FROB", 2, "FROB"},
        {L"", 2, "no verb"},
        {L"APPLY /page Startup /selection good.dat", 2, "Startup"},
        {L"PREVIEW /selection missing.dat", 2, "missing.dat"},
        {L"APPLY /selection \"C:\\Quillon console test\\missing.dat\"", 2, "does not exist"},
        {L"APPLY /selection bad.dat", 2, "bad.dat line 2"},
        {L"apply -selection good.dat -undodir \"" + folder + L"\\undo\"", 3, "undo"},
    };
    const auto before = Snapshot();
    for (const Case& c : cases) {
        const Finished finished = run(c.arguments);
        const std::string shown = win32::Narrow(c.arguments);
        EXPECT_EQ(finished.status, c.status) << shown;
        EXPECT_EQ(finished.out, "") << shown;
        const auto said = Lines(finished.err);
        ASSERT_EQ(said.size(), 1u) << shown << ": " << finished.err;
        EXPECT_NE(said[0].find(c.said), std::string::npos) << shown << ": " << said[0];
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(test::StandinCommands().empty());
    EXPECT_EQ(GetFileAttributesW((folder + L"\\setup.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW((folder + L"\\undo").c_str());
}

std::string WithServices(std::string boxes, const std::string& services) {
    std::string text = SelectionText(boxes);
    text.replace(text.rfind(std::string(19, '1')), 19, services);
    return text;
}

std::vector<std::string> Field(const std::vector<std::string>& lines, int index) {
    std::vector<std::string> fields;
    for (const std::string& line : lines) {
        std::size_t start = 0;
        for (int i = 0; i < index; ++i) start = line.find('\t', start) + 1;
        fields.push_back(line.substr(start, line.find('\t', start) - start));
    }
    return fields;
}

TEST_F(ConsoleWine, PreviewApplyStatusUndoOnTheRealRegistry) {
    std::string boxes(77, '0');
    for (int box : {54, 43, 71, 25, 22, 13}) boxes[box] = '1';
    std::string services(19, '0');
    services[7] = services[14] = '1';  // Messenger, Schedule
    writeFile(L"office.dat", WithServices(boxes, services));
    const auto before = Snapshot();

    // PREVIEW changes nothing and starts nothing.
    const Finished preview = run(L"PREVIEW /selection office.dat");
    ASSERT_EQ(preview.status, 0u) << preview.err;
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(test::StandinCommands().empty());
    EXPECT_EQ(GetFileAttributesW((folder + L"\\undo").c_str()), INVALID_FILE_ATTRIBUTES);
    const auto planned = Lines(preview.out);
    ASSERT_FALSE(planned.empty());

    // APPLY changes exactly what PREVIEW listed, and names its undo record last.
    const wchar_t* const source = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quillon";
    test::DeleteTree(HKEY_LOCAL_MACHINE, source);
    const Finished apply = run(L"APPLY /selection office.dat");
    ASSERT_EQ(apply.status, 0u) << apply.err;
    // Run as an administrator, it registered the event source with itself as the message file.
    const auto messageFile = test::ReadValue(HKEY_LOCAL_MACHINE, source, L"EventMessageFile");
    ASSERT_TRUE(messageFile && messageFile->type == REG_EXPAND_SZ);
    EXPECT_EQ(messageFile->text, exe);
    EXPECT_EQ(test::ReadValue(HKEY_LOCAL_MACHINE, source, L"TypesSupported").value_or(test::StoredValue{}).dword, 7u);
    auto applied = Lines(apply.out);
    ASSERT_FALSE(applied.empty());
    const std::string undoLine = applied.back();
    applied.pop_back();
    EXPECT_EQ(applied, planned);
    ASSERT_EQ(undoLine.rfind("undo\t", 0), 0u) << undoLine;
    EXPECT_NE(GetFileAttributesW(win32::Widen(undoLine.substr(5) + "\\undo.reg").c_str()), INVALID_FILE_ATTRIBUTES);
    auto value = [](HKEY root, const wchar_t* key, const wchar_t* name) -> std::optional<DWORD> {
        auto stored = test::ReadValue(root, key, name);
        if (!stored || stored->type != REG_DWORD) return std::nullopt;
        return stored->dword;
    };
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot"), 1u);
    EXPECT_EQ(value(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                    L"DisableTaskMgr"), 1u);
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\Messenger", L"Start"), 4u);
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\Schedule", L"Start"), 4u);
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\Spooler", L"Start"), 3u);

    // STATUS shows every ticked box on.
    const Finished status = run(L"STATUS");
    ASSERT_EQ(status.status, 0u) << status.err;
    const auto states = Lines(status.out);
    const auto pages = Field(states, 0), numbers = Field(states, 1), words = Field(states, 2);
    std::map<std::string, std::string> state;
    for (std::size_t i = 0; i < states.size(); ++i) state[pages[i] + " " + numbers[i]] = words[i];
    for (const char* box : {"System 54", "System 43", "System 71", "Security 25", "Security 22", "Security 13",
                            "Services 7", "Services 14"})
        EXPECT_EQ(state[box], "on") << box << "\n" << status.out;
    EXPECT_EQ(state["Services 8"], "off");
    EXPECT_EQ(state.count("Speed 41"), 0u);

    // UNDO puts back what was there before.
    const Finished undo = run(L"UNDO");
    ASSERT_EQ(undo.status, 0u) << undo.err;
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ConsoleWine, UndoLooksForRecordsInTheMachinesApplicationData) {
    win32::Win32Platform platform;
    const std::string root = DefaultUndoRoot(platform);
    RemoveTree(win32::Widen(root));
    const Finished listed = run(L"UNDO /list");
    EXPECT_EQ(listed.status, 0u) << listed.err;
    EXPECT_NE(listed.err.find(root), std::string::npos) << listed.err;
    const Finished none = run(L"UNDO");
    EXPECT_EQ(none.status, 2u);
    EXPECT_EQ(Lines(none.err), std::vector<std::string>{"quillonc: there is no undo record of this computer and "
                                                        "user left to take back in " + root});
}

// Both programs hold the message table the log's viewer reads each event's
// text through: every event id gives back the run's text as it was reported.
TEST_F(ConsoleWine, BothProgramsHoldTheEventsMessageTable) {
    const std::wstring built = win32::Widen(win32::Win32Platform().executableFolder());
    for (const wchar_t* program : {L"\\quillon.exe", L"\\quillonc.exe"}) {
        const HMODULE module = LoadLibraryExW((built + program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << win32::Narrow(program);
        for (RunEvent event : {RunEvent::Done, RunEvent::Failed, RunEvent::Undone, RunEvent::UndoFailed}) {
            const wchar_t* text[] = {L"quillonc APPLY by admin on OFFICE-7: done\r\nchanged 2"};
            wchar_t shown[256] = {};
            const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module,
                                                static_cast<DWORD>(event), 0, shown, 256,
                                                reinterpret_cast<va_list*>(const_cast<wchar_t**>(text)));
            EXPECT_EQ(std::wstring(shown, length), std::wstring(text[0]) + L"\r\n") << win32::Narrow(program);
        }
        FreeLibrary(module);
    }
}

TEST_F(ConsoleWine, UsageNamesEveryVerbAndTheVersion) {
    const Finished finished = run(L"/?");
    EXPECT_EQ(finished.status, 0u);
    for (const char* word : {"VERSION 1.", "LIST", "STATUS", "PREVIEW", "APPLY", "UNDO", "/noundo"})
        EXPECT_NE(finished.out.find(word), std::string::npos) << word;
    const Finished version = run(L"Version");
    EXPECT_EQ(version.status, 0u);
    EXPECT_EQ(version.out, finished.out.substr(0, finished.out.find('\n') + 1));
}

std::string OfficeSelection() {
    std::string boxes(77, '0');
    for (int box : {54, 43, 71, 25, 22, 13}) boxes[box] = '1';
    std::string services(19, '0');
    services[7] = services[14] = '1';  // Messenger, Schedule
    return WithServices(boxes, services);
}

std::vector<std::string> ChangeLines(const std::string& out) {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(out))
        if (line.rfind("undo\t", 0) != 0) lines.push_back(line);
    return lines;
}

TEST_F(ConsoleWine, CheckMatchesAfterApplyNamesTheBoxThatDriftedAndASecondApplyChangesNothing) {
    writeFile(L"office.dat", OfficeSelection());
    const Finished drifted = run(L"CHECK /selection office.dat");
    EXPECT_EQ(drifted.status, 1u) << drifted.err;
    EXPECT_FALSE(Lines(drifted.out).empty());

    const Finished apply = run(L"APPLY /selection office.dat");
    ASSERT_EQ(apply.status, 0u) << apply.err;
    const Finished check = run(L"CHECK /selection office.dat");
    EXPECT_EQ(check.status, 0u) << check.out << check.err;
    EXPECT_EQ(check.out, "");

    const auto before = Snapshot();
    const Finished again = run(L"APPLY /selection office.dat");
    EXPECT_EQ(again.status, 0u) << again.err;
    EXPECT_TRUE(ChangeLines(again.out).empty()) << again.out;
    EXPECT_EQ(Snapshot(), before);

    // One value drifts: CHECK names its box and nothing else.
    win32::UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", 0, KEY_SET_VALUE,
                            key.put()), ERROR_SUCCESS);
    const DWORD other = 0;
    RegSetValueExW(key.get(), L"AutoReboot", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&other), sizeof other);
    const Finished after = run(L"CHECK /selection office.dat");
    EXPECT_EQ(after.status, 1u) << after.err;
    const auto lines = Lines(after.out);
    ASSERT_EQ(lines.size(), 1u) << after.out;
    EXPECT_EQ(Field(lines, 1)[0], "54") << lines[0];
    EXPECT_TRUE(after.summary.starts_with("summary\tdrift 1\tok ")) << after.summary;
    // The same as one JSON document for a script, in ASCII with the Chinese caption of box 35 whole, escaped.
    const Finished json = run(L"CHECK /selection office.dat /json");
    EXPECT_EQ(json.status, 1u) << json.err;
    EXPECT_TRUE(json.out.starts_with("{\"computer\": ") && json.out.ends_with("]}\r\n")) << json.out.substr(0, 200);
    EXPECT_NE(json.out.find("\"result\": \"drift\""), std::string::npos);
    EXPECT_NE(json.out.find("\"exitStatus\": 1"), std::string::npos);
    const std::string caption = console::JsonString(BoxCaption(35));
    EXPECT_NE(json.out.find(caption.substr(1, caption.size() - 2)), std::string::npos) << caption;
    EXPECT_TRUE(std::all_of(json.out.begin(), json.out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    run(L"UNDO");
}

// Every line of a whole-registry export, with the section each stands in.
std::vector<std::string> RegistryExport(const std::wstring& file) {
    DeleteFileW(file.c_str());
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring regedit = std::wstring(windows) + L"\\regedit.exe";
    std::wstring line = L"\"" + regedit + L"\" /e \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(regedit.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return {};
    win32::UniqueHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.get(), 120000);
    const std::string bytes = ReadAll(file);
    // UTF-16LE with a byte-order mark; only ASCII matters for the comparison.
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text += bytes[i + 1] ? '?' : bytes[i];
    std::vector<std::string> lines;
    std::string section;
    for (const std::string& l : Lines(text)) {
        if (!l.empty() && l[0] == '[') section = l;
        lines.push_back(section + " " + l);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST_F(ConsoleWine, OnAndOffChangeTheirBoxesAndNothingElseInTheWholeRegistry) {
    const std::wstring exported = folder + L"\\registry.reg";
    run(L"CHECK /on 54,Alerter");  // the first start of a program may leave its traces
    const auto before = RegistryExport(exported);
    ASSERT_FALSE(before.empty());
    const Finished apply = run(L"APPLY /on 54,Alerter /noundo");
    ASSERT_EQ(apply.status, 0u) << apply.err;
    const auto lines = ChangeLines(apply.out);
    ASSERT_EQ(lines.size(), 2u) << apply.out;
    const auto after = RegistryExport(exported);
    std::vector<std::string> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    ASSERT_FALSE(changed.empty());
    for (const std::string& line : changed) {
        // The event source a first run registers is the program's own, and no tweak.
        const bool ours = line.find("\\Control\\CrashControl]") != std::string::npos ||
                          line.find("\\Services\\Alerter]") != std::string::npos ||
                          line.find("\\EventLog\\Application\\Quillon]") != std::string::npos;
        EXPECT_TRUE(ours) << line;
    }
}

TEST_F(ConsoleWine, ARefusedScriptIsAFailedStepNamedWithTheSystemsReason) {
    writeFile(L"office.dat", OfficeSelection());
    // Box 54's value differs, so APPLY has a script to write for it.
    win32::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, key.put(), nullptr), ERROR_SUCCESS);
    const DWORD other = 7;
    RegSetValueExW(key.get(), L"AutoReboot", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&other), sizeof other);
    ASSERT_TRUE(CreateDirectoryW(L"c:\\tempreg.reg", nullptr));
    const auto before = Snapshot();
    const Finished apply = run(L"APPLY /selection office.dat /page System");
    RemoveDirectoryW(L"c:\\tempreg.reg");
    EXPECT_EQ(apply.status, 1u) << apply.err;
    EXPECT_NE(apply.err.find("failed: System 54 "), std::string::npos) << apply.err;
    EXPECT_NE(apply.err.find("c:\\tempreg.reg: "), std::string::npos) << apply.err;  // then the system's words
    EXPECT_EQ(apply.out.find("HKEY_"), std::string::npos) << apply.out;             // nothing listed was not made
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ConsoleWine, RunsWaitForTheOneHoldingTheLockAndGiveUpAfterTheirBound) {
    writeFile(L"office.dat", OfficeSelection());
    win32::UniqueHandle held(CreateMutexW(nullptr, TRUE, L"Global\\Quillon.Run"));
    ASSERT_TRUE(held);
    const auto before = Snapshot();
    const Finished refused = run(L"APPLY /selection office.dat /wait 1");
    EXPECT_EQ(refused.status, 2u);
    EXPECT_NE(refused.err.find("waiting for another Quillon run to end..."), std::string::npos) << refused.err;
    EXPECT_EQ(Snapshot(), before);

    // Two runs started while the lock is held both wait, then go one after
    // the other: the second finds the first's work done and changes nothing.
    std::vector<Started> started;
    for (int i = 0; i < 2; ++i) {
        auto one = start(L"APPLY /selection office.dat /noundo");
        ASSERT_TRUE(one);
        started.push_back(std::move(*one));
    }
    // Both have said they wait (bounded generously for a busy machine) and neither has gone on.
    for (const Started& s : started) {
        for (int i = 0; i < 1200 && ReadAll(s.errPath).find("waiting for") == std::string::npos; ++i) Sleep(50);
        EXPECT_NE(ReadAll(s.errPath).find("waiting for"), std::string::npos);
    }
    for (const Started& s : started) EXPECT_EQ(WaitForSingleObject(s.process.get(), 0), WAIT_TIMEOUT);
    ReleaseMutex(held.get());
    held.reset();
    std::vector<std::size_t> changes;
    for (Started& s : started) {
        const Finished finished = Wait(s);
        const std::string text = finished.out + finished.err;
        const DWORD status = finished.status;
        EXPECT_EQ(status, 0u) << text;
        EXPECT_NE(text.find("waiting for another Quillon run to end..."), std::string::npos) << text;
        std::size_t count = 0;
        for (const std::string& line : Lines(text)) count += line.find('\t') != std::string::npos ? 1 : 0;
        changes.push_back(count);
    }
    std::sort(changes.begin(), changes.end());
    EXPECT_EQ(changes[0], 0u);
    EXPECT_GT(changes[1], 0u);
}

TEST_F(ConsoleWine, ExportThenCheckMatches) {
    // Waits for the live selection of every control; the stand-in knows only boxes and entries.
    const Finished exported = run(L"EXPORT /selection live.dat");
    ASSERT_EQ(exported.status, 0u) << exported.err;
    EXPECT_EQ(run(L"EXPORT /selection live.dat").status, 2u);  // never over a file without /force
    EXPECT_EQ(run(L"EXPORT /selection live.dat /force").status, 0u);
    const Finished check = run(L"CHECK /selection live.dat");
    EXPECT_EQ(check.status, 0u) << check.out;
}

TEST_F(ConsoleWine, ExportNeverWritesOverAFileWithoutForce) {
    writeFile(L"live.dat", "mine");
    EXPECT_EQ(run(L"EXPORT /selection live.dat").status, 2u);
    EXPECT_EQ(ReadAll(folder + L"\\live.dat"), "mine");
    const Finished forced = run(L"EXPORT /selection live.dat /force");
    ASSERT_EQ(forced.status, 0u) << forced.err;
    EXPECT_EQ(Lines(ReadAll(folder + L"\\live.dat")).size(), 8u);
    EXPECT_NE(run(L"CHECK /selection live.dat").status, 2u);  // a file CHECK reads
}

TEST_F(ConsoleWine, SelectionFilesWithControlCharactersOrDevicesAreRefusedAtOnce) {
    std::string text = OfficeSelection();
    text.insert(text.find("C:\\Downloads") + 3, "\r");  // a lone carriage return in line 5
    writeFile(L"cr.dat", text);
    const Finished cr = run(L"APPLY /selection cr.dat");
    EXPECT_EQ(cr.status, 2u);
    EXPECT_NE(cr.err.find("cr.dat line 5"), std::string::npos) << cr.err;
    for (const wchar_t* device : {L"COM1", L"AUX", L"NUL", L"CON", L"\\\\.\\pipe\\quillon"}) {
        const DWORD start = GetTickCount();
        const Finished refused = run(std::wstring(L"CHECK /selection ") + device);
        EXPECT_EQ(refused.status, 2u) << win32::Narrow(device);
        EXPECT_NE(refused.err.find("not a file"), std::string::npos) << refused.err;
        EXPECT_LT(GetTickCount() - start, 20000u) << win32::Narrow(device);
    }
}

TEST_F(ConsoleWine, TheConsoleGuideDeploymentExampleRunsUnderCmd) {
    const std::string readme = ReadAll(win32::Widen(std::string("Z:") + QUILLON_CONSOLE_GUIDE_PATH));
    const auto begin = readme.find("<!-- deployment example -->");
    ASSERT_NE(begin, std::string::npos);
    const auto code = readme.find("```bat\n", begin) + 7;
    const auto end = readme.find("```", code);
    std::string script;
    for (std::size_t i = code; i < end; ++i) script += readme[i] == '\n' ? std::string("\r\n") : std::string(1, readme[i]);
    writeFile(L"deploy.cmd", script);
    writeFile(L"office.dat", OfficeSelection());

    const auto runScript = [&] {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
        return run(L"", cmd + L" /c \"" + folder + L"\\deploy.cmd\"");
    };
    const Finished first = runScript();
    EXPECT_EQ(first.status, 0u) << first.out << first.err;
    EXPECT_NE(first.out.find("Undo with: quillonc UNDO \""), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("now matches office.dat"), std::string::npos) << first.out;
    const Finished second = runScript();
    EXPECT_EQ(second.status, 0u) << second.out << second.err;
    EXPECT_NE(second.out.find("already matches office.dat"), std::string::npos) << second.out;
    // The fleet's report beside the script: the first check drifted, the run changed, the second check matched.
    const std::string report = ReadAll(folder + L"\\fleet.csv");
    EXPECT_NE(report.find(",CHECK,,,summary,exit 1,"), std::string::npos) << report.substr(0, 300);
    EXPECT_NE(report.find(",APPLY,,,summary,exit 0,"), std::string::npos);
    EXPECT_NE(report.find(",CHECK,,,summary,exit 0,"), std::string::npos);
    run(L"UNDO");
}

// A machine as it comes: EXPORT /boxes names what it can read and CHECK of
// that file finds nothing to do; STATUS says on and off exactly where CHECK of
// the box alone on that side finds nothing to do (tools/wine-fresh-prefix.sh
// runs this on a prefix no test touched before).
TEST_F(ConsoleWine, ExportBoxesThenCheckMatchesAndStatusAgreesWithCheck) {
    const Finished exported = run(L"EXPORT /boxes live.txt");
    ASSERT_EQ(exported.status, 0u) << exported.err;
    const Finished check = run(L"CHECK /boxes live.txt");
    EXPECT_EQ(check.status, 0u) << check.out << check.err;
    EXPECT_EQ(check.out, "");

    std::string controls;
    for (const std::string& line : Lines(ReadAll(folder + L"\\live.txt")))
        if (line.rfind("on ", 0) != 0 && line.rfind("off ", 0) != 0) controls += line + "\r\n";
    const Finished status = run(L"STATUS");
    ASSERT_EQ(status.status, 0u) << status.err;
    const auto lines = Lines(status.out);
    const auto pages = Field(lines, 0), numbers = Field(lines, 1), states = Field(lines, 2);
    std::map<std::string, int> tried;  // a few boxes of each state: every start of quillonc takes a while
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (states[i] == "unknown" || tried[states[i]]++ >= 3) continue;
        const std::string item =
            pages[i] == "Services" ? std::string(kServices.at(std::stoi(numbers[i])).serviceName) : numbers[i];
        std::map<std::string, bool> holds;
        for (const char* side : {"on", "off"}) {
            writeFile(L"one.txt", controls + side + " " + item + "\r\n");
            const Finished one = run(L"CHECK /boxes one.txt");
            ASSERT_NE(one.status, 2u) << one.err;
            holds[side] = one.status == 0;
        }
        EXPECT_EQ(states[i] == "on", holds["on"]) << lines[i];
        EXPECT_EQ(states[i] == "off", holds["off"] && !holds["on"]) << lines[i];
    }
}

TEST_F(ConsoleWine, ASecondApplyStartsNoToolAndKeepsNoRecord) {
    writeFile(L"office.txt", "on 54\r\non 43\r\noff 71\r\non 25\r\non Messenger\r\noff Schedule\r\n");
    const Finished first = run(L"APPLY /boxes office.txt");
    ASSERT_EQ(first.status, 0u) << first.err;
    const std::size_t records = Lines(run(L"UNDO /list").out).size();

    // Any registry script would now fail to be written, and the service stand-in logs each start.
    test::ClearStandinCommands();
    ASSERT_TRUE(CreateDirectoryW(L"c:\\tempreg.reg", nullptr));
    const auto before = Snapshot();
    const Finished again = run(L"APPLY /boxes office.txt");
    RemoveDirectoryW(L"c:\\tempreg.reg");
    EXPECT_EQ(again.status, 0u) << again.out << again.err;
    EXPECT_EQ(again.out, "undo\tnone\r\n");
    EXPECT_TRUE(test::StandinCommands().empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Lines(run(L"UNDO /list").out).size(), records);
    run(L"UNDO");
}

// Wine's reg empties the default value of a key it adds: PREVIEW says so,
// APPLY never runs it for a key that is there, and UNDO puts the name back.
TEST_F(ConsoleWine, TheRecycleBinsNameShowsInPreviewAndComesBackExactlyAfterApplyAndUndo) {
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace\\"
                             L"{645FF040-5081-101B-9F08-00AA002F954E}";
    const auto saved = test::ReadTree(HKEY_LOCAL_MACHINE, key);
    test::DeleteTree(HKEY_LOCAL_MACHINE, key);
    test::RegistryTree named;
    named.values.push_back({L"", REG_SZ, {'R', 0, 'e', 0, 'c', 0, 'y', 0, 'c', 0, 'l', 0, 'e', 0, ' ', 0, 'B', 0, 'i', 0, 'n', 0, 0, 0}});
    test::WriteTree(HKEY_LOCAL_MACHINE, key, named);
    const auto before = test::ReadTree(HKEY_LOCAL_MACHINE, key);

    test::ClearStandinCommands();
    EXPECT_EQ(run(L"APPLY /off 37").out, "undo\tnone\r\n");
    EXPECT_EQ(test::ReadTree(HKEY_LOCAL_MACHINE, key), before);
    ASSERT_EQ(run(L"APPLY /on 37").status, 0u);
    const Finished preview = run(L"PREVIEW /off 37");
    EXPECT_NE(preview.out.find("absent\tpresent, default value REG_SZ \"\"\r\n"), std::string::npos) << preview.out;
    const Finished applied = run(L"APPLY /off 37");
    EXPECT_EQ(applied.out.substr(0, applied.out.find("undo\t")), preview.out) << applied.out;
    EXPECT_EQ(run(L"CHECK /off 37").status, 0u);
    EXPECT_EQ(run(L"UNDO").status, 0u);
    EXPECT_EQ(run(L"UNDO").status, 0u);
    EXPECT_EQ(test::ReadTree(HKEY_LOCAL_MACHINE, key), before);

    test::DeleteTree(HKEY_LOCAL_MACHINE, key);
    if (saved) test::WriteTree(HKEY_LOCAL_MACHINE, key, *saved);
}

TEST_F(ConsoleWine, ReadingVerbsWaitForARunGoingOn) {
    writeFile(L"office.txt", "on 54\r\n");
    win32::UniqueHandle held(CreateMutexW(nullptr, TRUE, L"Global\\Quillon.Run"));
    ASSERT_TRUE(held);
    const Finished refused = run(L"CHECK /boxes office.txt /wait 1");
    EXPECT_EQ(refused.status, 2u);
    EXPECT_NE(refused.err.find("waiting for another Quillon run to end..."), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");

    // One started while the run goes on reads the machine once it has ended.
    auto waiting = start(L"CHECK /boxes office.txt");
    ASSERT_TRUE(waiting);
    for (int i = 0; i < 1200 && ReadAll(waiting->errPath).find("waiting for") == std::string::npos; ++i) Sleep(50);
    EXPECT_EQ(WaitForSingleObject(waiting->process.get(), 0), WAIT_TIMEOUT);
    EXPECT_EQ(ReadAll(waiting->outPath), "");
    ReleaseMutex(held.get());
    held.reset();
    const Finished read = Wait(*waiting);
    EXPECT_NE(read.status, 2u) << read.err;
    EXPECT_NE(read.err.find("waiting for another Quillon run to end..."), std::string::npos) << read.err;
}

TEST_F(ConsoleWine, UndoScopeMachineOfAnotherUsersRecordRestoresHklmOnlyAndLeavesTheUserPartOpen) {
    const auto autoReboot = test::ReadValue(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot");
    win32::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, key.put(), nullptr), ERROR_SUCCESS);
    const DWORD off = 0;
    RegSetValueExW(key.get(), L"AutoReboot", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
    const auto before = test::ReadValue(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot");
    // Box 43's per-user value differs too, so the record has both parts.
    win32::UniqueKey desktop;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              desktop.put(), nullptr), ERROR_SUCCESS);
    const std::wstring slow = L"20000";
    RegSetValueExW(desktop.get(), L"WaitToKillAppTimeout", 0, REG_SZ, reinterpret_cast<const BYTE*>(slow.c_str()),
                   static_cast<DWORD>((slow.size() + 1) * sizeof(wchar_t)));
    const Finished apply = run(L"APPLY /on 54,43");
    ASSERT_EQ(apply.status, 0u) << apply.err;
    const auto lines = Lines(apply.out);
    ASSERT_FALSE(lines.empty());
    const std::string record = Field(lines, 1).back();
    const auto waitToKill = test::ReadValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WaitToKillAppTimeout");

    // As if bob's logon script had made it.
    const std::wstring header = win32::Widen(record) + L"\\record.txt";
    std::string text = ReadAll(header);
    const auto user = text.find("user\t");
    ASSERT_NE(user, std::string::npos);
    const std::string mine = text.substr(user, text.find("\r\n", user) - user);
    text.replace(user, mine.size(), "user\tbob");
    win32::UniqueHandle file(CreateFileW(header.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    file.reset();

    const Finished refused = run(L"UNDO \"" + win32::Widen(record) + L"\"");
    EXPECT_EQ(refused.status, 2u);
    EXPECT_NE(refused.err.find("bob"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("/scope machine"), std::string::npos) << refused.err;

    const Finished machinePart = run(L"UNDO \"" + win32::Widen(record) + L"\" /scope machine");
    EXPECT_EQ(machinePart.status, 0u) << machinePart.out << machinePart.err;
    const auto now = test::ReadValue(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot");
    ASSERT_TRUE(now && before);
    EXPECT_EQ(now->dword, before->dword);
    const auto stillBobs = test::ReadValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WaitToKillAppTimeout");
    ASSERT_TRUE(stillBobs && waitToKill);
    EXPECT_EQ(stillBobs->text, waitToKill->text);
    const Finished listed = run(L"UNDO /list");
    EXPECT_NE(listed.out.find(record + "\t"), std::string::npos) << listed.out;
    const auto mark = listed.out.find(record + "\t");
    ASSERT_NE(mark, std::string::npos) << listed.out;
    const std::string line = listed.out.substr(mark, listed.out.find("\r\n", mark) - mark);
    EXPECT_TRUE(line.ends_with("\tmachine undone, user open\tmachine,user")) << line;

    // Bob's own undo later takes back the rest.
    text.replace(user, std::string("user\tbob").size(), mine);
    file = win32::UniqueHandle(CreateFileW(header.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    file.reset();
    const Finished rest = run(L"UNDO \"" + win32::Widen(record) + L"\"");
    EXPECT_EQ(rest.status, 0u) << rest.out << rest.err;
    if (autoReboot)
        RegSetValueExW(key.get(), L"AutoReboot", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&autoReboot->dword),
                       sizeof autoReboot->dword);
}

TEST_F(ConsoleWine, TwentyRunsAtOnceAppendWholeBlocksToOneReportThatASpreadsheetReadsAsUtf8) {
    const std::wstring report = folder + L"\\fleet.csv";
    // Held here first, so that all twenty wait for it and then rush at once.
    win32::UniqueHandle held(CreateFileW(report.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, CREATE_NEW, 0, nullptr));
    OVERLAPPED whole{};
    ASSERT_TRUE(LockFileEx(held.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    std::vector<Started> runs;
    std::vector<HANDLE> processes;
    for (int i = 0; i < 20; ++i)
        if (auto started = start(L"STATUS /report \"" + report + L"\"")) runs.push_back(std::move(*started));
    ASSERT_EQ(runs.size(), 20u);
    for (const Started& r : runs) processes.push_back(r.process.get());
    // None may finish while the file is locked: each waits to append its block.
    EXPECT_EQ(WaitForMultipleObjects(20, processes.data(), FALSE, 3000), static_cast<DWORD>(WAIT_TIMEOUT));
    UnlockFileEx(held.get(), 0, MAXDWORD, MAXDWORD, &whole);
    held = {};
    for (Started& r : runs) EXPECT_EQ(Wait(r).status, 0u);

    const std::string bytes = ReadAll(report);
    ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF" "computer,user,time,verb,page,number,caption,result,now,wanted,run,target\r\n", 0), 0u);
    // Box 35's caption is Chinese: it stands in the file as UTF-8.
    EXPECT_NE(bytes.find(BoxCaption(35)), std::string::npos);
    const std::vector<std::string> lines = Lines(bytes);
    // Each block is one run's rows, whole, ended by its summary; every block alike but for the time and run.
    std::set<std::string> runIds;
    const auto shape = [&](const std::string& line) {
        // The run is the last field but the target (empty for STATUS), the time the third (before any
        // caption that holds a comma).
        EXPECT_EQ(line.back(), ',') << line;
        const std::string rest = line.substr(0, line.size() - 1);
        const std::string id = rest.substr(rest.rfind(',') + 1);
        runIds.insert(id);
        std::string out;
        int field = 0;
        for (char c : rest.substr(0, rest.size() - id.size())) {
            if (c == ',') ++field;
            if (field != 2) out += c;
        }
        return out;
    };
    std::vector<std::vector<std::string>> blocks(1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        blocks.back().push_back(shape(lines[i]));
        if (lines[i].find(",summary,exit 0,") != std::string::npos) blocks.emplace_back();
    }
    ASSERT_TRUE(blocks.back().empty());
    blocks.pop_back();
    ASSERT_EQ(blocks.size(), 20u);
    for (const auto& block : blocks) EXPECT_EQ(block, blocks.front());
    EXPECT_GT(blocks.front().size(), 60u);
    EXPECT_EQ(runIds.size(), 20u);  // one a run, alike for all its rows
}

// Someone reading the report in a spreadsheet (open for reading, letting
// others only read) holds every machine's run until the wait is over: then
// the run says so with a status of its own.
TEST_F(ConsoleWine, AReportOpenInASpreadsheetIsWaitedForThenSaidToBeInUse) {
    const std::wstring report = folder + L"\\fleet.csv";
    win32::UniqueHandle reader(
        CreateFileW(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(reader);
    const Finished refused = run(L"STATUS /page System /wait 1 /report \"" + report + L"\"");
    EXPECT_EQ(refused.status, 4u) << refused.err;
    EXPECT_NE(refused.err.find("the report file is in use"), std::string::npos) << refused.err;

    auto waiting = start(L"STATUS /page System /wait 120 /report \"" + report + L"\"");
    ASSERT_TRUE(waiting);
    EXPECT_EQ(WaitForSingleObject(waiting->process.get(), 1500), static_cast<DWORD>(WAIT_TIMEOUT));
    reader = {};  // the spreadsheet is closed
    EXPECT_EQ(Wait(*waiting).status, 0u);
    EXPECT_NE(ReadAll(report).find(",STATUS,,,summary,exit 0,"), std::string::npos);
}

}  // namespace
}  // namespace quillon
