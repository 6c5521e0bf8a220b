#pragma once
#include <string>

#include "engine/StepTag.h"

namespace quillon {

class Form;
class Platform;

// What every phase of the optimise run works with.
struct RunContext {
    Form& form;
    Platform& platform;
    std::string userName;  // logon name obtained at start-up
    StepTag step{};        // set by each step as it begins, for the plan and the undo record
    // The pages this run has reached so far: a box on one of them that stands
    // ticked keeps what it writes from another box's unticked side.
    unsigned pagesReached = 0;

    void reach(Page page) { pagesReached |= 1u << static_cast<unsigned>(page); }
    bool reached(Page page) const { return (pagesReached >> static_cast<unsigned>(page)) & 1u; }
    void startRun() { pagesReached = 0; }
};

}  // namespace quillon
