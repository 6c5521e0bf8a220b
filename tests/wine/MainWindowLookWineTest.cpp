// The real main window as quillon.exe shows it (common controls 6, as its
// manifest asks): every label shows all of its ink, every tweak box is flat.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/QuitRequestDropped.h"
#include "engine/ServiceCatalogue.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "window/OptimiseRun.h"
#include "window/PageSwitching.h"
#include "window/StartupRefill.h"
#include "window/SystemMenuActions.h"
#include "window/win32/Label.h"
#include "window/win32/MainWindow.h"
#include "controls/isButton.h"
#include "controls/win32/Fonts.h"
#include "window/Layout.h"
#include "words/BoxWords.h"

namespace quillon {
namespace {

using Pixels = std::vector<std::uint32_t>;

// Common controls 6 for the windows made while it lives, as quillon.exe's
// manifest gives them to the whole program.
class CommonControls6 {
public:
    CommonControls6() {
        wchar_t folder[MAX_PATH], path[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"qmf", 0, path);
        path_ = path;
        const char manifest[] =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><dependency>"
            "<dependentAssembly><assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
            "version=\"6.0.0.0\" processorArchitecture=\"X86\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
            "</dependentAssembly></dependency></assembly>";
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, manifest, sizeof manifest - 1, &written, nullptr);
        CloseHandle(file);
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.lpSource = path;
        context_ = CreateActCtxW(&request);
        if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
    }
    ~CommonControls6() {
        if (context_ != INVALID_HANDLE_VALUE) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(context_);
        }
        DeleteFileW(path_.c_str());
    }
    bool active() const { return context_ != INVALID_HANDLE_VALUE; }

private:
    std::wstring path_;
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// What a drawing call puts into a w by h 32-bit bitmap, as 0xRRGGBB pixels.
Pixels Render(int width, int height, const std::function<void(HDC)>& draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    Pixels pixels(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + width * height);
    for (auto& p : pixels) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

struct Search {
    const wchar_t* windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfClass(HWND child, LPARAM state) {
    auto* search = reinterpret_cast<Search*>(state);
    wchar_t name[64];
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, search->windowClass) == 0) search->found.push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND root, const wchar_t* windowClass) {
    Search search{windowClass, {}};
    EnumChildWindows(root, CollectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

using test::QuitRequestDropped;

class MainWindowLook : public testing::Test {
protected:
    QuitRequestDropped dropped_;  // first made, last gone: after the window
    CommonControls6 controls6_;
    win32::Win32Platform platform_;
    win32::MainWindow window_{GetModuleHandleW(nullptr), platform_, SW_SHOWNORMAL};
};

// Every shown label, whatever its text: its ink lies inside the window, with
// the outermost columns free, so no glyph is cut at either end.
void ExpectLabelsShowAllTheirInk(HWND main, const std::string& when) {
    int checked = 0;
    for (HWND label : Descendants(main, L"QuillonLabel")) {
        const std::wstring text = TextOf(label);
        if (!(GetWindowLongW(label, GWL_STYLE) & WS_VISIBLE) || text.empty()) continue;
        RECT client;
        GetClientRect(label, &client);
        const int w = client.right, h = client.bottom;
        const Pixels drawn = Render(w, h, [&](HDC dc) { SendMessageW(label, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT); });
        const Pixels under = Render(w, h, [&](HDC dc) { win32::PaintContainerBackground(label, dc); });
        int first = -1, last = -1;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                if (drawn[y * w + x] != under[y * w + x]) {
                    if (first < 0) first = x;
                    last = x;
                }
        const std::string name = win32::Narrow(text) + " (" + when + ")";
        EXPECT_GE(first, 1) << name;
        EXPECT_LE(last, w - 2) << name << ", " << w << " pixels wide";
        // Its last line too: a label as tall as its lines, broken in its own
        // width, and within its panel; else the end of its text is lost.
        RECT lines{0, 0, w, 0};
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(label, GWLP_USERDATA)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &lines, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        EXPECT_LE(lines.bottom, h) << name;
        RECT inParent = client, panel;
        MapWindowPoints(label, GetParent(label), reinterpret_cast<POINT*>(&inParent), 2);
        GetClientRect(GetParent(label), &panel);
        EXPECT_LE(inParent.bottom, panel.bottom) << name;
        ++checked;
    }
    EXPECT_GT(checked, 20) << when;
}

TEST_F(MainWindowLook, NoLabelClipsItsTextOnAnyPageOrStatus) {
    ASSERT_TRUE(controls6_.active());
    // The first box has the focus at start; its label's dotted frame is no glyph.
    SetFocus(window_.buttonWindow(Button::Exit));
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Startup, Page::Speed}) {
        ShowPage(window_.context(), page);
        ExpectLabelsShowAllTheirInk(window_.handle(), "page " + window_.label(Label::Caption));
    }
    // The longest each status can be: counts, cut captions, startup entries.
    const std::string statuses[] = {
        "Optimizing...", "Optimize complete!", StoppedText(), CurrentStateText(kCheckBoxCount),
        CompletionText(1234, "\"Forbid Windows Media Playe...\""), "Quillon closes when this run has ended...",
        "Another Quillon run is still going on; nothing was changed.",
        "NNNNNNNNNNNN...NNNNNNNNNNNNN: the machine's 64-bit Run key starts \"C:\\Progr ... -a.",
        "Mmmmmmmmmmmm...mmmmmmmmmmmmm.lnk: a file in All Users' Startup folder, C:\\Doc...tup."};
    for (const std::string& status : statuses) {
        window_.setLabel(Label::Wait, status);
        ExpectLabelsShowAllTheirInk(window_.handle(), status);
    }
    ShowPage(window_.context(), Page::Services);
    for (int i = 0; i < static_cast<int>(kServices.size()); ++i) {
        ShowServiceInfo(window_, i);
        ExpectLabelsShowAllTheirInk(window_.handle(), "service " + std::to_string(i));
    }
}

// Flat: drawn in system colours only (a themed box has shades of its own),
// on the window colour, unticked, ticked and greyed alike.
TEST_F(MainWindowLook, TweakBoxesAreFlatOnTheWindowColour) {
    ASSERT_TRUE(controls6_.active());
    std::set<std::uint32_t> system;
    for (int i = 0; i <= COLOR_MENUBAR; ++i) {
        const COLORREF c = GetSysColor(i);
        system.insert(std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const std::uint32_t background = std::uint32_t(GetRValue(window)) << 16 | GetGValue(window) << 8 | GetBValue(window);
    int boxes = 0;
    for (int value : {kUnticked, kTicked, kGreyed}) {
        for (int i = 0; i < kCheckBoxCount; ++i) window_.setChk(i, value);
        for (HWND box : Descendants(window_.handle(), L"Button")) {
            const int id = GetDlgCtrlID(box);
            if (id < win32::kChkId || id >= win32::kChkId + kCheckBoxCount) continue;
            if (!(GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE)) continue;
            RECT client;
            GetClientRect(box, &client);
            const int w = client.right, h = client.bottom;
            const Pixels pixels =
                Render(w, h, [&](HDC dc) { SendMessageW(box, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT | PRF_ERASEBKGND); });
            int foreign = 0;
            for (std::uint32_t p : pixels) foreign += system.count(p) ? 0 : 1;
            EXPECT_EQ(foreign, 0) << "chk " << id - win32::kChkId << " value " << value;
            EXPECT_EQ(pixels[(h - 1) * w + w - 1], background) << "chk " << id - win32::kChkId;
            ++boxes;
        }
    }
    EXPECT_EQ(boxes, 3 * (kCheckBoxCount - 2));
}

// On screen, as left by the button itself after a change of state and after
// a click: the same pixels as a flat box of the check lists (DrawFrameControl,
// DFCS_FLAT) on the window colour. Wine's button alone draws a sunken box.
TEST_F(MainWindowLook, TweakBoxesOnScreenMatchTheListsFlatBox) {
    ASSERT_TRUE(controls6_.active());
    HWND box = nullptr;
    for (HWND button : Descendants(window_.handle(), L"Button"))
        if (GetDlgCtrlID(button) == win32::kChkId + 54) box = button;
    ASSERT_NE(box, nullptr);
    RECT client;
    GetClientRect(box, &client);
    const int w = client.right, h = client.bottom;
    const auto expected = [&](UINT state) {
        return Render(w, h, [&](HDC dc) {
            FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
            RECT square{0, (h - 13) / 2, 13, (h - 13) / 2 + 13};
            DrawFrameControl(dc, &square, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | state);
        });
    };
    const auto onScreen = [&] {
        UpdateWindow(box);
        return Render(w, h, [&](HDC dc) {
            HDC screen = GetDC(box);
            BitBlt(dc, 0, 0, w, h, screen, 0, 0, SRCCOPY);
            ReleaseDC(box, screen);
        });
    };
    SetForegroundWindow(window_.handle());
    window_.setChk(54, kTicked);
    EXPECT_EQ(onScreen(), expected(DFCS_CHECKED));
    window_.setChk(54, kGreyed);
    EXPECT_EQ(onScreen(), expected(DFCS_CHECKED | DFCS_BUTTON3STATE));
    window_.setChk(54, kUnticked);
    EXPECT_EQ(onScreen(), expected(0));
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(window_.chk(54), kTicked);
    EXPECT_EQ(onScreen(), expected(DFCS_CHECKED));
}

// The open list of a combo shows each entry whole, however narrow the closed
// box; the closed Combo2, with room in its panel, shows each whole too.
TEST_F(MainWindowLook, ComboListsAreAsWideAsTheirLongestEntry) {
    const std::vector<HWND> combos = Descendants(window_.handle(), L"ComboBox");
    ASSERT_EQ(combos.size(), 2u);
    for (HWND combo : combos) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        RECT list;
        GetClientRect(info.hwndList, &list);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0));
        for (int i = 0; i < static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
            std::vector<wchar_t> text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1);
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            EXPECT_LE(win32::MeasureText(font, text.data()).cx + 4, list.right) << win32::Narrow(text.data());
            // However the closed box draws a chosen entry, the combo's text is all of it.
            SendMessageW(combo, CB_SETCURSEL, i, 0);
            EXPECT_EQ(TextOf(combo), text.data());
            if (GetDlgCtrlID(combo) == win32::kComboId + static_cast<int>(Combo::Prefetch)) {
                EXPECT_LE(win32::MeasureText(font, text.data()).cx + 2, info.rcItem.right - info.rcItem.left)
                    << win32::Narrow(text.data()) << " in the closed box";
            }
        }
    }
}

