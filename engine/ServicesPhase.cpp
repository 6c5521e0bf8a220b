#include <cstddef>
#include <string>
#include <string_view>

#include "engine/Commands.h"
#include "engine/Form.h"
#include "engine/Phases.h"
#include "engine/ServiceCatalogue.h"
#include "engine/SharedValues.h"
#include "engine/Step.h"

namespace quillon {
namespace {

// The bar moves on after these positions.
constexpr std::size_t kLastOfFirstGroup = 3;
constexpr std::size_t kLastOfSecondGroup = 14;

std::string StartModeCommand(std::string_view service, bool disable) {
    return "sc \\\\. config " + std::string(service) + (disable ? " start= disabled" : " start= demand");
}

}  // namespace

void RunServicesPhase(RunContext& context) {
    Form& form = context.form;
    form.setProgressWidth(1000);
    for (std::size_t position = 0; position < kServices.size(); ++position) {
        // Waited for, so the modes are set by the time the run reports completion.
        context.step = StepTag{Page::Services, {-1, -1}, "lstService", static_cast<int>(position),
                               std::string(kServices[position].listText)};
        RunStep(context, [&] {
            const bool ticked = form.listSelected(CheckList::Service, static_cast<int>(position));
            if (!ticked && TickedSideHoldsService(context, kServices[position].serviceName)) return;
            RunHiddenCommandAndWait(context.platform, StartModeCommand(kServices[position].serviceName, ticked));
        });
        if (position == kLastOfFirstGroup) form.setProgressWidth(2000);
        if (position == kLastOfSecondGroup) form.setProgressWidth(5000);
    }
    form.setProgressWidth(kProgressFull);
}

}  // namespace quillon
