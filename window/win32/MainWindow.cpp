#include "window/win32/MainWindow.h"

#include "window/OptimiseRun.h"
#include "record/Journal.h"
#include "platform/win32/Text.h"
#include "window/CommandButtons.h"
#include "window/PageSwitching.h"
#include "window/StartUp.h"
#include "window/StartupRefill.h"
#include "window/win32/CheckList.h"
#include "window/win32/CutCombo.h"
#include "window/win32/Dpi.h"
#include "window/win32/SystemMenu.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonMain";
constexpr char kClosingAfterRun[] = "Quillon closes when this run has ended...";

bool IsModalSystemCommand(UINT command) {
    return command == SC_KEYMENU || command == SC_MOUSEMENU || command == SC_MOVE || command == SC_SIZE;
}

void RegisterMainClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

// Whether `show` asks for the window shown and active as it is, neither
// minimised nor maximised. The start-up code passes SW_SHOWDEFAULT when its
// starter gave no show state.
bool PlainShow(int show) {
    if (show == SW_SHOWDEFAULT) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) return true;
        show = startup.wShowWindow;
    }
    return show == SW_SHOWNORMAL || show == SW_SHOW;
}

COLORREF ColourOf(layout::Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Win32Platform& platform, int show)
    : instance_(instance),
      platform_(platform),
      context_{*this, platform, {}},
      optionBrush_(CreateSolidBrush(ColourOf(layout::kOptionBack))) {
    RegisterMainClass(instance, Proc);

    const int width = ScreenPixels(layout::kWindow.width), height = ScreenPixels(layout::kWindow.height);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const std::wstring title = Widen(layout::kWindow.caption);
    // WS_SYSMENU draws nothing on a window without a caption; it gives Alt+Space and the taskbar a menu.
    CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClassName, title.c_str(),
                    WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN,
                    left, top, width, height, nullptr, nullptr, instance, this);
    if (!window_) throw PlatformError("the main window cannot be created");
    createControls();
    AddSystemMenuEntries(window_);
    LoadMainForm(context_);
    if (show != SW_HIDE) {
        // A plain show leaves the erasing to each control's first paint:
        // Wine would otherwise fetch a device context for every control
        // twice, once to erase (which each control does in its paint) and
        // once to paint. ShowWindow then finds it shown and changes nothing.
        if (PlainShow(show))
            SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_DEFERERASE);
        ShowWindow(window_, show);
        UpdateWindow(window_);
    }
    createHiddenPages();
    if (GetActiveWindow() == window_) SetFocus(focusOnReturn());
}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

HWND MainWindow::buttonWindow(Button button) const { return buttons_[static_cast<std::size_t>(button)]->hwnd(); }

HWND MainWindow::focusOnReturn() const {
    if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_))
        return lastFocus_;
    return firstOnPage();
}

// The first box of the page on view in Tab order, else the page's first
// control: Enter there presses nothing, so a window just opened never runs.
HWND MainWindow::firstOnPage() const {
    HWND page = nullptr;
    for (const PageButton& entry : PageButtons())
        if (pageVisible(entry.page)) page = pagePanel(entry.page);
    HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
    HWND onPage = nullptr;
    for (HWND control = first; control && page;) {
        if (IsChild(page, control)) {
            const int id = GetDlgCtrlID(control);
            if (id >= kChkId && id < kChkId + kCheckBoxCount) return control;
            if (!onPage) onPage = control;
        }
        control = GetNextDlgTabItem(window_, control, FALSE);
        if (control == first) break;
    }
    if (onPage) return onPage;
    return first ? first : window_;
}

// Windows takes the focus from a button it disables, and gives it to no
// one: after a run its locked button started, the keyboard would do nothing
// until a click. The control that had the focus takes it back.
void MainWindow::takeFocusBack(HWND before) {
    if (!window_ || GetActiveWindow() != window_) return;  // its activation gives the focus back
    const HWND now = GetFocus();
    if (now && (now == window_ || IsChild(window_, now))) return;
    const bool usable = before && IsWindow(before) && IsChild(window_, before) && IsWindowVisible(before) &&
                        IsWindowEnabled(before);
    SetFocus(usable ? before : focusOnReturn());
}

