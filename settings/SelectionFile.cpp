#include "settings/SelectionFile.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "engine/Form.h"
#include "platform/Platform.h"

namespace quillon {
namespace {

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

std::string Flags(const Form& form, CheckList list, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += form.listSelected(list, i) ? '1' : '0';
    return out;
}

// The text between the line's opening and closing double quotes.
std::optional<std::string_view> Field(std::string_view line) {
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') return std::nullopt;
    return line.substr(1, line.size() - 2);
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Loading only ever selects: an entry not marked "1" keeps its state.
void SelectFlags(Form& form, CheckList list, int count, std::string_view flags) {
    for (int i = 0; i < count && i < static_cast<int>(flags.size()); ++i)
        if (flags[i] == '1') form.setListSelected(list, i, true);
}

bool ApplyCombo(Form& form, Combo combo, std::string_view field) {
    auto index = Number(field);
    if (!index || *index < -1 || *index >= form.comboCount(combo)) return false;
    form.setComboIndex(combo, *index);
    return true;
}

}  // namespace

std::string SelectionFilePath(Platform& platform) { return platform.executableFolder() + "\\setup.dat"; }

std::vector<std::string> SelectionLines(const Form& form) {
    std::string boxes;
    for (int i = 0; i < kCheckBoxCount; ++i) boxes += form.ticked(i) ? '1' : '0';
    int option = 0;
    while (option < kOptionCount - 1 && !form.opt(option)) ++option;
    return {
        Quoted(boxes),
        Quoted(std::to_string(option)),
        Quoted(std::to_string(form.comboIndex(Combo::Prefetch))),
        Quoted(std::to_string(form.comboIndex(Combo::Priority))),
        Quoted(form.txtPath()),
        Quoted(Flags(form, CheckList::Hide, kDriveCount)),
        Quoted(Flags(form, CheckList::Not, kDriveCount)),
        Quoted(Flags(form, CheckList::Service, kServiceCount)),
    };
}

void SaveSelection(const Form& form, Platform& platform) {
    platform.replaceTextFile(SelectionFilePath(platform), SelectionLines(form));
}

void ApplySelectionLines(Form& form, const std::vector<std::string>& lines) {
    auto field = [&](std::size_t index) -> std::optional<std::string_view> {
        if (index >= lines.size()) return std::nullopt;
        return Field(lines[index]);
    };

    auto boxes = field(0);
    if (!boxes) return;
    for (int i = 0; i < kCheckBoxCount && i < static_cast<int>(boxes->size()); ++i) {
        char c = (*boxes)[i];
        if (c < '0' || c > '2') return;  // 0 clear, 1 ticked, 2 greyed; anything else ends the load
        form.setChk(i, c - '0');
    }
    if (boxes->size() < static_cast<std::size_t>(kCheckBoxCount)) return;

    auto option = field(1);
    if (!option) return;
    auto optionIndex = Number(*option);
    if (!optionIndex || *optionIndex < 0 || *optionIndex >= kOptionCount) return;
    form.selectOpt(*optionIndex);

    auto prefetch = field(2);
    if (!prefetch || !ApplyCombo(form, Combo::Prefetch, *prefetch)) return;
    auto priority = field(3);
    if (!priority || !ApplyCombo(form, Combo::Priority, *priority)) return;

    auto path = field(4);
    if (!path) return;
    form.setTxtPath(std::string(*path));

    const struct { CheckList list; int count; } lists[] = {
        {CheckList::Hide, kDriveCount}, {CheckList::Not, kDriveCount}, {CheckList::Service, kServiceCount}};
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        auto flags = field(5 + i);
        if (!flags) return;
        SelectFlags(form, lists[i].list, lists[i].count, *flags);
    }
}

void LoadSelection(Form& form, Platform& platform) {
    const std::string path = SelectionFilePath(platform);
    try {
        if (!platform.anyFileExists(path)) return;
        ApplySelectionLines(form, platform.readTextFile(path));
    } catch (const std::exception&) {
        // An unreadable file leaves the window as start-up made it.
    }
}

}  // namespace quillon
