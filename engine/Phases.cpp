#include "engine/Phases.h"

#include <array>
#include <stdexcept>

#include "engine/SecurityCatalogue.h"
#include "engine/SystemCatalogue.h"

namespace quillon {
namespace {

constexpr std::array kRunOrder{Page::Startup, Page::Services, Page::Speed, Page::System, Page::Security};

// By page: the engine's own four, and Startup's once registered.
std::array<PhaseRun, 5>& PhaseTable() {
    static std::array<PhaseRun, 5> table = [] {
        std::array<PhaseRun, 5> t{};
        t[static_cast<std::size_t>(Page::Services)] = RunServicesPhase;
        t[static_cast<std::size_t>(Page::Speed)] = RunSpeedPhase;
        t[static_cast<std::size_t>(Page::System)] = RunSystemPhase;
        t[static_cast<std::size_t>(Page::Security)] = RunSecurityPhase;
        return t;
    }();
    return table;
}

}  // namespace

std::span<const Page> RunOrder() { return kRunOrder; }

void RunPhase(RunContext& context, Page page) {
    context.addPage(page);
    const PhaseRun run = PhaseTable().at(static_cast<std::size_t>(page));
    if (!run) throw std::logic_error("no phase is registered for this page");
    run(context);
}

std::vector<StepTag> ControlSteps(Page page) {
    // Only the catalogued pages have such steps: Services reads its list entry by entry, Speed only boxes.
    std::span<const CatalogueStep> steps;
    if (page == Page::System) steps = SystemCatalogue();
    if (page == Page::Security) steps = SecurityCatalogue();
    std::vector<StepTag> controls;
    for (const CatalogueStep& step : steps)
        if (const auto* named = std::get_if<NamedStep>(&step); named && named->boxes[0] < 0 && !named->control.empty())
            controls.push_back(StepTag{page, {-1, -1}, named->control, -1, {}});
    return controls;
}

void RegisterPhase(Page page, PhaseRun run) { PhaseTable().at(static_cast<std::size_t>(page)) = run; }

}  // namespace quillon
