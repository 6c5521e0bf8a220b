#include "window/win32/PreviewWindow.h"

#include <commctrl.h>

#include "controls/win32/WindowClass.h"
#include "controls/win32/WindowProcedure.h"
#include "platform/win32/Text.h"
#include "window/win32/ChildWindow.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonPreview";
constexpr int kMargin = 8;
constexpr int kCountHeight = 20;
constexpr std::array kColumnWidths{60, 190, 380, 105, 105};

class PreviewWindow {
public:
    PreviewWindow(HWND owner, const PreviewTable& table);
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;
    ~PreviewWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    bool open() const { return hwnd_ != nullptr; }

private:
    template <typename>
    friend LRESULT CALLBACK controls::win32::WindowTrampoline(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void fill(const PreviewTable& table);
    void arrange();

    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    HWND count_ = nullptr;
};

PreviewWindow::PreviewWindow(HWND owner, const PreviewTable& table) {
    controls::win32::RegisterControlClass(kClassName, controls::win32::WindowTrampoline<PreviewWindow>,
                                          CS_HREDRAW | CS_VREDRAW);
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    const std::wstring title = Widen(table.title);
    CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    ownerRect.left + 20, ownerRect.top + 20, 880, 420, owner, nullptr, GetModuleHandleW(nullptr),
                    this);
    if (!hwnd_) return;
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    list_ = CreateChildWindow(WC_LISTVIEWW, L"", WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                              RECT{}, hwnd_, 1, font, WS_EX_CLIENTEDGE);
    count_ = CreateChildWindow(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, RECT{}, hwnd_, 2, font);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    fill(table);
    arrange();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetFocus(list_);
}

void PreviewWindow::fill(const PreviewTable& table) {
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        std::wstring heading = Widen(table.columns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = kColumnWidths[i];
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        for (std::size_t i = 0; i < table.rows[row].size(); ++i) {
            std::wstring text = Widen(table.rows[row][i]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(i);
            item.pszText = text.data();
            SendMessageW(list_, i == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        }
    }
    SetWindowTextW(count_, Widen(table.count).c_str());
}

void PreviewWindow::arrange() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right - 2 * kMargin;
    const int listHeight = client.bottom - 3 * kMargin - kCountHeight;
    MoveWindow(list_, kMargin, kMargin, width > 0 ? width : 0, listHeight > 0 ? listHeight : 0, TRUE);
    MoveWindow(count_, kMargin, client.bottom - kMargin - kCountHeight, width > 0 ? width : 0, kCountHeight, TRUE);
}

LRESULT PreviewWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_SIZE:
        if (list_) arrange();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{320, 200};
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(hwnd_);
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace

void ShowPreviewWindow(HWND owner, const PreviewTable& table) {
    PreviewWindow preview(owner, table);
    if (!preview.open()) return;
    EnableWindow(owner, FALSE);
    MSG message;
    bool quit = false;
    while (preview.open()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        // Esc in the list closes the window as in a dialog.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            SendMessageW(GetAncestor(message.hwnd, GA_ROOT), WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace quillon::win32
