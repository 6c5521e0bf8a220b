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

void Win32Terminal::out(std::string_view line) { write(out_, outConsole_, std::string(line) + "\r\n"); }
void Win32Terminal::err(std::string_view line) { write(err_, errConsole_, std::string(line) + "\r\n"); }
void Win32Terminal::errInPlace(std::string_view text) { write(err_, errConsole_, "\r" + std::string(text)); }

}  // namespace quillon::console::win32
