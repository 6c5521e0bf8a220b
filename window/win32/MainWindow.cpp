#include "window/win32/MainWindow.h"

#include <algorithm>
#include <vector>

#include "engine/OptimiseRun.h"
#include "engine/ServiceCatalogue.h"
#include "platform/win32/Text.h"
#include "window/CommandButtons.h"
#include "window/PageSwitching.h"
#include "window/StartUp.h"
#include "window/win32/Banner.h"
#include "window/win32/CheckList.h"
#include "window/win32/Forwarding.h"
#include "window/win32/Label.h"
#include "window/win32/Shape.h"
#include "window/win32/Themed.h"

namespace quillon::win32 {
namespace {

using layout::Panel;
using layout::Pixels;

constexpr wchar_t kClassName[] = L"QuillonMain";

// Control identifiers; 1 and 2 stay free for the dialog keys Enter and Esc.
constexpr int kChkId = 1000;
constexpr int kOptId = 1100;
constexpr int kButtonId = 1200;
constexpr int kBrowseId = 1250;
constexpr int kListId = 1300;
constexpr int kComboId = 1400;
constexpr int kTxtPathId = 1500;
constexpr int kComboDropHeight = 120;  // pixels of the open drop-down list

template <class E>
constexpr std::size_t Slot(E e) {
    return static_cast<std::size_t>(e);
}

RECT PixelRect(const layout::Rect& twips) {
    const int left = Pixels(twips.left), top = Pixels(twips.top);
    return {left, top, left + Pixels(twips.width), top + Pixels(twips.height)};
}

RECT PixelRect(int left, int top, int width, int height) { return PixelRect(layout::Rect{left, top, width, height}); }

HMENU IdOf(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

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

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Win32Platform& platform)
    : instance_(instance),
      platform_(platform),
      context_{*this, platform, {}},
      optionBrush_(CreateSolidBrush(RGB(layout::kOptionBack.red, layout::kOptionBack.green, layout::kOptionBack.blue))) {
    RegisterMainClass(instance, Proc);
    RegisterLabelClass(instance);
    RegisterShapeClass(instance);
    RegisterBannerClass(instance);
    RegisterThemedClasses(instance);

    const int width = Pixels(layout::kWindow.width), height = Pixels(layout::kWindow.height);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const std::wstring title = Widen(layout::kWindow.caption);
    CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClassName, title.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                    left, top, width, height, nullptr, nullptr, instance, this);
    if (!window_) throw PlatformError("the main window cannot be created");
    createControls();
    LoadMainForm(context_);
}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

void MainWindow::createControls() {
    const layout::PanelSpec& main = layout::PanelOf(Panel::Main);
    panels_[Slot(Panel::Main)] = CreatePanel(window_, main, instance_);
    SetPanelCaption(panel(Panel::Main), L"  Quillon(System)");
    ForwardChildNotifications(panel(Panel::Main), window_);

    // Creation order is the tab order: top row, the page on view, bottom row.
    for (Button top : {Button::Auto, Button::System, Button::Security, Button::Startup, Button::Wight, Button::Service})
        buttons_[Slot(top)] = CreatePushButton(panel(Panel::Main), layout::ButtonOf(top), kButtonId + int(Slot(top)),
                                               fonts_.get(layout::ButtonOf(top).font), instance_);
    populate(Panel::Main);
    for (Button bottom : {Button::Suggest, Button::Redo, Button::Optimize, Button::Exit})
        buttons_[Slot(bottom)] =
            CreatePushButton(panel(Panel::Main), layout::ButtonOf(bottom), kButtonId + int(Slot(bottom)),
                             fonts_.get(layout::ButtonOf(bottom).font), instance_);

    shape_ = CreateShape(panel(Panel::Main), PixelRect(layout::kShape2.rect), layout::kShape2.rect.width, instance_);
    SetShapeFill(shape_, RGB(layout::kShape2Fill.red, layout::kShape2Fill.green, layout::kShape2Fill.blue));
    ShowWindow(panel(Panel::Main), SW_SHOW);
}

// Creates the panels inside a container, then the container's own controls.
void MainWindow::populate(Panel container) {
    HWND parent = panel(container);
    for (const layout::PanelSpec& spec : layout::Panels()) {
        if (spec.parent != container) continue;
        HWND child = CreatePanel(parent, spec, instance_);
        panels_[Slot(spec.panel)] = child;
        ForwardChildNotifications(child, window_);
        populate(spec.panel);
        if (!spec.page || spec.page == Page::System) ShowWindow(child, SW_SHOW);
    }

    std::vector<const layout::CheckBoxSpec*> boxes;
    for (const layout::CheckBoxSpec& box : layout::CheckBoxes())
        if (box.parent == container) boxes.push_back(&box);
    std::sort(boxes.begin(), boxes.end(), [](auto* a, auto* b) {
        return a->left != b->left ? a->left < b->left : a->top < b->top;
    });
    for (const layout::CheckBoxSpec* box : boxes) {
        const DWORD visible = box->hidden ? 0 : WS_VISIBLE;
        const RECT rect = PixelRect(box->left, box->top, layout::kCheckBoxWidth, layout::kCheckBoxHeight);
        chk_[box->index] = CreateWindowExW(0, L"BUTTON", L"Check1", WS_CHILD | WS_TABSTOP | BS_3STATE | BS_FLAT | visible,
                                           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                           IdOf(kChkId + box->index), instance_, nullptr);
        SendMessageW(chk_[box->index], WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(layout::Font::Arial9)), FALSE);
        HFONT font = fonts_.get(box->labelFont);
        const std::wstring caption = Widen(box->caption);
        const SIZE text = MeasureText(font, caption);
        CreateLabel(parent, caption,
                    {Pixels(box->labelLeft), Pixels(box->labelTop), Pixels(box->labelLeft) + text.cx,
                     Pixels(box->labelTop) + text.cy},
                    visible, font, instance_);
    }

