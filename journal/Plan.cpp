#include "journal/Plan.h"

#include <array>

#include "engine/Phases.h"
#include "journal/PlanningPlatform.h"
#include "journal/SelectionForm.h"

namespace quillon {
namespace {

constexpr std::array kRunOrder{Page::Startup, Page::Services, Page::Speed, Page::System, Page::Security};

void (*PhaseOf(Page page))(RunContext&) {
    switch (page) {
    case Page::Startup: return RunStartupPhase;
    case Page::Services: return RunServicesPhase;
    case Page::Speed: return RunSpeedPhase;
    case Page::System: return RunSystemPhase;
    case Page::Security: return RunSecurityPhase;
    }
    return nullptr;
}

}  // namespace

std::span<const Page> RunOrder() { return kRunOrder; }

std::vector<PlannedEffect> PlanRun(const Form& form, Platform& machine, const std::string& userName,
                                   std::span<const Page> pages) {
    SelectionForm selection = SelectionForm::CopyOf(form);
    PlanningPlatform planner(machine);
    RunContext context{selection, planner, userName};
    planner.follow(context.step);
    for (Page page : pages) {
        selection.setPageVisible(page, true);
        // The run skips a phase that fails; so does the plan.
        try {
            PhaseOf(page)(context);
        } catch (const std::exception&) {
        }
    }
    return planner.effects();
}

}  // namespace quillon
