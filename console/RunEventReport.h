#pragma once
// APPLY's and UNDO's one event in the Application log, rendered from the run's
// result and the messages it said, whatever way the verb ended.
#include <string>
#include <string_view>
#include <vector>

#include "console/Terminal.h"

namespace quillon {
class Platform;
}

namespace quillon::console {

struct Request;
struct RunResult;

// Passes everything on, keeping each message (without the tool's name) for the
// event and whether anything went to standard output.
class NotingTerminal final : public Terminal {
public:
    explicit NotingTerminal(Terminal& inner) : inner_(inner) {}
    void out(std::string_view line) override {
        printed_ = true;
        inner_.out(line);
    }
    void err(std::string_view line) override;
    bool errIsConsole() const override { return inner_.errIsConsole(); }
    void errInPlace(std::string_view text) override { inner_.errInPlace(text); }
    const std::vector<std::string>& said() const { return said_; }
    bool printed() const { return printed_; }

private:
    Terminal& inner_;
    std::vector<std::string> said_;
    bool printed_ = false;
};

// Whether the request writes an event: APPLY, and UNDO when it takes a record back.
bool WritesEvent(const Request& request);

// Writes the one event: `result` is null when the verb ended before it had one.
void ReportRunEvent(Platform& platform, const Request& request, int exitStatus, const RunResult* result,
                    const std::vector<std::string>& said);

}  // namespace quillon::console
