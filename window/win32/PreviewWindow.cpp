#include "window/win32/PreviewWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "controls/win32/WindowClass.h"
#include "controls/win32/WindowProcedure.h"
#include "platform/win32/Text.h"
#include "window/win32/ChildWindow.h"
#include "window/win32/Clipboard.h"
#include "window/win32/Dpi.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonPreview";
constexpr int kListId = 100;
constexpr int kCountId = 101;
constexpr int kLeadId = 103;
constexpr int kGripId = 102;
constexpr UINT kCopyCommand = 200;
constexpr UINT kSelectAllCommand = 201;
// Sizes in pixels at 96 DPI; the window scales them with the screen's DPI, as its font does.
constexpr int kMargin96 = 10;
constexpr int kGap96 = 8;
constexpr int kButtonWidth96 = 75;
constexpr int kButtonHeight96 = 23;
constexpr POINT kMinimum96{320, 200};
constexpr int kHeight96 = 440;
constexpr int kNarrowest96 = 480;
constexpr int kHeaderPadding96 = 28;  // the header's text margins and its sort arrow
// The widest a column starts, by column: Before and After stay in view on a
// 1024 x 768 screen however long a value is; the copied rows hold it whole.
constexpr int kColumnCaps[] = {90, 200, 230, 170, 170};

