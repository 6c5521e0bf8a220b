#pragma once
// The five page buttons: which panel each shows and the header texts it sets.
#include <span>
#include <string_view>

#include "engine/Form.h"
#include "engine/RunContext.h"

namespace quillon {

struct PageButton {
    Page page;
    Button button;
    std::string_view mainCaption;  // XPCMain's header
    std::string_view caption;      // lblCaption
};

std::span<const PageButton> PageButtons();
const PageButton& PageButtonOf(Page page);

// What a page button does: its panel alone on view, then the header texts;
// the Startup button also lists the startup items afresh, dropping the ticks.
void ShowPage(RunContext& context, Page page);

// A click on a lstService entry shows the entry's whole text below the list.
void ShowServiceInfo(Form& form, int index);

}  // namespace quillon
