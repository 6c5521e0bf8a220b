#include "console/win32/Win32Terminal.h"

#include <string>

#include "platform/win32/Text.h"

namespace quillon::console::win32 {
namespace {

bool IsConsole(HANDLE stream) {
    DWORD mode = 0;
    return stream != INVALID_HANDLE_VALUE && stream && GetConsoleMode(stream, &mode);
}

}  // namespace

Win32Terminal::Win32Terminal()
    : out_(GetStdHandle(STD_OUTPUT_HANDLE)),
      err_(GetStdHandle(STD_ERROR_HANDLE)),
      outConsole_(IsConsole(out_)),
      errConsole_(IsConsole(err_)),
      pipeCodePage_(GetConsoleOutputCP()) {
    if (pipeCodePage_ == 0) pipeCodePage_ = GetOEMCP();  // no console at all, e.g. a service
}

void Win32Terminal::write(HANDLE stream, bool console, std::string_view utf8) {
    if (stream == INVALID_HANDLE_VALUE || !stream) return;
    const std::wstring wide = quillon::win32::Widen(utf8);
    if (wide.empty()) return;
    if (console) {
        DWORD written = 0;
        WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const UINT codePage = GetFileType(stream) == FILE_TYPE_DISK ? CP_UTF8 : pipeCodePage_;
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0) return;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Into a file or a pipe, lines go out in large writes: each write is a call
// into the system, and a listing has a hundred lines.
void Win32Terminal::out(std::string_view line) {
    pending_.append(line).append("\r\n");
    if (outConsole_ || pending_.size() > 16384) flush();
}

void Win32Terminal::flush() {
    if (!pending_.empty()) write(out_, outConsole_, pending_);
    pending_.clear();
}

// Messages keep their place among the data lines when both go to one console.
void Win32Terminal::err(std::string_view line) {
    flush();
    write(err_, errConsole_, std::string(line) + "\r\n");
}

void Win32Terminal::errInPlace(std::string_view text) {
    flush();
    write(err_, errConsole_, "\r" + std::string(text));
}

}  // namespace quillon::console::win32
