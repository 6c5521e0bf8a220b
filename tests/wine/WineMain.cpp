#include <gtest/gtest.h>

#include "startup/StartupPhase.h"

int main(int argc, char** argv) {
    quillon::RegisterStartupPhase();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
