// Every command of the catalogues that acts on a whole key with reg (add,
// delete, copy) run for real, on keys that hold a default value, a named
// value and a subkey: the plan foretells exactly what it changes, and the
// undo record of the run takes all of it back exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "effects/EffectReader.h"
#include "engine/Catalogue.h"
#include "engine/SafeMode.h"
#include "engine/SecurityCatalogue.h"
#include "engine/SelectionForm.h"
#include "engine/SystemCatalogue.h"
#include "platform/ForwardingPlatform.h"
#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "planning/PlanningPlatform.h"
#include "record/Journal.h"
#include "tests/support/UndoRecords.h"
#include "record/RecordStore.h"
#include "restore/Restore.h"
#include "tests/wine/RegistryRead.h"
#include "tests/wine/RegistryTree.h"

namespace quillon {
namespace {

// Takes the command lines a step starts, and starts none.
class CommandTaker final : public ForwardingPlatform {
public:
    using ForwardingPlatform::ForwardingPlatform;
    std::vector<std::string> taken;
    std::unique_ptr<StartedProcess> startHidden(const std::string& commandLine) override {
        taken.push_back(commandLine);
        return std::make_unique<Ended>();
    }

private:
    struct Ended final : StartedProcess {
        bool waitPumping(std::chrono::milliseconds) override { return true; }
        void terminate() override {}
        std::optional<int> exitCode() const override { return 0; }
    };
};

struct KeyCommand {
    std::string commandLine;
    std::vector<std::string> keys;  // every key it names
};

// The catalogues' key-level reg commands, both sides, and the safe-mode moves.
std::vector<KeyCommand> KeyCommands(Platform& machine) {
    std::vector<std::string> lines;
    for (auto catalogue : {SystemCatalogue(), SecurityCatalogue()})
        for (const CatalogueStep& step : catalogue)
            if (const auto* toggle = std::get_if<CommandToggle>(&step)) {
                lines.emplace_back(toggle->tickedCommand);
                if (toggle->untickedCommand) lines.emplace_back(*toggle->untickedCommand);
            }
    for (bool ticked : {true, false}) {
        CommandTaker taker(machine);
        SelectionForm form;
        form.tickEverything(ticked);
        RunContext context{form, taker, "Tester"};
        ApplySafeMode(context);
        lines.insert(lines.end(), taker.taken.begin(), taker.taken.end());
    }
    std::vector<KeyCommand> commands;
    for (const std::string& line : lines) {
        if (ToolName(line) != "reg") continue;
        const auto effects = ReadCommandEffects(line, [](const std::string&) { return std::nullopt; });
        if (!effects) continue;
        KeyCommand command{line, {}};
        for (const Effect& e : *effects) {
            if (e.kind != EffectKind::CreateKey && e.kind != EffectKind::DeleteKey && e.kind != EffectKind::CopyKey)
                continue;
            command.keys.push_back(e.target);
            if (e.kind == EffectKind::CopyKey) command.keys.push_back(e.destination);
        }
        if (!command.keys.empty()) commands.push_back(command);
    }
    return commands;
}

HKEY Root(const std::string& key) { return KeyRoot(key) == "HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
std::wstring Below(const std::string& key) { return win32::Widen(KeyBelowRoot(key)); }

using Slot = std::pair<std::string, std::string>;  // key, value name ("" with no value: the key itself)

void AddSlots(Platform& machine, const std::string& key, const std::string& relative, std::set<Slot>& out) {
    out.insert({relative, ""});
    for (const NamedRegValue& v : machine.registryValues(key)) out.insert({relative, "\\" + v.name});
    for (const std::string& subkey : machine.registrySubkeys(key)) AddSlots(machine, key + "\\" + subkey, relative + "\\" + subkey, out);
}

// What `machine` holds in each slot below each key: "absent", "present" or the value.
std::map<std::string, std::string> Holding(Platform& machine, const std::vector<std::string>& keys, const std::set<Slot>& slots) {
    std::map<std::string, std::string> out;
    for (const std::string& key : keys)
        for (const auto& [relative, name] : slots) {
            const std::string path = key + relative;
            const auto value = name.empty() ? std::nullopt : machine.registryValue(path, name.substr(1));
            out[Lower(path + "|" + name)] = value ? DescribeValue(*value) : machine.registryKeyExists(path) && name.empty() ? "present" : "absent";
        }
    return out;
}

void SetText(const std::string& key, const wchar_t* name, const std::wstring& text) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(Root(key), Below(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

TEST(KeyCommandsWine, WhatEachKeyCommandChangesTheRecordTakesBackExactly) {
    win32::Win32Platform machine;
    const auto commands = KeyCommands(machine);
    ASSERT_GE(commands.size(), 10u);  // 27, 37 and 53 both sides, the safe-mode copies and deletions
    for (const KeyCommand& command : commands) {
        std::map<std::string, std::optional<test::RegistryTree>> saved, before;
        for (const std::string& key : command.keys) saved.emplace(key, test::ReadTree(Root(key), Below(key)));
        // Every key it names is there, with a default value, a named one of its
        // own and a subkey, and nothing else.
        for (const std::string& key : command.keys) {
            test::DeleteTree(Root(key), Below(key));
            const std::wstring own = win32::Widen(key.substr(key.rfind('\\') + 1));
            SetText(key, L"", L"default of " + own);
            SetText(key, (L"Named " + own).c_str(), L"named");
            SetText(key + "\\Below", L"", L"below " + own);
        }
        for (const std::string& key : command.keys) before.emplace(key, test::ReadTree(Root(key), Below(key)));
        // Every slot any of its keys has, under each of them: a copy may bring one.
        std::set<Slot> slots;
        for (const std::string& key : command.keys) AddSlots(machine, key, "", slots);
        RunStack plan(machine);
        PlanningPlatform& planner = plan.stack<PlanningPlatform>();
        planner.startHidden(command.commandLine);
        const auto foretold = Holding(planner, command.keys, slots);

        test::JournalStack run(machine);
        ASSERT_TRUE(run.journal.begin());
        SelectionForm form;
        bool ended = false;
        run.stack.run(form, "Tester", [&](RunContext& context) {
            context.step = StepTag{Page::Security, {37, -1}, {}, -1, {}};
            ended = context.platform.startHidden(command.commandLine)->waitPumping(std::chrono::seconds(60));
        });
        ASSERT_TRUE(ended) << command.commandLine;
        const std::string folder = run.journal.finish();

        std::string changed;
        for (const std::string& key : command.keys) {
            const auto now = test::ReadTree(Root(key), Below(key));
            if (now != before.at(key)) changed += "\n  " + key + (now ? " changed" : " removed");
            if (now && before.at(key) && now->values != before.at(key)->values)
                for (const test::TreeValue& v : now->values)
                    if (v.name.empty()) changed += " (default value now " + std::to_string(v.data.size()) + " bytes)";
        }
        std::printf("%s:%s\n", command.commandLine.c_str(), changed.empty() ? " nothing" : changed.c_str());
        std::set<Slot> now;
        for (const std::string& key : command.keys)
            if (machine.registryKeyExists(key)) AddSlots(machine, key, "", now);
        for (const Slot& slot : now) EXPECT_TRUE(slots.contains(slot)) << command.commandLine << ": " << slot.first << slot.second;
        EXPECT_EQ(Holding(machine, command.keys, slots), foretold) << command.commandLine;

        if (!folder.empty()) {
            const RestoreReport report = RestoreRecord(machine, folder);
            EXPECT_EQ(report.failed, 0) << command.commandLine;
            EXPECT_TRUE(report.kept.empty()) << command.commandLine << ": kept " << report.kept.front().target;
        }
        for (const std::string& key : command.keys)
            EXPECT_EQ(test::ReadTree(Root(key), Below(key)), before.at(key)) << command.commandLine << "\n" << key;

        for (const auto& [key, tree] : saved) {
            test::DeleteTree(Root(key), Below(key));
            if (tree) test::WriteTree(Root(key), Below(key), *tree);
        }
    }
}

}  // namespace
}  // namespace quillon
