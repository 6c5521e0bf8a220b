#pragma once
// Where the console tool writes: data lines on standard output, messages and
// the progress bar on standard error. Text is UTF-8; the Win32 side converts
// at the boundary.
#include <string_view>

namespace quillon::console {

class Terminal {
public:
    virtual ~Terminal() = default;
    virtual void out(std::string_view line) = 0;  // a line ending is added
    virtual void err(std::string_view line) = 0;
    // Standard error is a console window, so a bar redrawn in place is seen
    // as one line and not as a heap of lines in a log file.
    virtual bool errIsConsole() const = 0;
    // Rewrites the current line of standard error (no line ending).
    virtual void errInPlace(std::string_view text) = 0;
};

}  // namespace quillon::console
