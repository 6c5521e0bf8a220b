#include "tests/support/MemoryForm.h"

#include <string>

#include "engine/ServiceCatalogue.h"

namespace quillon::test {

MemoryForm::MemoryForm() {
    buttons_.fill(true);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        items(CheckList::Hide).push_back({std::string(1, letter) + ":"});
        items(CheckList::Not).push_back({std::string(1, letter) + ":"});
    }
    for (const ServiceEntry& entry : kServices) items(CheckList::Service).push_back({std::string(entry.listText)});
}

int MemoryForm::listCount(CheckList list) const { return static_cast<int>(items(list).size()); }
std::string MemoryForm::listText(CheckList list, int index) const { return items(list).at(index).text; }
bool MemoryForm::listSelected(CheckList list, int index) const { return items(list).at(index).selected; }

void MemoryForm::setListSelected(CheckList list, int index, bool selected) {
    items(list).at(index).selected = selected;
}

void MemoryForm::clearList(CheckList list) {
    items(list).clear();
    events_.push_back("clear list " + std::to_string(Slot(list)));
}

void MemoryForm::addListItem(CheckList list, const std::string& text) { items(list).push_back({text}); }

std::vector<std::string> MemoryForm::listTexts(CheckList list) const {
    std::vector<std::string> out;
    for (const Item& item : items(list)) out.push_back(item.text);
    return out;
}

void MemoryForm::showOnly(Page page) {
    pages_.fill(false);
    setPageVisible(page, true);
}

void MemoryForm::setProgressVisible(bool visible) {
    progressVisible_ = visible;
    events_.push_back(std::string("progress visible=") + (visible ? "1" : "0"));
}

void MemoryForm::setProgressWidth(int twips) {
    progressWidth_ = twips;
    progressHistory_.push_back(twips);
    events_.push_back("progress width=" + std::to_string(twips));
}

void MemoryForm::setLabel(Label which, const std::string& text) {
    labels_.at(Slot(which)) = text;
    events_.push_back("label " + std::to_string(Slot(which)) + "=" + text);
}

void MemoryForm::setButtonEnabled(Button button, bool enabled) {
    buttons_.at(Slot(button)) = enabled;
    events_.push_back("button " + std::to_string(Slot(button)) + "=" + (enabled ? "1" : "0"));
}

}  // namespace quillon::test
