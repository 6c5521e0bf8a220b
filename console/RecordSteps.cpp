#include "console/RecordSteps.h"

#include <algorithm>

#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "record/RecordReader.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

std::string Named(const EffectTarget& target) {
    if (target.kind != TargetKind::Value) return target.path;
    return target.path + "\\" + (target.name.empty() ? "(Default)" : target.name);
}

}  // namespace

RecordSteps::RecordSteps(Platform& machine, const std::string& recordFolder) {
    try {
        changes_ = RecordedChanges(ReadRecord(machine, recordFolder).lines);
    } catch (const std::exception&) {
    }
}

std::vector<StepTag> RecordSteps::of(const EffectTarget& target) const { return StepsOf(changes_, target); }

std::vector<StepTag> RecordSteps::ofNamed(const std::string& named) const {
    std::vector<StepTag> steps;
    for (const RecordedChange& change : changes_)
        if (EqualNoCase(Named(change.target), named) ||
            (change.target.kind == TargetKind::Tree && KeyWithin(named, change.target.path)))
            for (const RecordedStep& step : change.steps) steps.push_back(TagOf(step));
    return steps;
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

}  // namespace quillon::console
