#pragma once
// A one-line text progress bar on standard error, only when it is a console.
#include <string>

#include "console/Terminal.h"

namespace quillon::console {

// "[#########...........]  45%  System": the bar for a fraction from 0 to 1.
std::string ProgressLine(double fraction, const std::string& what);

class ProgressBar {
public:
    explicit ProgressBar(Terminal& terminal) : terminal_(terminal) {}
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void show(double fraction, const std::string& what);
    // Clears the bar so that later messages start on a clean line.
    void finish();

private:
    Terminal& terminal_;
    std::string shown_;
};

}  // namespace quillon::console
