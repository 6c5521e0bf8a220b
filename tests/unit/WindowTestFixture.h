#pragma once
// The main window's logic on an in-memory form and a simulated machine.
#include <gtest/gtest.h>

#include "engine/RunContext.h"
#include "tests/sim/SimWindows.h"
#include "tests/support/MemoryForm.h"

namespace quillon::test {

struct WindowFixture : ::testing::Test {
    MemoryForm form;
    sim::SimWindows machine;
    RunContext context{form, machine, "Tester"};
};

}  // namespace quillon::test
