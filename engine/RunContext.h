#pragma once
#include <string>

namespace quillon {

class Form;
class Platform;

// What every phase of the optimise run works with.
struct RunContext {
    Form& form;
    Platform& platform;
    std::string userName;  // logon name obtained at start-up
};

}  // namespace quillon
