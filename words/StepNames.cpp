#include "words/StepNames.h"

#include <algorithm>

#include "words/BoxWords.h"

namespace quillon {

std::string BoxCaption(int box) {
    if (box < 0 || box >= kCheckBoxCount) return {};
    return std::string(words::kBoxes[box].caption);
}

std::optional<Page> PageOfBox(int box) {
    if (box < 0 || box >= kCheckBoxCount) return std::nullopt;
    return words::kBoxes[box].page;
}

std::string StepNumber(const StepTag& step) {
    if (step.boxes[0] >= 0)
        return std::to_string(step.boxes[0]) + (step.boxes[1] >= 0 ? "," + std::to_string(step.boxes[1]) : "");
    if (step.control == "lstService" && step.entry >= 0) return std::to_string(step.entry);
    if (step.entry >= 0) return std::string(step.control) + " " + std::to_string(step.entry);
    return std::string(step.control);
}

std::string BoxCaptionInEnglish(int box) {
    if (box < 0 || box >= kCheckBoxCount) return {};
    const words::BoxWords& words = words::kBoxes[box];
    return std::string(words.english.empty() ? words.caption : words.english);
}

std::string ControlCaption(std::string_view control) {
    if (control == "txtPath") return std::string(words::kDownloadLabel);
    if (control == "lstHide") return std::string(words::kHideDriveLabel);
    if (control == "lstNot") return std::string(words::kNotDriveLabel);
    if (control == "Combo2") return std::string(words::kPrereadLabel);
    return std::string(control);
}

std::string StepCaption(const StepTag& step) {
    if (step.boxes[0] >= 0)
        return BoxCaption(step.boxes[0]) + (step.boxes[1] >= 0 ? " / " + BoxCaption(step.boxes[1]) : "");
    if (!step.item.empty()) return step.item;
    return ControlCaption(step.control);
}

std::vector<std::string> StepFields(const std::vector<StepTag>& steps) {
    if (steps.empty()) return {"-", "-", "-"};
    std::string pages, numbers, captions;
    const auto add = [](std::string& field, const std::string& text, const char* separator) {
        if (field.find(text) != std::string::npos && !text.empty()) return;
        field += (field.empty() ? "" : separator) + text;
    };
    std::vector<std::string> seen;
    for (const StepTag& step : steps) {
        const std::string number = StepNumber(step);
        if (std::find(seen.begin(), seen.end(), PageName(step.page) + number) != seen.end()) continue;
        seen.push_back(PageName(step.page) + number);
        add(pages, PageName(step.page), ",");
        numbers += (numbers.empty() ? "" : ",") + number;
        add(captions, StepCaption(step), " / ");
    }
    return {pages, numbers, captions};
}

}  // namespace quillon