HWND MainWindow::pagePanel(Page page) const { return panel(layout::PanelOf(page).panel); }

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self = nullptr;
    }
    return self ? self->onMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return onColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_SYSCOMMAND:
            if (onSystemCommand(static_cast<UINT>(wParam & 0xFFF0))) return 0;
            // A menu, a move or a resize runs a loop of its own, inside the
            // run's wait for its tool: the run would stand still until it
            // ends, holding the machine's lock. None opens during a run.
            if (running() && IsModalSystemCommand(static_cast<UINT>(wParam & 0xFFF0))) return 0;
            break;
        case kResumeListDrawing:
            resumeListDrawing(wParam);
            return 0;
        case WM_INITMENU:
            if (reinterpret_cast<HMENU>(wParam) == GetSystemMenu(window_, FALSE)) onSystemMenuOpening();
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam)) onSystemMenuOpening();
            break;
        case WM_EXITMENULOOP:
            // Wine leaves the menu's icon over the header's star until something repaints it.
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType == ODT_COMBOBOX) DrawCutComboItem(item);
            else DrawCheckListItem(item);
            return TRUE;
        }
        case WM_NOTIFY:
            if (AnswerCutComboTooltip(lParam)) return 0;
            break;
        case WM_ACTIVATE:
            // A window without a caption gets no focus of its own making: the
            // control last used, or the first one, takes it back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                showAccessKeys(false);  // Alt+Tab: the key comes up elsewhere
                HWND focus = GetFocus();
                if (focus && IsChild(window_, focus)) lastFocus_ = focus;
            } else if (!HIWORD(wParam)) {
                SetFocus(focusOnReturn());
            }
            return 0;
        case WM_CLOSE:
            // A run is never cut: the window closes when it has ended.
            if (running()) {
                setLabel(Label::Wait, kClosingAfterRun);
                closeAfterRun_ = true;
            } else {
                DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            // The event pump ends the process when it meets the quit message.
            PostQuitMessage(0);
            return 0;
        default:
            break;
        }
    } catch (...) {
        // Nothing escapes a window procedure; handlers report nothing.
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT MainWindow::onColour(HDC dc, HWND control) {
    for (HWND option : opt_)
        if (option == control) {
            SetBkColor(dc, ColourOf(layout::kOptionBack));
            return reinterpret_cast<LRESULT>(optionBrush_.get());
        }
    for (HWND box : chk_)
        if (box == control) {
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
    return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void MainWindow::onCommand(int id, int code) {
    const bool box = id >= kChkId && id < kChkId + kCheckBoxCount && code == BN_CLICKED;
    const bool option = id >= kOptId && id < kOptId + kOptionCount && code == BN_CLICKED;
    const bool listed = id >= kListId && id < kListId + int(lists_.size()) && code == LBN_SELCHANGE;
    const bool chosen = id >= kComboId && id < kComboId + int(combos_.size()) && code == CBN_SELCHANGE;
    const bool typed = id == kTxtPathId && code == EN_CHANGE;
    // What an earlier action did is no longer what the page shows.
    if ((box || option || listed || chosen || typed) && !running()) setLabel(Label::Wait, "");
    // A click never greys a box: only a loaded selection can do that.
    if (box) setChk(id - kChkId, chk(id - kChkId) == kTicked ? kUnticked : kTicked);
    if (id == kListId + static_cast<int>(CheckList::Service) && code == LBN_SELCHANGE)
        ShowServiceInfo(*this, static_cast<int>(SendMessageW(list(CheckList::Service), LB_GETCARETINDEX, 0, 0)));
    if (id == kListId + static_cast<int>(CheckList::Startup) && code == LBN_SELCHANGE && !running()) {
        const int entry = static_cast<int>(SendMessageW(list(CheckList::Startup), LB_GETCARETINDEX, 0, 0));
        setLabel(Label::Wait, StartupEntryInWords(context_, entry));
    }
}

// A run or an undo may have changed the startup places; the list says what is there now.
void MainWindow::refreshStartupList() {
    if (window_ && !running()) RefreshStartupList(context_);
}

void MainWindow::showAccessKeys(bool shown) {
    for (const auto& button : buttons_)
        if (button) button->showAccessKey(shown);
}

bool MainWindow::onKeyMessage(const MSG& message) noexcept try {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    const bool alt = message.wParam == VK_MENU;
    if (alt && message.message == WM_SYSKEYDOWN) showAccessKeys(true);
    if (alt && (message.message == WM_SYSKEYUP || message.message == WM_KEYUP)) showAccessKeys(false);
    if (message.message != WM_SYSCHAR || running()) return false;
    const auto lower = [](WPARAM c) { return reinterpret_cast<ULONG_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(c))); };
    const ULONG_PTR letter = lower(message.wParam);
    for (int b = 0; b < kButtonCount; ++b) {
        auto& button = buttons_[static_cast<std::size_t>(b)];
        const wchar_t key = button->accessKey();
        if (!key || lower(key) != letter) continue;
        // As a click: the button takes the focus, then acts (a locked one does nothing).
        if (IsWindowVisible(button->hwnd())) SetFocus(button->hwnd());
        onButton(static_cast<Button>(b));
        return true;
    }
    return false;
} catch (...) {
    return false;
}

void MainWindow::closeIfAsked() {
    if (closeAfterRun_ && window_ && !running()) DestroyWindow(window_);
}

void MainWindow::onBrowse() noexcept {
    try {
        Browse(context_);
    } catch (...) {
    }
}

void MainWindow::onButton(Button button) noexcept try {
    if (!buttonEnabled(button)) return;  // locked by a run or by Auto
    for (const PageButton& page : PageButtons())
        if (page.button == button) return ShowPage(context_, page.page);
    switch (button) {
    case Button::Suggest:
        Recommend(*this);
        setLabel(Label::Wait, "");
        break;
    case Button::Auto: {
        const HWND focus = GetFocus();
        RunWithUndoRecord(context_, AutoOptimise, "Auto Optimize");
        closeIfAsked();
        refreshStartupList();
        takeFocusBack(focus);
        break;
    }
    case Button::Redo:
        Reset(*this);
        setLabel(Label::Wait, "");
        break;
    case Button::Optimize: {
        const HWND focus = GetFocus();
        RunWithUndoRecord(context_, [](RunContext& run) { RunOptimise(run); });
        closeIfAsked();
        refreshStartupList();
        takeFocusBack(focus);
        break;
    }
    case Button::Exit:
        Exit(context_);
        if (window_) DestroyWindow(window_);
        break;
    default:
        break;
    }
} catch (...) {
    // A click handler reports nothing.
}

}  // namespace quillon::win32
