#include "window/win32/Clipboard.h"

#include <cstring>

namespace quillon::win32 {
namespace {

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard()) return false;
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        // Once the clipboard takes the memory it is the clipboard's to free.
        if (SetClipboardData(CF_UNICODETEXT, memory)) return true;
    }
    GlobalFree(memory);
    return false;
}

}  // namespace quillon::win32