// The font XP's own dialogs use: "MS Shell Dlg 2" is Tahoma there, 8 points.
UniqueFont DialogFont() {
    ScreenDC screen;
    LOGFONTW font{};
    font.lfHeight = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

RECT WorkArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The height of a static's text broken into lines to fit the width; 0 when it has none.
int TextHeight(HWND label, int width) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1);
    GetWindowTextW(label, text.data(), static_cast<int>(text.size()));
    if (!text[0]) return 0;
    RECT measured{0, 0, width, 0};
    ScreenDC screen;
    Selection selected(screen.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(screen.get(), text.data(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return static_cast<int>(measured.bottom);
}

bool Within(HWND dialog, HWND window) { return window == dialog || IsChild(dialog, window); }

class PreviewWindow {
public:
    PreviewWindow(HWND owner, const PreviewTable& table);
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;
    ~PreviewWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    bool open() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    // Shown with the focus on the list, its owner disabled as under a message box.
    void show();
    // Keys the dialog answers before the dialog manager sees them.
    bool translate(MSG& message);

private:
    template <typename>
    friend LRESULT CALLBACK controls::win32::WindowTrampoline(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void fill();
    int fitColumns();
    void place(int contentWidth);
    void arrange();
    void sortBy(int column);
    static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM self);
    // The row's text in the column sorted by; empty where the row has none.
    const std::wstring& cell(std::size_t row) const {
        static const std::wstring none;
        const auto column = static_cast<std::size_t>(sortColumn_);
        return row < cells_.size() && column < cells_[row].size() ? cells_[row][column] : none;
    }
    std::vector<std::size_t> selectedRows() const;
    void copy();
    void selectAll();
    void showMenu(LPARAM where);
    void close();

    HWND owner_;
    const PreviewTable& table_;
    std::vector<std::vector<std::wstring>> cells_;
    UniqueFont font_;
    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    HWND count_ = nullptr;
    HWND lead_ = nullptr;
    HWND close_ = nullptr;
    HWND grip_ = nullptr;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

PreviewWindow::PreviewWindow(HWND owner, const PreviewTable& table)
    : owner_(owner), table_(table), font_(DialogFont()) {
    for (const auto& row : table.rows) {
        cells_.emplace_back();
        for (const std::string& cell : row) cells_.back().push_back(Widen(cell));
    }
    controls::win32::RegisterControlClass(kClassName, controls::win32::WindowTrampoline<PreviewWindow>,
                                          CS_HREDRAW | CS_VREDRAW);
    const std::wstring title = Widen(table.title);
    // A dialog frame: a caption with Close only, resizable by its edges and grip.
    CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, title.c_str(),
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0, Scaled(kMinimum96.x),
                    Scaled(kMinimum96.y), owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) return;
    // The dialog's small icon would take the frame's place; a dialog has none.
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, 0);
    HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    list_ = CreateChildWindow(WC_LISTVIEWW, L"",
                              WS_VISIBLE | WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SHOWSELALWAYS, RECT{}, hwnd_,
                              kListId, font, WS_EX_CLIENTEDGE);
    lead_ = CreateChildWindow(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, RECT{}, hwnd_, kLeadId, font);
    count_ = CreateChildWindow(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, RECT{}, hwnd_, kCountId, font);
    close_ = CreateChildWindow(L"BUTTON", L"Close", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, RECT{},
                               hwnd_, IDCANCEL, font);
    grip_ = CreateChildWindow(L"SCROLLBAR", L"", WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, RECT{},
                              hwnd_, kGripId);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    fill();
    place(fitColumns());
    arrange();
}

void PreviewWindow::fill() {
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        std::wstring heading = Widen(table_.columns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = heading.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    for (std::size_t row = 0; row < cells_.size(); ++row) {
        for (std::size_t i = 0; i < cells_[row].size() && i < table_.columns.size(); ++i) {
            LVITEMW item{};
            item.mask = i == 0 ? LVIF_TEXT | LVIF_PARAM : LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(i);
            item.pszText = cells_[row][i].data();
            item.lParam = static_cast<LPARAM>(row);  // the row in the table, wherever sorting puts it
            SendMessageW(list_, i == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        }
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    SetWindowTextW(count_, Widen(table_.count).c_str());
    SetWindowTextW(lead_, Widen(table_.lead).c_str());
}

// Each column as wide as its widest text or its heading, up to its cap;
// returns the sum.
int PreviewWindow::fitColumns() {
    int total = 0;
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        const int column = static_cast<int>(i);
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
        const int content = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
        const std::wstring heading = Widen(table_.columns[i]);
        const int header = static_cast<int>(
                               SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(heading.c_str()))) +
                           Scaled(kHeaderPadding96);
        const int cap = i < std::size(kColumnCaps) ? Scaled(kColumnCaps[i]) : content;
        const int width = std::max(std::min(content, cap), header);
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, width);
        total += width;
    }
    return total;
}

// Wide enough for every column where the screen allows, centred over the
// owner, and wholly on the screen.
void PreviewWindow::place(int contentWidth) {
    const RECT area = WorkArea();
    RECT frame{0, 0, contentWidth + 2 * Scaled(kMargin96) + GetSystemMetrics(SM_CXVSCROLL) + 4, 0};
    AdjustWindowRectEx(&frame, GetWindowLongW(hwnd_, GWL_STYLE), FALSE, GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const int width = std::clamp(static_cast<int>(frame.right - frame.left), Scaled(kNarrowest96),
                                 static_cast<int>(area.right - area.left));
    const int height = std::min(Scaled(kHeight96), static_cast<int>(area.bottom - area.top));
    RECT ownerRect = area;
    if (owner_ && IsWindowVisible(owner_)) GetWindowRect(owner_, &ownerRect);
    int left = (ownerRect.left + ownerRect.right) / 2 - width / 2;
    int top = (ownerRect.top + ownerRect.bottom) / 2 - height / 2;
    left = std::max(static_cast<int>(area.left), std::min(left, static_cast<int>(area.right) - width));
    top = std::max(static_cast<int>(area.top), std::min(top, static_cast<int>(area.bottom) - height));
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::arrange() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right, height = client.bottom;
    const int gripSize = GetSystemMetrics(SM_CXVSCROLL);
    const int buttonRight = width - std::max(Scaled(kMargin96), gripSize + 2);
    const int countWidth = std::max(0, buttonRight - Scaled(kButtonWidth96) - Scaled(kGap96) - Scaled(kMargin96));
    // The count wraps rather than clips when the dialog is narrow.
    const int countHeight = TextHeight(count_, countWidth);
    const int band = std::max(Scaled(kButtonHeight96), countHeight);
    const int bandTop = height - Scaled(kMargin96) - band;
    const int leadHeight = TextHeight(lead_, width - 2 * Scaled(kMargin96));
    const int listTop = Scaled(kMargin96) + (leadHeight > 0 ? leadHeight + Scaled(kGap96) / 2 : 0);
    const int listHeight = std::max(0, bandTop - Scaled(kGap96) - listTop);
    HDWP moves = BeginDeferWindowPos(5);
    const auto move = [&moves](HWND window, int x, int y, int w, int h) {
        if (moves) moves = DeferWindowPos(moves, window, nullptr, x, y, std::max(0, w), std::max(0, h),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    move(lead_, Scaled(kMargin96), Scaled(kMargin96), width - 2 * Scaled(kMargin96), leadHeight);
    move(list_, Scaled(kMargin96), listTop, width - 2 * Scaled(kMargin96), listHeight);
    move(count_, Scaled(kMargin96), bandTop + (band - countHeight) / 2, countWidth, countHeight);
    move(close_, buttonRight - Scaled(kButtonWidth96), bandTop + (band - Scaled(kButtonHeight96)) / 2, Scaled(kButtonWidth96), Scaled(kButtonHeight96));
    move(grip_, width - gripSize, height - GetSystemMetrics(SM_CYHSCROLL), gripSize, GetSystemMetrics(SM_CYHSCROLL));
    if (moves) EndDeferWindowPos(moves);
    InvalidateRect(count_, nullptr, TRUE);
    InvalidateRect(lead_, nullptr, TRUE);
}

int CALLBACK PreviewWindow::Compare(LPARAM a, LPARAM b, LPARAM context) {
    const auto* self = reinterpret_cast<const PreviewWindow*>(context);
    const std::wstring& left = self->cell(static_cast<std::size_t>(a));
    const std::wstring& right = self->cell(static_cast<std::size_t>(b));
    int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left.c_str(), static_cast<int>(left.size()),
                               right.c_str(), static_cast<int>(right.size())) - CSTR_EQUAL;
    if (order == 0) order = a < b ? -1 : a > b ? 1 : 0;  // equal texts keep the plan's order
    return self->ascending_ ? order : -order;
}

// A click on a heading sorts by it; a second click reverses the order.
void PreviewWindow::sortBy(int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= table_.columns.size()) return;
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    SendMessageW(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&Compare));
    HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    for (int i = 0; i < static_cast<int>(table_.columns.size()); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) item.fmt |= ascending_ ? HDF_SORTUP : HDF_SORTDOWN;
        SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    const int focused = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused >= 0) SendMessageW(list_, LVM_ENSUREVISIBLE, focused, FALSE);
}

