#include "console/ConsoleForm.h"

#include "engine/ServiceCatalogue.h"

namespace quillon::console {

ConsoleForm::ConsoleForm() {
    buttons_.fill(true);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        addListItem(CheckList::Hide, std::string(1, letter) + ":");
        addListItem(CheckList::Not, std::string(1, letter) + ":");
    }
    for (const ServiceEntry& entry : kServices) addListItem(CheckList::Service, std::string(entry.listText));
}

void ConsoleForm::showOnly(Page page) {
    pages_.fill(false);
    pages_.at(Slot(page)) = true;
}

void ConsoleForm::setProgressWidth(int twips) {
    progressWidth_ = twips;
    if (onProgress) onProgress(twips);
}

}  // namespace quillon::console
