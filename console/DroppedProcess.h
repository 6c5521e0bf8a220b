#pragma once
// A tool a layer keeps from the machine: it "ends" at once, successfully
// unless told what the tool itself would have said.
#include "platform/Platform.h"

namespace quillon::console {

class DroppedProcess final : public StartedProcess {
public:
    explicit DroppedProcess(int exitCode = 0) : exitCode_(exitCode) {}
    bool waitPumping(std::chrono::milliseconds) override { return true; }
    void terminate() override {}
    std::optional<int> exitCode() const override { return exitCode_; }

private:
    int exitCode_;
};

}  // namespace quillon::console
