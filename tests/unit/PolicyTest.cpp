// Group Policy's defaults: what the shipped templates write is what quillonc
// reads, and the command line wins over it.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "console/Policy.h"
#include "console/Verbs.h"
#include "tests/unit/ConsoleTerminal.h"
#include "tests/unit/JournalMachine.h"

namespace quillon::console {
namespace {

std::string Template(const std::string& name) {
    std::ifstream in(std::string(QUILLON_SOURCE_DIR) + "/policies/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_FALSE(text.str().empty()) << name;
    return text.str();
}

std::set<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::set<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.insert((*it)[1]);
    return found;
}

TEST(GroupPolicy, BothTemplatesWriteTheValuesQuillonReadsWhereItReadsThem) {
    const std::string key(kPolicyKey.substr(std::string_view("HKEY_LOCAL_MACHINE\\").size()));
    const std::set<std::string> names{std::string(kUndoDirPolicy), std::string(kReportPolicy)};

    const std::string adm = Template("quillon.adm");
    EXPECT_NE(adm.find("CLASS MACHINE"), std::string::npos);
    EXPECT_EQ(Matches(adm, "KEYNAME \"([^\"]*)\""), std::set<std::string>{key});
    EXPECT_EQ(Matches(adm, "VALUENAME \"([^\"]*)\""), names);
    // Every !!string the template names is defined.
    const std::set<std::string> used = Matches(adm, "!!(\\w+)");
    for (const std::string& id : used) EXPECT_NE(adm.find("\n" + id + "=\""), std::string::npos) << id;

    const std::string admx = Template("quillon.admx"), adml = Template("en-US/quillon.adml");
    EXPECT_EQ(Matches(admx, "key=\"([^\"]*)\""), std::set<std::string>{key});
    EXPECT_EQ(Matches(admx, "valueName=\"([^\"]*)\""), names);
    EXPECT_EQ(Matches(admx, "class=\"(\\w+)\""), std::set<std::string>{"Machine"});
    for (const std::string& id : Matches(admx, "\\$\\(string\\.(\\w+)\\)"))
        EXPECT_NE(adml.find("<string id=\"" + id + "\">"), std::string::npos) << id;
    for (const std::string& id : Matches(admx, "\\$\\(presentation\\.(\\w+)\\)"))
        EXPECT_NE(adml.find("<presentation id=\"" + id + "\">"), std::string::npos) << id;
}

TEST(GroupPolicy, ThePoliciesValuesAreDefaultsTheCommandLineOverrides) {
    sim::SimWindows machine;
    test::FurnishMachine(machine);
    machine.files().addDirectory("C:\\share");
    machine.files().addDirectory("C:\\share\\undo");
    const std::string key(kPolicyKey);
    machine.registry().setValue(key, std::string(kUndoDirPolicy), sim::Value::String("C:\\share\\undo"));
    machine.registry().setValue(key, std::string(kReportPolicy), sim::Value::String("C:\\share\\fleet.csv"));
    RecordingTerminal terminal;
    const auto run = [&](std::vector<std::string> arguments) {
        terminal = {};
        return RunConsole(arguments, terminal, machine);
    };
    ASSERT_EQ(run({"APPLY", "/on", "54"}), kDone);
    EXPECT_TRUE(Fields(terminal.outLines.back()).at(1).starts_with("C:\\share\\undo\\")) << terminal.outLines.back();
    EXPECT_NE(machine.files().content("C:\\share\\fleet.csv").value_or("").find(",APPLY,"), std::string::npos);
    ASSERT_EQ(run({"CHECK", "/on", "54", "/report", "C:\\share\\mine.csv"}), kDone);
    EXPECT_NE(machine.files().content("C:\\share\\mine.csv").value_or("").find(",CHECK,"), std::string::npos);
    EXPECT_EQ(machine.files().content("C:\\share\\fleet.csv").value_or("").find(",CHECK,"), std::string::npos);
    ASSERT_EQ(run({"UNDO", "/list"}), kDone);  // lists the policy's store, and adds no rows
    EXPECT_EQ(terminal.outLines.size(), 1u);
    ASSERT_EQ(run({"UNDO"}), kDone);
    EXPECT_NE(machine.files().content("C:\\share\\fleet.csv").value_or("").find(",UNDO,"), std::string::npos);

    // A value that names no file is said and left out.
    machine.registry().setValue(key, std::string(kReportPolicy), sim::Value::String("C:\\share\\fleet."));
    ASSERT_EQ(run({"CHECK", "/on", "54"}), kDrifted);
    ASSERT_EQ(terminal.errLines.size(), 1u);
    EXPECT_NE(terminal.errLines[0].find("Policies\\Quillon\\Report"), std::string::npos) << terminal.errLines[0];
}

}  // namespace
}  // namespace quillon::console
