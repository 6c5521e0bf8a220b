#include "settings/SelectionFile.h"

#include <array>

#include "engine/Form.h"
#include "platform/Platform.h"
#include "settings/SelectionReading.h"

namespace quillon {
namespace {

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

std::string Flags(const Form& form, CheckList list, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += form.listSelected(list, i) ? '1' : '0';
    return out;
}

// A combo index the file names is kept only when the form's combo has it.
bool ApplyCombo(Form& form, Combo combo, int index) {
    if (index >= form.comboCount(combo)) return false;
    form.setComboIndex(combo, index);
    return true;
}

// Loading only ever selects: an entry not marked keeps its state.
template <std::size_t N>
void SelectFlags(Form& form, CheckList list, const std::array<bool, N>& marks) {
    for (std::size_t i = 0; i < N; ++i)
        if (marks[i]) form.setListSelected(list, static_cast<int>(i), true);
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
    const SelectionReading read = ReadSelectionLines(lines, SelectionRules::Forgiving);
    const SavedSelection& s = read.selection;
    for (int i = 0; i < read.boxes; ++i) form.setChk(i, s.boxes[i]);
    if (read.fields < 2) return;
    form.selectOpt(s.option);
    if (read.fields < 3 || !ApplyCombo(form, Combo::Prefetch, s.prefetch)) return;
    if (read.fields < 4 || !ApplyCombo(form, Combo::Priority, s.priority)) return;
    if (read.fields < 5) return;
    form.setTxtPath(s.downloadPath);
    if (read.fields < 6) return;
    SelectFlags(form, CheckList::Hide, s.hide);
    if (read.fields < 7) return;
    SelectFlags(form, CheckList::Not, s.deny);
    if (read.fields < 8) return;
    SelectFlags(form, CheckList::Service, s.services);
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
