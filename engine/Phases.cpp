#include "engine/Phases.h"

#include <array>

namespace quillon {
namespace {

constexpr std::array kRunOrder{Page::Startup, Page::Services, Page::Speed, Page::System, Page::Security};

}  // namespace

std::span<const Page> RunOrder() { return kRunOrder; }

void RunPhase(RunContext& context, Page page) {
    context.addPage(page);
    switch (page) {
    case Page::Startup: return RunStartupPhase(context);
    case Page::Services: return RunServicesPhase(context);
    case Page::Speed: return RunSpeedPhase(context);
    case Page::System: return RunSystemPhase(context);
    case Page::Security: return RunSecurityPhase(context);
    }
}

}  // namespace quillon
