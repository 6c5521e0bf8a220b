#include "engine/OptimiseRun.h"

#include <array>

#include "engine/Form.h"
#include "engine/Phases.h"
#include "engine/Step.h"
#include "settings/SelectionFile.h"

namespace quillon {
namespace {

constexpr std::array kLockOrder{Button::Redo,    Button::Suggest,  Button::Optimize, Button::Exit,
                                Button::Auto,    Button::System,   Button::Security, Button::Startup,
                                Button::Service, Button::Wight};
constexpr std::array kUnlockOrder{Button::Auto,    Button::System,  Button::Security, Button::Startup,
                                  Button::Service, Button::Redo,    Button::Suggest,  Button::Optimize,
                                  Button::Exit,    Button::Wight};

struct PhaseEntry {
    Page page;
    void (*run)(RunContext&);
};
constexpr std::array kPhases{
    PhaseEntry{Page::Startup, RunStartupPhase}, PhaseEntry{Page::Services, RunServicesPhase},
    PhaseEntry{Page::Speed, RunSpeedPhase},     PhaseEntry{Page::System, RunSystemPhase},
    PhaseEntry{Page::Security, RunSecurityPhase},
};

}  // namespace

void RunOptimise(RunContext& context) {
    Form& form = context.form;
    // A selection that cannot be saved must not keep the page from being applied.
    RunStep([&] { SaveSelection(form, context.platform); });

    for (Button b : kLockOrder) form.setButtonEnabled(b, false);
    form.setProgressVisible(true);
    form.setLabel(Label::Wait, "Optimizing...");

    for (const PhaseEntry& phase : kPhases) {
        // Visibility is read as each phase is reached, not once up front.
        if (form.pageVisible(phase.page)) RunStep([&] { phase.run(context); });
    }

    for (Button b : kUnlockOrder) form.setButtonEnabled(b, true);
    form.setProgressVisible(false);
    form.setLabel(Label::Wait, "Optimize complete!");
}

}  // namespace quillon
