// The record's two written forms: its state lines and the registration
// script lines, for every kind of value and for names made to break them.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "effects/ChangeWords.h"
#include "effects/EffectTarget.h"
#include "engine/RegistryWriter.h"
#include "effects/EffectReader.h"
#include "record/RecordLines.h"
#include "effects/RegScript.h"
#include "tests/sim/SimWindows.h"

namespace quillon {
namespace {

const std::vector<std::string> kHostileNames{
    "",
    "plain",
    "tab\there",
    "line\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Planted]",
    std::string("nul\0inside", 10),
    "back\\slash\\\\x41\\t",
    "\x1b[31mescape\x7f",
    "\xce\xa9mega \xe6\x97\xa5",
    "\xff\xfe not UTF-8",
};

const std::vector<std::optional<RegValue>> kValues{
    std::nullopt,
    TextValue(reg_type::String, "plain"),
    TextValue(reg_type::String, std::string("20000\0x", 7)),
    TextValue(reg_type::String, "quote \" and back\\slash"),
    TextValue(reg_type::ExpandString, "%SystemRoot%\\x\r\n"),
    MultiStringValue({"one", "", "t\xc3\xa9st"}),
    RegValue{reg_type::String, {0x41}},
    RegValue{reg_type::Dword, {1, 2, 3, 4}},
    RegValue{reg_type::Dword, {1, 2}},
    RegValue{reg_type::Qword, {1, 2, 3, 4, 5, 6, 7, 8}},
    RegValue{reg_type::None, {}},
    RegValue{0xfffffffe, {0}},
    BinaryValue(std::vector<std::uint8_t>(300, 0x5a)),
};

bool HoldsControlByte(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    return false;
}

TEST(RecordLines, EveryLineReadsBackAsWrittenAndStaysOneLineWhateverItsNames) {
    std::vector<StateLine> lines;
    for (const std::string& name : kHostileNames) {
        for (const auto& value : kValues) lines.push_back({true, StateKind::Value, "K\\" + name, name, value, false, {}, {}, {}, {}});
        for (bool after : {false, true}) {
            for (bool present : {false, true}) {
                lines.push_back({after, StateKind::Key, "K\\" + name, {}, {}, present, {}, {}, {}, {}});
                lines.push_back({after, StateKind::Folder, "C:\\" + name, {}, {}, present, {}, {}, {}, {}});
            }
            lines.push_back({after, StateKind::File, "C:\\" + name, {}, {}, false, {}, {}, {}, {}});
        }
        lines.push_back({false, StateKind::Tree, "K\\" + name, {}, {}, false, {}, {}, {}, {}});
        lines.push_back({false, StateKind::File, "C:\\" + name, {}, {}, true, "files\\1 " + name, {}, {}, {}});
        lines.push_back({false, StateKind::File, "C:\\" + name, {}, {}, true, {}, {}, {}, {}});
        lines.push_back({true, StateKind::File, "C:\\" + name, {}, {}, true, {}, ContentDigest(name), {}, {}});
        for (bool failed : {false, true})
            lines.push_back(ChangeLine({TargetKind::Tool, "T " + name, name}, {Page::Startup, {-1, -1}, "lstStartup", 7, name},
                                       failed));
    }
    for (const StateLine& line : lines) {
        const std::string text = StateLineText(line);
        ASSERT_GE(text.size(), 2u);
        ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
        const std::string body = text.substr(0, text.size() - 2);
        std::string withoutTabs = body;
        std::erase(withoutTabs, '\t');
        EXPECT_FALSE(HoldsControlByte(withoutTabs)) << body;
        const auto back = ParseStateLine(body);
        ASSERT_TRUE(back) << body;
        EXPECT_EQ(StateLineText(*back), text);
        EXPECT_EQ(back->target, line.target);
        EXPECT_EQ(back->name, line.name);
        EXPECT_EQ(back->value, line.value);
        EXPECT_EQ(back->kind, line.kind);
        EXPECT_EQ(back->step.item, line.step.item);
    }
}

TEST(RecordLines, DamagedLinesAreNotRead) {
    for (const char* text : {"", "before", "before\tvalue", "during\tkey\tK\tpresent", "before\tkey\tK\tmaybe",
                             "before\tvalue\tK\tn\t1:abc", "before\tvalue\tK\tn\tx:00", "before\tvalue\tK\tn\t1:zz",
                             "before\tvalue\tK\\q\tn\t-", "before\tvalue\tK\\\tn\t-", "before\tvalue\tK\\x4\tn\t-",
                             "before\tvalue\tK\tn\t-\textra", "after\ttree\tK", "after\tfile\tC:\\x\tcopy\tnot-a-digest",
                             "before\tfile\tC:\\x\tcopy\t", "before\tkey\t\tpresent", "before\tvalue\tK\tn\r\t-",
                             "failed\ttool\tT\t\t0\t-1\t-1\t-1\tx", "failing\ttool\tT\t\t0\t-1\t-1\t-1\tx\t"})
        EXPECT_FALSE(ParseStateLine(text)) << text;
}

// A change line keeps a target's key and its registry view, whichever tool
// and view wrote it: the record names a key of the 32-bit view by its native path.
TEST(RecordLines, EveryTargetReadsBackFromItsChangeLineWithItsView) {
    const std::string script = std::string(kScriptHeader) + "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\"v\"=dword:00000001\r\n" +
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\P]\r\n[-HKEY_CURRENT_USER\\Software\\T]\r\n";
    const FileReader read = [&](const std::string&) { return std::optional<std::string>(script); };
    std::map<TargetKey, std::set<RegView>> views;
    for (bool wow64 : {false, true}) {
        for (const std::string& view : {std::string(), std::string(" /reg:32"), std::string(" /reg:64")}) {
            for (const std::string command :
                 {"reg add HKLM\\SOFTWARE\\Vendor /v v /t REG_DWORD /d 1 /f", "reg add HKLM\\SOFTWARE\\Wow6432Node\\Vendor /f",
                  "reg delete HKLM\\SOFTWARE\\Policies\\P /f", "reg copy HKLM\\SOFTWARE\\A HKLM\\SOFTWARE\\B /s /f",
                  "reg import c:\\t.reg", "regedit /s c:\\t.reg", "sc \\\\. config Alerter start= disabled"}) {
                // 32-bit Windows has no 32-bit view to name.
                if (!wow64 && command.find("Wow6432Node") != std::string::npos) continue;
                const auto effects = ReadCommandEffects(command + (command.starts_with("reg ") ? view : ""), read, wow64);
                if (!effects) continue;  // a view switch where there is one view only
                for (const Effect& effect : *effects) {
                    const EffectTarget target = TargetOf(effect);
                    const std::string text = StateLineText(ChangeLine(target, {}));
                    const auto back = ParseStateLine(text.substr(0, text.size() - 2));
                    ASSERT_TRUE(back) << DescribeEffect(effect);
                    EXPECT_EQ(ChangedTarget(*back), target) << command << view << (wow64 ? " on 64-bit" : "");
                    if (wow64) views[target.key()].insert(target.view);
                    else EXPECT_EQ(target.view, RegView::Native) << command;
                }
            }
        }
    }
    // One key is in one view, however the tool that wrote it named it.
    for (const auto& [key, seen] : views) EXPECT_EQ(seen.size(), 1u) << key.path;
    EXPECT_EQ(views[KeyOf(TargetKind::Value, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vendor", "v")],
              std::set<RegView>{RegView::Wow32});
}

TEST(RegScript, EveryValueReadsBackExactlyAndNoNameStartsALineOfItsOwn) {
    for (const std::string& name : kHostileNames) {
        for (const auto& value : kValues) {
            if (!ScriptCarries(name)) {
                EXPECT_THROW(ScriptValueLine(name, value), UnscriptableName);
                EXPECT_THROW(ScriptSection("HKEY_CURRENT_USER\\" + name), UnscriptableName);
                continue;
            }
            const std::string line = ScriptValueLine(name, value);
            // A line break only as the continuation of long hex data.
            for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at + 1))
                EXPECT_EQ(line.substr(at - 2, 5), "\\\r\n  ") << line;
            const std::string script = std::string(kScriptHeader) + "\r\n" + ScriptSection("HKEY_CURRENT_USER\\K") +
                                       "\r\n" + line + "\r\n";
            const std::vector<Effect> effects = ReadScriptEffects(script);
            ASSERT_EQ(effects.size(), 1u) << line;
            EXPECT_EQ(effects[0].name, name);
            if (value) {
                EXPECT_EQ(effects[0].kind, EffectKind::SetValue) << line;
                EXPECT_EQ(effects[0].data, *value) << line;
            } else {
                EXPECT_EQ(effects[0].kind, EffectKind::DeleteValue) << line;
            }
        }
    }
    EXPECT_THROW(ScriptSection("HKEY_CURRENT_USER\\a]b"), UnscriptableName);
}

// The tweaks' writer and the record's script writer carry the same texts,
// C1 controls (NEL above all) refused by both, and quote them alike.
TEST(RegScript, BothScriptWritersCarryAndQuoteTheSameTexts) {
    std::vector<std::string> texts = kHostileNames;
    for (const char* more : {"nel\xC2\x85", "csi\xC2\x9B", "\xC2\x80", "nbsp\xC2\xA0"}) texts.push_back(more);
    for (const std::string& text : texts) {
        if (text.empty()) continue;  // the unnamed value: "@=" in one, never named so by the other
        const RegValue data = TextValue(reg_type::String, "x");
        if (!ScriptCarries(text)) {
            EXPECT_THROW(RegistrationScript("HKEY_CURRENT_USER\\K", RegType::String, text, "x"), PlatformError);
            EXPECT_THROW(ScriptValueLine(text, data), UnscriptableName);
            EXPECT_NE(ScriptValueLine("v", TextValue(reg_type::String, text)).find("=hex(1):"), std::string::npos);
            continue;
        }
        EXPECT_EQ(RegistrationScript("HKEY_CURRENT_USER\\K", RegType::String, text, "x").back(),
                  ScriptValueLine(text, data));
        // Text that is no UTF-8 goes to the record's script as bytes instead.
        if (PlainText(TextValue(reg_type::String, text)) == text) {
            EXPECT_EQ(RegistrationScript("HKEY_CURRENT_USER\\K", RegType::String, "v", text).back(),
                      ScriptValueLine("v", TextValue(reg_type::String, text)));
        }
    }
    EXPECT_FALSE(ScriptCarries("nel\xC2\x85"));
    EXPECT_TRUE(ScriptCarries("nbsp\xC2\xA0"));
}

TEST(RegistryWriter, AScriptLineHoldingALineBreakIsNeverWritten) {
    sim::SimWindows machine;
    for (const std::string& line : {std::string("[HKEY_CURRENT_USER\\a]\r\n[HKEY_LOCAL_MACHINE\\b]"),
                                    std::string("\"x\"=\"1\"\n\"y\"=\"2\""), std::string("\"x\"=\"a\0b\"", 9)}) {
        EXPECT_THROW(ImportScript(machine, {"[HKEY_CURRENT_USER\\Quillon]", line}), PlatformError);
        EXPECT_TRUE(machine.commands().empty());
        EXPECT_FALSE(machine.anyFileExists("c:\\tempreg.reg"));
    }
}

}  // namespace
}  // namespace quillon