// The selected rows in the order they are shown.
std::vector<std::size_t> PreviewWindow::selectedRows() const {
    std::vector<std::size_t> rows;
    for (int index = -1;
         (index = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED))) >= 0;) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        if (SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
            rows.push_back(static_cast<std::size_t>(item.lParam));
    }
    return rows;
}

void PreviewWindow::copy() {
    const std::vector<std::size_t> rows = selectedRows();
    if (rows.empty()) return;
    if (!PutTextOnClipboard(hwnd_, Widen(PreviewRowsAsText(table_, rows)))) MessageBeep(MB_ICONWARNING);
}

void PreviewWindow::selectAll() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void PreviewWindow::showMenu(LPARAM where) {
    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where == -1) {  // from the keyboard: under the focused row, or the list's corner
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        const int focused =
            static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (focused < 0 || !SendMessageW(list_, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&row)))
            row = RECT{0, 0, 0, 0};
        point = POINT{row.left + 8, row.bottom};
        ClientToScreen(list_, &point);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const bool any = SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    AppendMenuW(menu, MF_STRING | (any ? MF_ENABLED : MF_GRAYED), kCopyCommand, L"&Copy\tCtrl+C");
    AppendMenuW(menu, MF_STRING, kSelectAllCommand, L"Select &All\tCtrl+A");
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd_, nullptr);
    DestroyMenu(menu);
    if (chosen == kCopyCommand) copy();
    if (chosen == kSelectAllCommand) selectAll();
}

void PreviewWindow::show() {
    EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetFocus(list_);
}

// The owner is enabled first, so it, not another program, takes the focus back.
void PreviewWindow::close() {
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

bool PreviewWindow::translate(MSG& message) {
    if (!hwnd_ || !Within(hwnd_, message.hwnd)) return false;
    if (message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
        if (message.wParam == 'A') return selectAll(), true;
        if (message.wParam == 'C' || message.wParam == VK_INSERT) return copy(), true;
    }
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

LRESULT PreviewWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_SIZE:
        if (list_) arrange();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{Scaled(kMinimum96.x), Scaled(kMinimum96.y)};
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) close();
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == list_ && header->code == LVN_COLUMNCLICK)
            sortBy(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return 0;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == list_) showMenu(lParam);
        return 0;
    case WM_CTLCOLORSTATIC:
        // The count stands on the dialog's face, not on a white band.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace

void ShowPreviewWindow(HWND owner, const PreviewTable& table, const std::function<void(HWND)>& shown) {
    PreviewWindow preview(owner, table);
    if (!preview.open()) return;
    preview.show();
    if (shown) shown(preview.hwnd());
    MSG message;
    bool quit = false;
    while (preview.open()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (preview.translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

}  // namespace quillon::win32
