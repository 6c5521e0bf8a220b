#pragma once
// A simulated machine and form for the tweak pages, with a log of every
// registry script as it was imported (key header and value line), so tests
// can see the exact key text and the order of the writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunContext.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"

namespace quillon::test {

class TweakMachine : public testing::Test {
protected:
    explicit TweakMachine(Page page) {
        form.showOnly(page);
        // The import is waited for with one pump while the script still exists.
        machine.onPump([this] {
            if (auto script = machine.files().content("c:\\tempreg.reg")) scripts.push_back(Lines(*script));
            if (duringRun) duringRun();
        });
    }

    void run(void (*phase)(RunContext&)) {
        RunContext context{form, machine, "Tester"};
        phase(context);
    }

    std::optional<std::uint32_t> dword(const std::string& key, const std::string& name) {
        auto value = machine.registry().value(key, name);
        if (!value) return std::nullopt;
        EXPECT_EQ(value->type, sim::ValueType::Dword) << key << " " << name;
        return value->dword;
    }
    std::optional<std::string> text(const std::string& key, const std::string& name) {
        auto value = machine.registry().value(key, name);
        if (!value) return std::nullopt;
        EXPECT_EQ(value->type, sim::ValueType::String) << key << " " << name;
        return value->text;
    }
    // Command lines other than registry imports, in the order they started.
    std::vector<std::string> toolCommands() const {
        std::vector<std::string> out;
        for (const std::string& c : machine.commands())
            if (c.rfind("regedit ", 0) != 0) out.push_back(c);
        return out;
    }
    // Section headers ("[key]") of every imported script whose value line names the value.
    std::vector<std::string> headersFor(const std::string& valueName) const { return linesFor(valueName, 1); }
    // Value lines ("\"name\"=data") of every imported script for the value, as written.
    std::vector<std::string> valueLinesFor(const std::string& valueName) const { return linesFor(valueName, 2); }

    sim::SimWindows machine;
    MemoryForm form;
    std::vector<std::vector<std::string>> scripts;
    std::function<void()> duringRun;  // user input arriving while the run waits

private:
    std::vector<std::string> linesFor(const std::string& valueName, std::size_t which) const {
        std::vector<std::string> out;
        for (const auto& lines : scripts)
            if (lines.size() == 3 && lines[2].rfind("\"" + valueName + "\"=", 0) == 0) out.push_back(lines[which]);
        return out;
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::string line;
        for (char c : text) {
            if (c == '\n') lines.push_back(line), line.clear();
            else if (c != '\r') line += c;
        }
        if (!line.empty()) lines.push_back(line);
        return lines;
    }
};

}  // namespace quillon::test
