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

void AddFolderItems(Platform& platform, const std::string& folder, std::vector<StartupItem>& items) {
    if (!platform.directoryExists(folder)) return;
    for (std::string& name : platform.listVisibleFiles(folder, "*")) items.push_back({std::move(name), RegView::Native, nullptr, folder});
}

void AddValueItems(RunContext& context, const RunKey& key, RegView view, std::vector<StartupItem>& items) {
    // This also serves the page button, where nothing may escape to the window.
    RunStep(context, [&] {
        for (std::string& name : context.platform.registryValueNames(key.root, key.subkey))
            items.push_back({std::move(name), view, &key, {}});
    });
}

}  // namespace

std::vector<StartupItem> StartupItems(RunContext& context) {
    std::vector<StartupItem> items;
    for (const RunKey& key : kRunKeys) {
        AddValueItems(context, key, RegView::Native, items);
        if (key.root == RegRoot::LocalMachine && context.platform.wow64())
            AddValueItems(context, kWow32RunKey, RegView::Wow32, items);
    }
    for (const std::string& folder : StartupFolders(context.platform, context.userName))
        RunStep(context, [&] { AddFolderItems(context.platform, folder, items); });
    return items;
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
    const std::vector<StartupItem> entries = StartupItems(context);
    g_listed.clear();
    for (const StartupItem& item : entries) g_listed.push_back(item.entry());
    form.clearList(CheckList::Startup);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        form.addListItem(CheckList::Startup, entries[i].name);
        if ((i + 1) % kEntriesPerTurn != 0 || i + 1 == entries.size()) continue;
        context.platform.pumpEvents();
        if (listing != g_listingsBegun) return;
    }
}

}  // namespace quillon