// What a user reads or clicks on a page: the shown labels and controls, each
// in screen pixels, named for a failure message.
struct Placed {
    HWND window;
    RECT rect;
    std::string name;
};

std::vector<Placed> ShownControls(HWND main) {
    std::vector<Placed> out;
    for (const wchar_t* kind : {L"QuillonLabel", L"Button", L"ComboBox", L"Edit", L"ListBox", L"QuillonIsButton"})
        for (HWND control : Descendants(main, kind)) {
            if (!IsWindowVisible(control)) continue;
            RECT rect;
            GetWindowRect(control, &rect);
            if (rect.right <= rect.left || rect.bottom <= rect.top) continue;
            const std::wstring text = TextOf(control);
            if (lstrcmpW(kind, L"QuillonLabel") == 0 && text.empty()) continue;
            out.push_back({control, rect, win32::Narrow(kind) + " \"" + win32::Narrow(text) + "\" id " +
                                              std::to_string(GetDlgCtrlID(control))});
        }
    return out;
}

// At any DPI: nothing a page shows lies over another thing it shows, and
// everything lies inside its page. Combo3 alone covers a label's end, as it
// always has: it completes chk 56's caption.
TEST_F(MainWindowLook, NoTwoLabelsOrControlsOverlapOnAnyPage) {
    HWND combo3 = nullptr;
    for (HWND combo : Descendants(window_.handle(), L"ComboBox"))
        if (GetDlgCtrlID(combo) == win32::kComboId + static_cast<int>(Combo::Priority)) combo3 = combo;
    RECT main;
    GetWindowRect(window_.handle(), &main);
    for (Page page : {Page::System, Page::Security, Page::Services, Page::Startup, Page::Speed}) {
        ShowPage(window_.context(), page);
        const std::vector<Placed> shown = ShownControls(window_.handle());
        EXPECT_GT(shown.size(), 12u);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const RECT& a = shown[i].rect;
            EXPECT_TRUE(a.left >= main.left && a.top >= main.top && a.right <= main.right && a.bottom <= main.bottom)
                << shown[i].name << " leaves the window";
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                RECT both;
                if (!IntersectRect(&both, &a, &shown[j].rect)) continue;
                if (shown[i].window == combo3 || shown[j].window == combo3) {
                    const std::string& other = shown[i].window == combo3 ? shown[j].name : shown[i].name;
                    if (other.find(words::kBoxes[56].caption) != std::string::npos) continue;
                }
                ADD_FAILURE() << shown[i].name << " overlaps " << shown[j].name << " on page "
                              << window_.label(Label::Caption);
            }
        }
    }
}

