#include "window/ScreenWords.h"

#include <string_view>

#include "window/Layout.h"
#include "words/StepNames.h"

namespace quillon {
namespace {

struct ControlWords {
    std::string_view control;
    std::string_view words;
};

// The label each control stands under on its page.
constexpr ControlWords kControlWords[] = {
    {"lstHide", "Hide Drive:"},
    {"lstNot", "Disabled Drive:"},
    {"txtPath", "Download File Path Set:"},
    {"Combo2", "Preread Setting"},
    {"Combo3", "Adjust for best performance of"},
    {"Opt", "Optimize 2 level cache"},
};

// Boxes the window keeps hidden; one has a caption in another language.
std::string HiddenBoxWords(int box) {
    if (box == 35) return "Forbid access to drives from Internet Explorer";
    return BoxCaption(box);
}

std::string BoxWords(int box) {
    if (box >= 0 && box < kCheckBoxCount && layout::CheckBoxes()[box].hidden) return HiddenBoxWords(box);
    return BoxCaption(box);
}

const char* SideWord(bool ticked) { return ticked ? "ticked" : "unticked"; }

}  // namespace

std::string ScreenCaption(const StepTag& step) {
    if (step.boxes[0] >= 0)
        return BoxWords(step.boxes[0]) + (step.boxes[1] >= 0 ? " / " + BoxWords(step.boxes[1]) : "");
    if (!step.item.empty()) return step.item;
    for (const ControlWords& known : kControlWords)
        if (known.control == step.control) return std::string(known.words);
    return std::string(step.control);
}

std::string ScreenSide(const Form& form, const StepTag& step) {
    if (step.boxes[0] >= 0) {
        const bool first = form.ticked(step.boxes[0]);
        if (step.boxes[1] < 0 || form.ticked(step.boxes[1]) == first) return SideWord(first);
        return std::string(SideWord(first)) + " / " + SideWord(!first);
    }
    if (step.entry >= 0) {
        const CheckList list = step.control == "lstService" ? CheckList::Service : CheckList::Startup;
        return SideWord(form.listSelected(list, step.entry));
    }
    return {};
}

}  // namespace quillon
