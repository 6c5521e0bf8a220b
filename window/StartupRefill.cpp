#include "window/StartupRefill.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegValue.h"
#include "platform/Utf8.h"
#include "startup/StartupList.h"

namespace quillon {

namespace {

// The status line holds three lines between the bottom buttons, about 33
// characters each, broken at blanks: a longer text loses its end (where the
// entry comes from), and a word longer than a line is cut at its side.
constexpr std::size_t kLongestWord = 28;
// An entry's name leaves the room of a line or more to what it starts.
constexpr std::size_t kLongestName = 20;

// `text` within `room` bytes: its beginning and end with "..." between, never
// cut inside a character.
std::string CutMiddle(const std::string& text, std::size_t room) {
    if (text.size() <= room) return text;
    const std::size_t keep = room > 3 ? room - 3 : 0;
    const std::size_t head = CharacterStartAtOrBefore(text, keep / 2),
                      tail = CharacterStartAtOrBefore(text, text.size() - (keep - keep / 2));
    return text.substr(0, head) + "..." + text.substr(std::max(tail, head));
}

// Each word kept within a line, then the whole within `room`: its end first
// (a command's program and arguments, a folder's name), then as much of its
// beginning as fits, "..." for the words between.
std::string Fitted(const std::string& text, std::size_t room) {
    std::vector<std::string> words;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t blank = std::min(text.find(' ', from), text.size());
        words.push_back(CutMiddle(text.substr(from, blank - from), kLongestWord));
        from = blank + 1;
    }
    std::string whole;
    for (const std::string& word : words) whole += (whole.empty() ? "" : " ") + word;
    if (whole.size() <= room) return whole;
    constexpr std::size_t kGap = 4;  // "... "
    std::string tail;
    std::size_t last = words.size();
    while (last > 0 && tail.size() + words[last - 1].size() + 1 + kGap <= room) {
        tail = words[last - 1] + (tail.empty() ? "" : " ") + tail;
        --last;
    }
    if (tail.empty()) {  // not even the last word: its end
        const std::string& word = words.back();
        const std::size_t from =
            CharacterStartAtOrAfter(word, word.size() - std::min(word.size(), room > 3 ? room - 3 : 0));
        return "..." + word.substr(from);
    }
    std::string head;
    for (std::size_t first = 0; first < last && head.size() + words[first].size() + 1 + kGap + tail.size() <= room; ++first)
        head += words[first] + " ";
    return head + "... " + tail;
}

// On 64-bit Windows the machine's Run key is one of two views, and both are listed.
std::string RunKeyInWords(const StartupItem& item, bool wow64) {
    if (item.runKey->root == RegRoot::CurrentUser) return "the user's Run key";
    if (!wow64) return "the machine's Run key";
    return item.view == RegView::Wow32 ? "the machine's 32-bit Run key" : "the machine's 64-bit Run key";
}

std::string FolderInWords(Platform& machine, const std::string& folder) {
    std::string common;
    try {
        common = machine.shellFolder(ShellFolder::CommonStartup);
    } catch (const PlatformError&) {
    }
    return folder == common ? "All Users' Startup folder" : "the user's Startup folder";
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
        // Where it comes from stands first and whole; what it starts, or the
        // folder's path, gets the room left.
        const std::string lead = Fitted(name.empty() ? "(Default)" : name, kLongestName) + ": ";
        if (!item.runKey) {
            const std::string words = lead + "a file in " + FolderInWords(context.platform, item.folder) + ", ";
            return words + Fitted(item.folder, kStatusLineRoom - words.size() - 1) + ".";
        }
        std::optional<std::string> command;
        try {
            const std::optional<RegValue> value = context.platform.registryValue(item.runKey->fullPath, name);
            if (value) command = PlainText(*value);
        } catch (const PlatformError&) {
        }
        const std::string words = lead + RunKeyInWords(item, context.platform.wow64()) + " starts ";
        return words + Fitted(command ? *command : std::string("(cannot be read)"), kStatusLineRoom - words.size() - 1) +
               ".";
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
