#include "engine/Catalogue.h"

#include <string>

#include "engine/Commands.h"
#include "engine/Form.h"
#include "engine/SharedValues.h"
#include "engine/Step.h"

namespace quillon {
namespace {

template <class... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};

bool UntickedSideYields(const RunContext& context, std::string_view commandLine) {
    const std::string_view service = StartModeService(commandLine);
    return !service.empty() && TickedSideHoldsService(context, service);
}

void Apply(RunContext& context, const CatalogueStep& step, bool ticked) {
    std::visit(Overloaded{
                   [&](const RegistryFlag& flag) {
                       if (!ticked && TickedSideHolds(context, flag.key, flag.valueName)) return;
                       ApplyRegistryFlag(context.platform, flag, ticked);
                   },
                   [&](const CommandToggle& toggle) {
                       // Waited for, so the step is done when the run says it is.
                       if (ticked) RunHiddenCommandAndWait(context.platform, std::string(toggle.tickedCommand));
                       else if (toggle.untickedCommand && !UntickedSideYields(context, *toggle.untickedCommand))
                           RunHiddenCommandAndWait(context.platform, std::string(*toggle.untickedCommand));
                   },
                   [&](const ProgressMark& mark) { context.form.setProgressWidth(mark.width); },
                   [&](const NamedStep& named) { named.run(context); },
               },
               step);
}

}  // namespace

std::optional<int> BoxOf(const CatalogueStep& step) {
    if (auto* flag = std::get_if<RegistryFlag>(&step)) return flag->box;
    if (auto* toggle = std::get_if<CommandToggle>(&step)) return toggle->box;
    return std::nullopt;
}

void RunCatalogue(RunContext& context, std::span<const CatalogueStep> steps) {
    std::optional<int> readBox;
    bool ticked = false;
    for (const CatalogueStep& step : steps) {
        const std::optional<int> box = BoxOf(step);
        if (box && box != readBox) ticked = context.form.ticked(*box);
        readBox = box;
        context.step = StepTag{context.step.page, {box.value_or(-1), -1}, {}, -1, {}};
        if (auto* named = std::get_if<NamedStep>(&step)) context.step.boxes = named->boxes, context.step.control = named->control;
        RunStep(context, [&] { Apply(context, step, ticked); });
    }
}

}  // namespace quillon
