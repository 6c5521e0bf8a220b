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
};

}  // namespace quillon
