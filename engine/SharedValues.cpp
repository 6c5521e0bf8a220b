#include "engine/SharedValues.h"

#include <string>

#include "engine/ExplorerPolicyKeys.h"
#include "engine/ServiceCatalogue.h"
#include "engine/RunContext.h"
#include "engine/SystemKeys.h"
#include "platform/TextMatch.h"

namespace quillon {
namespace {

using explorer_policy_keys::kMachineExplorerPolicy;

constexpr ValueWriter Security(int box) { return {Page::Security, box, -1}; }
constexpr ValueWriter System(int box) { return {Page::System, box, -1}; }
constexpr ValueWriter Service(int entry) { return {Page::Services, -1, entry}; }

// tests/unit/SharedValuesTest.cpp finds these by planning every box and checks
// the table holds exactly them.
constexpr SharedValue kShared[]{
    {kMachineExplorerPolicy, "noRun", {Security(19), Security(35)}},
    {kMachineExplorerPolicy, "NoFind", {Security(20), System(76)}},
    {kMachineExplorerPolicy, "NoSetFolders", {Security(21), System(76)}},
    {kMachineExplorerPolicy, "NoSetTaskbar", {Security(21), Security(34), System(76)}},
    {kMachineExplorerPolicy, "NoRecentDocsMenu", {Security(22), System(76)}},
    {kMachineExplorerPolicy, "NoSMHelp", {Security(23), System(76)}},
    {explorer_policy_keys::kUserExplorerPolicy, "NoControlPanel", {Security(24), Security(28)}},
    {system_keys::kUpdatePolicy, "DisableWindowsUpdateAccess", {System(58), System(65)}},
    {system_keys::kDebugger, "Auto", {System(48), System(66)}},
    {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\wuauserv", "Start", {Service(1), System(60)}},
    {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ERSvc", "Start", {Service(3), System(58)}},
};

bool TickedInRun(const RunContext& context, const ValueWriter& writer) {
    if (!context.runsPage(writer.page) && context.step.page != writer.page) return false;
    if (writer.box >= 0) return context.form.ticked(writer.box);
    return writer.entry < context.form.listCount(CheckList::Service) &&
           context.form.listSelected(CheckList::Service, writer.entry);
}

}  // namespace

std::span<const SharedValue> SharedValues() { return kShared; }

const SharedValue* FindSharedValue(std::string_view key, std::string_view name) {
    for (const SharedValue& shared : kShared)
        if (EqualNoCase(shared.key, key) && EqualNoCase(shared.name, name)) return &shared;
    return nullptr;
}

bool TickedSideHolds(const RunContext& context, std::string_view key, std::string_view name) {
    const SharedValue* shared = FindSharedValue(key, name);
    if (!shared) return false;
    for (const ValueWriter& writer : shared->writers)
        if (!writer.none() && TickedInRun(context, writer)) return true;
    return false;
}

bool TickedSideHoldsService(const RunContext& context, std::string_view service) {
    return TickedSideHolds(context, ServiceKey(service), "Start");
}

std::string_view StartModeService(std::string_view commandLine) {
    constexpr std::string_view kPrefix = "sc \\\\. config ";
    if (!StartsWithNoCase(commandLine, kPrefix)) return {};
    const std::string_view rest = commandLine.substr(kPrefix.size());
    return rest.substr(0, rest.find(' '));
}

}  // namespace quillon
