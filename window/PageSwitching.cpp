#include "window/PageSwitching.h"

#include <array>
#include <stdexcept>
#include <string>

#include "window/StartupRefill.h"

namespace quillon {
namespace {

constexpr std::array<PageButton, 5> kPageButtons{{
    {Page::System, Button::System, "  Quillon(System)", "[System]"},
    {Page::Security, Button::Security, "  Quillon(Security)", "[Security]"},
    {Page::Services, Button::Service, "  Quillon(Services)", "[Services]"},
    {Page::Startup, Button::Startup, "  Quillon(Startup)", "[Startup]"},
    {Page::Speed, Button::Wight, "  Quillon(Speed)", "[Speed]"},
}};

}  // namespace

std::span<const PageButton> PageButtons() { return kPageButtons; }

const PageButton& PageButtonOf(Page page) {
    for (const PageButton& entry : kPageButtons)
        if (entry.page == page) return entry;
    throw std::logic_error("no button for page");
}

void ShowPage(RunContext& context, Page page) {
    Form& form = context.form;
    for (const PageButton& other : kPageButtons)
        if (other.page != page) form.setPageVisible(other.page, false);
    form.setPageVisible(page, true);
    const PageButton& entry = PageButtonOf(page);
    form.setMainCaption(std::string(entry.mainCaption));
    form.setLabel(Label::Caption, std::string(entry.caption));
    if (page == Page::Startup) RefillStartupList(context);
}

void ShowServiceInfo(Form& form, int index) {
    if (index < 0 || index >= form.listCount(CheckList::Service)) return;
    form.setLabel(Label::Info, form.listText(CheckList::Service, index));
}

}  // namespace quillon
