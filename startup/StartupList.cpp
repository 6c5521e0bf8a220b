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

void AddFolderItems(Platform& platform, const std::string& folder, std::vector<StartupItem>& items) {
    if (!platform.directoryExists(folder)) return;
    for (std::string& name : platform.listVisibleFiles(folder, "*")) items.push_back({std::move(name), nullptr, folder});
}

}  // namespace

void EnumRegValues(Form& form, Platform& platform, RegRoot root, const std::string& subkey) {
    for (const std::string& name : platform.registryValueNames(root, subkey))
        form.addListItem(CheckList::Startup, name);
}

std::vector<StartupItem> StartupItems(RunContext& context) {
    std::vector<StartupItem> items;
    // This also serves the page button, where nothing may escape to the window.
    for (const RunKey& key : kRunKeys)
        RunStep([&] {
            for (std::string& name : context.platform.registryValueNames(key.root, key.subkey))
                items.push_back({std::move(name), &key, {}});
        });
    for (const std::string& folder : StartupFolders(context.platform, context.userName))
        RunStep([&] { AddFolderItems(context.platform, folder, items); });
    return items;
}

std::vector<std::string> StartupItemNames(RunContext& context) {
    std::vector<std::string> names;
    for (StartupItem& item : StartupItems(context)) names.push_back(std::move(item.name));
    return names;
}

void ListStartupItems(RunContext& context) {
    Form& form = context.form;
    const unsigned listing = ++g_listingsBegun;
    const std::vector<std::string> names = StartupItemNames(context);
    form.clearList(CheckList::Startup);
    for (std::size_t i = 0; i < names.size(); ++i) {
        form.addListItem(CheckList::Startup, names[i]);
        if ((i + 1) % kEntriesPerTurn != 0 || i + 1 == names.size()) continue;
        context.platform.pumpEvents();
        if (listing != g_listingsBegun) return;
    }
}

}  // namespace quillon
