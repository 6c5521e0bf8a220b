#pragma once
// A simulated machine with the four startup places, a form on the Startup page
// and a log of every path the file steps touch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Phases.h"
#include "engine/RunContext.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"

namespace quillon::test {

class PathLoggingWindows : public sim::SimWindows {
public:
    std::vector<std::string> paths;

    bool visibleFileExists(const std::string& path) override { return log(path), SimWindows::visibleFileExists(path); }
    bool anyFileExists(const std::string& path) override { return log(path), SimWindows::anyFileExists(path); }
    void deleteFile(const std::string& path) override { log(path), SimWindows::deleteFile(path); }
    bool directoryExists(const std::string& path) override { return log(path), SimWindows::directoryExists(path); }
    std::vector<std::string> listVisibleFiles(const std::string& folder, const std::string& pattern) override {
        log(folder);
        return SimWindows::listVisibleFiles(folder, pattern);
    }

private:
    void log(const std::string& path) { paths.push_back(path); }
};

class StartupMachine : public testing::Test {
protected:
    static constexpr const char* kUserRun = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kMachineRun = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kUserFolder = "C:\\Documents and Settings\\Tester\\Start Menu\\Programs\\Startup";
    static constexpr const char* kAllUsersFolder =
        "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup";

    StartupMachine() { form.showOnly(Page::Startup); }

    void addRunValue(const char* key, const std::string& name, const std::string& data = "C:\\Tools\\app.exe") {
        machine.registry().setValue(key, name, sim::Value::String(data));
    }
    void addFile(const char* folder, const std::string& name, sim::FileFlags flags = {}) {
        machine.files().addFile(std::string(folder) + "\\" + name, "shortcut", flags);
    }
    bool hasValue(const char* key, const std::string& name) {
        return machine.registry().stringValue(key, name).has_value();
    }
    bool hasFile(const std::string& path) { return machine.files().fileExists(path); }
    bool hasFile(const char* folder, const std::string& name) {
        return hasFile(std::string(folder) + "\\" + name);
    }

    std::vector<std::string> listed() const { return form.listTexts(CheckList::Startup); }
    int tickedCount() const {
        int count = 0;
        for (int i = 0; i < form.listCount(CheckList::Startup); ++i) count += form.listSelected(CheckList::Startup, i);
        return count;
    }
    // Ticks every entry with that text.
    void tick(const std::string& name) {
        bool found = false;
        for (int i = 0; i < form.listCount(CheckList::Startup); ++i)
            if (form.listText(CheckList::Startup, i) == name) form.setListSelected(CheckList::Startup, i, found = true);
        ASSERT_TRUE(found) << name;
    }

    PathLoggingWindows machine;
    MemoryForm form;
    RunContext context{form, machine, "Tester"};
};

}  // namespace quillon::test