// Any box or option with the focus, focus shown: its label grows to frame
// the text with a dotted rectangle, a pixel or more clear of the ink on every
// side, and over no other control of the page.
TEST_F(MainWindowLook, FocusFramesOfLabelsClearTheirTextAndTheControlsBeside) {
    SendMessageW(window_.handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    int framed = 0;
    for (Page page : {Page::System, Page::Security, Page::Speed}) {
        ShowPage(window_.context(), page);
        const std::vector<Placed> shown = ShownControls(window_.handle());
        for (const Placed& control : shown) {
            HWND label = win32::FocusLabelOf(control.window);
            if (!label) continue;
            SetFocus(control.window);
            RECT frame;
            GetWindowRect(label, &frame);
            const std::string name = "\"" + win32::Narrow(TextOf(label)) + "\" on " + window_.label(Label::Caption);
            for (const Placed& other : shown) {
                RECT both;
                if (other.window != label && IntersectRect(&both, &frame, &other.rect))
                    ADD_FAILURE() << name << ": its focus frame overlaps " << other.name;
            }
            const int w = frame.right - frame.left, h = frame.bottom - frame.top;
            const Pixels drawn =
                Render(w, h, [&](HDC dc) { SendMessageW(label, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT); });
            const Pixels under = Render(w, h, [&](HDC dc) { win32::PaintContainerBackground(label, dc); });
            RECT ink{w, h, -1, -1};
            int dots = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    if (drawn[y * w + x] == under[y * w + x]) continue;
                    if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                        ++dots;
                        continue;
                    }
                    ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x),
                           std::max<LONG>(ink.bottom, y)};
                }
            EXPECT_GT(dots, 0) << name << " shows no focus frame";
            EXPECT_TRUE(ink.left >= 2 && ink.top >= 2 && ink.right <= w - 3 && ink.bottom <= h - 3)
                << name << ": ink " << ink.left << "," << ink.top << " to " << ink.right << "," << ink.bottom
                << " in a frame of " << w << " by " << h;
            ++framed;
        }
    }
    EXPECT_EQ(framed, kCheckBoxCount - 2 + kOptionCount);
}

