#include "startup/StartupList.h"

#include "engine/Form.h"
#include "engine/RunContext.h"
#include "engine/Step.h"
#include "startup/StartupPlaces.h"

namespace quillon {
namespace {

void ListStartupFolder(Form& form, Platform& platform, const std::string& folder) {
    if (!platform.directoryExists(folder)) return;
    for (const std::string& name : platform.listVisibleFiles(folder, "*")) form.addListItem(CheckList::Startup, name);
}

}  // namespace

void EnumRegValues(Form& form, Platform& platform, RegRoot root, const std::string& subkey) {
    for (const std::string& name : platform.registryValueNames(root, subkey))
        form.addListItem(CheckList::Startup, name);
}

void ListStartupItems(RunContext& context) {
    Form& form = context.form;
    form.clearList(CheckList::Startup);
    // This also serves the page button, where nothing may escape to the window.
    for (const RunKey& key : kRunKeys)
        RunStep([&] { EnumRegValues(form, context.platform, key.root, key.subkey); });
    for (const std::string& folder : StartupFolders(context.userName))
        RunStep([&] { ListStartupFolder(form, context.platform, folder); });
}

}  // namespace quillon
