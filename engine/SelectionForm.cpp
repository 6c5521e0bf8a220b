#include "engine/SelectionForm.h"

#include "engine/ServiceCatalogue.h"

namespace quillon {

SelectionForm::SelectionForm() {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        items(CheckList::Hide).push_back({std::string(1, letter) + ":", false});
        items(CheckList::Not).push_back({std::string(1, letter) + ":", false});
    }
    for (const ServiceEntry& entry : kServices) items(CheckList::Service).push_back({std::string(entry.listText), false});
}

SelectionForm SelectionForm::CopyOf(const Form& form) {
    SelectionForm copy;
    for (int i = 0; i < kCheckBoxCount; ++i) copy.boxes_[i] = form.chk(i);
    copy.option_ = -1;
    for (int i = 0; i < kOptionCount; ++i)
        if (form.opt(i)) copy.option_ = i;
    for (Combo combo : {Combo::Prefetch, Combo::Priority}) copy.setComboIndex(combo, form.comboIndex(combo));
    copy.path_ = form.txtPath();
    for (CheckList list : {CheckList::Hide, CheckList::Not, CheckList::Service, CheckList::Startup}) {
        copy.clearList(list);
        for (int i = 0; i < form.listCount(list); ++i)
            copy.items(list).push_back({form.listText(list, i), form.listSelected(list, i)});
    }
    return copy;
}

void SelectionForm::tickEverything(bool ticked) {
    boxes_.fill(ticked ? kTicked : kUnticked);
    option_ = 0;
    combos_ = {0, 0};
    for (auto& list : lists_)
        for (Item& item : list) item.selected = ticked;
}

void SelectionForm::setPageVisible(Page page, bool visible) {
    if (visible) page_ = page;
}

}  // namespace quillon