// Each push button's caption fits between its icon and its right edge, in
// the font it is drawn with (centred, as the button draws it): the leading
// blanks clear the icon.
TEST_F(MainWindowLook, ButtonCaptionsAreWholeBesideTheirIcons) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int b = 0; b < kButtonCount; ++b) {
        const layout::ButtonPlace& place = layout::ButtonOf(static_cast<Button>(b));
        HWND button = window_.buttonWindow(static_cast<Button>(b));
        RECT client;
        GetClientRect(button, &client);
        const controls::win32::UniqueFont font = controls::win32::CreateControlFont(win32::FontChoiceOf(place.font));
        const std::wstring caption = win32::Widen(place.caption);
        const std::wstring blanks = caption.substr(0, caption.find_first_not_of(L' '));
        const int width = win32::MeasureText(font.get(), caption).cx;
        const int text = controls::isButton::textRect(client.right, client.bottom).left +
                         (client.right - 8 - width) / 2;
        controls::isButton look;
        look.setStyle(5);
        look.setIconSize(32);
        look.setDpi(dpi);
        // The artwork leaves its outermost columns clear; the text may end in the look's inner border.
        constexpr int kClearColumns = 2;
        EXPECT_GE(text + win32::MeasureText(font.get(), blanks).cx, look.iconMargin() + 32 - kClearColumns)
            << place.name;
        EXPECT_LE(text + width, client.right) << place.name << " is " << client.right << " pixels wide";
    }
}

}  // namespace
}  // namespace quillon
