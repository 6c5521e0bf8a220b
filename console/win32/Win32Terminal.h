#pragma once
// Standard output and error: UTF-16 straight to a console window; the
// console's code page into a pipe, as the system's own tools write it (what
// `for /f` reads; a character the code page lacks becomes '?'); UTF-8 into a
// file, so a name outside the code page survives a redirection.
#include <windows.h>

#include <string>

#include "console/Terminal.h"

namespace quillon::console::win32 {

class Win32Terminal final : public Terminal {
public:
    Win32Terminal();
    ~Win32Terminal() override { flush(); }
    Win32Terminal(const Win32Terminal&) = delete;
    Win32Terminal& operator=(const Win32Terminal&) = delete;

    void out(std::string_view line) override;
    void err(std::string_view line) override;
    bool errIsConsole() const override { return errConsole_; }
    void errInPlace(std::string_view text) override;

    // Writes what standard output holds back (see out()).
    void flush();

private:
    void write(HANDLE stream, bool console, std::string_view utf8);

    HANDLE out_, err_;
    bool outConsole_, errConsole_;
    UINT pipeCodePage_;
    std::string pending_;  // standard output not yet written
};

}  // namespace quillon::console::win32