    if (container == layout::kOptionPanel) {
        for (int i = 0; i < kOptionCount; ++i) {
            const layout::OptionSpec& option = layout::Options()[i];
            const RECT rect = PixelRect(option.left, option.top, layout::kOptionWidth, layout::kOptionHeight);
            const DWORD group = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
            opt_[i] = CreateWindowExW(0, L"BUTTON", L"Option1", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | group,
                                      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                      IdOf(kOptId + i), instance_, nullptr);
            HFONT font = fonts_.get(layout::Font::Arial9);
            const std::wstring caption = Widen(option.caption);
            const SIZE text = MeasureText(font, caption);
            CreateLabel(parent, caption,
                        {Pixels(option.labelLeft), Pixels(option.labelTop), Pixels(option.labelLeft) + text.cx,
                         Pixels(option.labelTop) + text.cy},
                        WS_VISIBLE, font, instance_);
        }
        SendMessageW(opt_[0], BM_SETCHECK, BST_CHECKED, 0);
    }

    for (const layout::ComboSpec& spec : layout::Combos()) {
        if (spec.parent != container) continue;
        const RECT rect = PixelRect(spec.rect);
        HWND box = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                   rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top + kComboDropHeight, parent,
                                   IdOf(kComboId + int(Slot(spec.combo))), instance_, nullptr);
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(spec.font)), FALSE);
        for (std::string_view item : spec.items) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
        // The closed box keeps the height the layout gives it.
        SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), (rect.bottom - rect.top) - 6);
        // Combo3 completes chk 56's caption, whose end it covers.
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        combos_[Slot(spec.combo)] = box;
    }

    if (container == layout::kTxtPath.parent) {
        const RECT rect = PixelRect(layout::kTxtPath.rect);
        txtPath_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                                   rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                   IdOf(kTxtPathId), instance_, nullptr);
        SendMessageW(txtPath_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(layout::kTxtPathFont)), FALSE);
    }
    if (container == layout::BrowseButton().parent)
        browse_ = CreatePushButton(parent, layout::BrowseButton(), kBrowseId, fonts_.get(layout::BrowseButton().font),
                                   instance_);

    for (const layout::ListSpec& spec : layout::Lists()) {
        if (spec.parent != container) continue;
        HWND box = CreateCheckList(parent, PixelRect(spec.rect), kListId + int(Slot(spec.list)), fonts_.get(spec.font),
                                   instance_);
        lists_[Slot(spec.list)] = box;
        if (spec.list == CheckList::Hide || spec.list == CheckList::Not)
            for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
                const wchar_t drive[] = {letter, L':', 0};
                SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive));
            }
        if (spec.list == CheckList::Service)
            for (const ServiceEntry& entry : kServices)
                SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry.listText).c_str()));
    }

    for (const layout::LabelSpec& spec : layout::Labels()) {
        if (spec.parent != container) continue;
        const DWORD align = spec.align == layout::Align::Centre ? kLabelCentred : 0;
        HFONT font = fonts_.get(spec.font);
        const std::wstring caption = Widen(spec.caption);
        RECT rect = PixelRect(spec.rect);
        if (spec.autoSize && spec.rect.width == 0) rect.right = rect.left + MeasureText(font, caption).cx;
        HWND label = CreateLabel(parent, caption, rect, WS_VISIBLE | align, font, instance_);
        if (spec.label) {
            labels_[Slot(*spec.label)] = label;
            labelSpecs_[Slot(*spec.label)] = &spec;
            fitLabel(*spec.label);
        }
    }

    if (container == layout::kPicture1.parent) CreateBanner(parent, PixelRect(layout::kPicture1.rect), instance_);
}

