#pragma once
// Standard output and error as the system's own console tools use them:
// UTF-16 straight to a console window, the console's code page when
// redirected to a file or a pipe (a character it lacks becomes '?').
#include <windows.h>

#include "console/Terminal.h"

namespace quillon::console::win32 {

class Win32Terminal final : public Terminal {
public:
    Win32Terminal();

    void out(std::string_view line) override;
    void err(std::string_view line) override;
    bool errIsConsole() const override { return errConsole_; }
    void errInPlace(std::string_view text) override;

private:
    void write(HANDLE stream, bool console, std::string_view utf8);

    HANDLE out_, err_;
    bool outConsole_, errConsole_;
    UINT codePage_;
};

}  // namespace quillon::console::win32
