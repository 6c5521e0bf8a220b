#include "window/StartupRefill.h"

#include <map>
#include <optional>
#include <string>

#include "platform/RegValue.h"
#include "startup/StartupList.h"

namespace quillon {

namespace {

// Where 64-bit Windows keeps a second view of the machine's Run key, the
// entry's view is to be named here too, once the listing reads both views.
std::string RunKeyInWords(const RunKey& key) {
    return key.root == RegRoot::CurrentUser ? "the user's Run key (HKEY_CURRENT_USER)"
                                            : "the machine's Run key (HKEY_LOCAL_MACHINE)";
}

std::string FolderInWords(Platform& machine, const std::string& folder) {
    std::string common;
    try {
        common = machine.shellFolder(ShellFolder::CommonStartup);
    } catch (const PlatformError&) {
    }
    return (folder == common ? "All Users' Startup folder, " : "the user's Startup folder, ") + folder;
}

}  // namespace

void RefillStartupList(RunContext& context) { ListStartupItems(context); }

std::string StartupEntryInWords(RunContext& context, int index) {
    Form& form = context.form;
    if (index < 0 || index >= form.listCount(CheckList::Startup)) return {};
    const std::string name = form.listText(CheckList::Startup, index);
    // The entry is found by its name and how many of that name stand before it.
    int before = 0;
    for (int i = 0; i < index; ++i) before += form.listText(CheckList::Startup, i) == name;
    for (const StartupItem& item : StartupItems(context)) {
        if (item.name != name || before-- > 0) continue;
        const std::string shown = name.empty() ? "(Default)" : name;
        if (!item.runKey) return shown + ": a file in " + FolderInWords(context.platform, item.folder) + ".";
        std::optional<std::string> command;
        try {
            const std::optional<RegValue> value = context.platform.registryValue(item.runKey->fullPath, name);
            if (value) command = PlainText(*value);
        } catch (const PlatformError&) {
        }
        return shown + ": starts " + (command ? *command : std::string("(cannot be read)")) + ", from " +
               RunKeyInWords(*item.runKey) + ".";
    }
    return {};
}

void RefreshStartupList(RunContext& context) {
    Form& form = context.form;
    // Two sources may hold the same name: the first ticked ones keep theirs.
    std::map<std::string, int> ticked;
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i)
        if (form.listSelected(CheckList::Startup, i)) ++ticked[form.listText(CheckList::Startup, i)];
    ListStartupItems(context);
    for (int i = 0; i < form.listCount(CheckList::Startup) && !ticked.empty(); ++i) {
        const auto entry = ticked.find(form.listText(CheckList::Startup, i));
        if (entry == ticked.end()) continue;
        form.setListSelected(CheckList::Startup, i, true);
        if (--entry->second == 0) ticked.erase(entry);
    }
}

}  // namespace quillon
