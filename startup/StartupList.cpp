#include "startup/StartupList.h"

#include "engine/Form.h"
#include "engine/RunContext.h"
#include "engine/Step.h"
#include "startup/StartupPlaces.h"

namespace quillon {
namespace {

// Entries added between two turns of the window's events: a few milliseconds' work.
constexpr std::size_t kEntriesPerTurn = 50;

// Counts the listings begun; a listing that sees a later one begun while it
// served events leaves the list to that one.
unsigned g_listingsBegun = 0;
// What the latest listing put in the list, in its order.
std::vector<StartupEntry> g_listed;

void AddFolderNames(Platform& platform, const std::string& folder, std::vector<StartupEntry>& entries) {
    if (!platform.directoryExists(folder)) return;
    for (std::string& name : platform.listVisibleFiles(folder, "*")) entries.push_back({std::move(name)});
}

void AddValueNames(Platform& platform, const RunKey& key, RegView view, std::vector<StartupEntry>& entries) {
    // This also serves the page button, where nothing may escape to the window.
    RunStep([&] {
        for (std::string& name : platform.registryValueNames(key.root, key.subkey))
            entries.push_back({std::move(name), view});
    });
}

}  // namespace

void EnumRegValues(Form& form, Platform& platform, RegRoot root, const std::string& subkey) {
    for (const std::string& name : platform.registryValueNames(root, subkey))
        form.addListItem(CheckList::Startup, name);
}

std::vector<StartupEntry> StartupItems(RunContext& context) {
    std::vector<StartupEntry> entries;
    for (const RunKey& key : kRunKeys) {
        AddValueNames(context.platform, key, RegView::Native, entries);
        if (key.root == RegRoot::LocalMachine && context.platform.wow64())
            AddValueNames(context.platform, kWow32RunKey, RegView::Wow32, entries);
    }
    for (const std::string& folder : StartupFolders(context.platform, context.userName))
        RunStep([&] { AddFolderNames(context.platform, folder, entries); });
    return entries;
}

StartupEntry ListedStartupEntry(Form& form, int index) {
    std::string name = form.listText(CheckList::Startup, index);
    const auto at = static_cast<std::size_t>(index);
    if (index >= 0 && at < g_listed.size() && g_listed[at].name == name) return g_listed[at];
    return {std::move(name)};
}

void ListStartupItems(RunContext& context) {
    Form& form = context.form;
    const unsigned listing = ++g_listingsBegun;
    const std::vector<StartupEntry> entries = StartupItems(context);
    g_listed = entries;
    form.clearList(CheckList::Startup);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        form.addListItem(CheckList::Startup, entries[i].name);
        if ((i + 1) % kEntriesPerTurn != 0 || i + 1 == entries.size()) continue;
        context.platform.pumpEvents();
        if (listing != g_listingsBegun) return;
    }
}

}  // namespace quillon