HWND MainWindow::pagePanel(Page page) const { return panel(layout::PanelOf(page).panel); }

// An auto-sized label fits its text; a centred one keeps its centre.
void MainWindow::fitLabel(Label which) {
    const layout::LabelSpec& spec = *labelSpecs_[Slot(which)];
    if (!spec.autoSize) return;
    HWND label = labels_[Slot(which)];
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1);
    GetWindowTextW(label, text.data(), static_cast<int>(text.size()));
    const SIZE size = MeasureText(font, text.data());
    int left = Pixels(spec.rect.left);
    if (spec.align == layout::Align::Centre) left = Pixels(spec.rect.left + spec.rect.width / 2) - size.cx / 2;
    SetWindowPos(label, nullptr, left, Pixels(spec.rect.top), size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

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
        case WM_DRAWITEM:
            DrawCheckListItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            // Closing ends the program at once, also in the middle of a run:
            // the event pump ends the process when it meets the quit message.
            PostQuitMessage(0);
            return 0;
        default:
            break;
        }
    } catch (const std::exception&) {
        // Nothing escapes a window procedure; handlers report nothing.
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT MainWindow::onColour(HDC dc, HWND control) {
    for (HWND option : opt_)
        if (option == control) {
            SetBkColor(dc, RGB(layout::kOptionBack.red, layout::kOptionBack.green, layout::kOptionBack.blue));
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
    if (id >= kChkId && id < kChkId + kCheckBoxCount) {
        if (code == BN_CLICKED) setChk(id - kChkId, chk(id - kChkId) == kTicked ? kUnticked : kTicked);
        return;
    }
    if (id == kListId + int(Slot(CheckList::Service))) {
        if (code == LBN_SELCHANGE)
            ShowServiceInfo(*this, static_cast<int>(SendMessageW(list(CheckList::Service), LB_GETCARETINDEX, 0, 0)));
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == kBrowseId) {
        Browse(context_);
        return;
    }
    if (id < kButtonId || id >= kButtonId + kButtonCount) return;
    const auto button = static_cast<Button>(id - kButtonId);
    for (const PageButton& page : PageButtons())
        if (page.button == button) return ShowPage(context_, page.page);
    switch (button) {
    case Button::Suggest:
        Recommend(*this);
        break;
    case Button::Auto:
        AutoOptimise(context_);
        break;
    case Button::Redo:
        Reset(*this);
        break;
    case Button::Optimize:
        RunOptimise(context_);
        break;
    case Button::Exit:
        Exit(context_);
        if (window_) DestroyWindow(window_);
        break;
    default:
        break;
    }
}

}  // namespace quillon::win32
