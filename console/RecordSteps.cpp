#include "console/RecordSteps.h"

#include <algorithm>

#include "platform/RegistryPath.h"
#include "platform/TextMatch.h"
#include "record/RecordReader.h"
#include "words/StepNames.h"

namespace quillon::console {
namespace {

StepTag TagOf(const RecordedStep& step) {
    return StepTag{step.page, step.boxes, step.control, step.entry, step.item};
}

std::string Named(const StateLine& change) {
    if (change.changed != TargetKind::Value) return change.target;
    return change.target + "\\" + (change.name.empty() ? "(Default)" : change.name);
}

}  // namespace

RecordSteps::RecordSteps(Platform& machine, const std::string& recordFolder) {
    try {
        for (StateLine& line : ReadRecord(machine, recordFolder).lines)
            if (line.kind == StateKind::Change) changes_.push_back(std::move(line));
    } catch (const std::exception&) {
    }
}

std::vector<StepTag> RecordSteps::of(const EffectTarget& target) const {
    std::vector<StepTag> steps;
    for (const StateLine& change : changes_) {
        const EffectTarget changed{change.changed, change.target, change.name};
        const bool same = changed.identity() == target.identity() ||
                          (target.kind != TargetKind::Tool && EqualNoCase(change.target, target.path) &&
                           (target.kind != TargetKind::Value || changed.kind != TargetKind::Value));
        const bool within = changed.kind == TargetKind::Tree && target.kind != TargetKind::File &&
                            target.kind != TargetKind::Folder && KeyWithin(target.path, change.target);
        if (same || within) steps.push_back(TagOf(change.step));
    }
    return steps;
}

std::vector<StepTag> RecordSteps::ofNamed(const std::string& named) const {
    std::vector<StepTag> steps;
    for (const StateLine& change : changes_)
        if (EqualNoCase(Named(change), named) ||
            (change.changed == TargetKind::Tree && KeyWithin(named, change.target)))
            steps.push_back(TagOf(change.step));
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
