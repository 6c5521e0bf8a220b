#pragma once
#include <string>

#include "engine/StepTag.h"

namespace quillon {

class FailedSteps;
class Form;
class Platform;

// What every phase of the optimise run works with.
struct RunContext {
    Form& form;
    Platform& platform;
    std::string userName;  // logon name obtained at start-up
    StepTag step{};        // set by each step as it begins, for the plan and the undo record
    // The pages of this run: those it has reached so far and those its caller
    // said it will take. A box on one of them that stands ticked keeps what it
    // writes from another box's unticked side (engine/SharedValues.h).
    unsigned pagesOfRun = 0;
    // Where the run counts the steps that fail (engine/Step.h); none while nothing counts them.
    FailedSteps* failures = nullptr;

    void addPage(Page page) { pagesOfRun |= 1u << static_cast<unsigned>(page); }
    bool runsPage(Page page) const { return (pagesOfRun >> static_cast<unsigned>(page)) & 1u; }
    void startRun() { pagesOfRun = 0; }
};

}  // namespace quillon
