// A window with panels and buttons, painted for real and read back from the
// screen, against the same canvas drawing the Linux tests check.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "controls/win32/ArtworkIcon.h"
#include "controls/win32/ButtonWindow.h"
#include "controls/win32/PanelWindow.h"
#include "controls/win32/VisualStyles.h"
#include "controls/win32/Win32SystemColors.h"

namespace quillon::controls::win32 {
namespace {

constexpr int kWidth = 320, kHeight = 240;

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class ControlsWindow : public testing::Test {
protected:
    // One top-level window for the suite: making one under X takes seconds.
    static void SetUpTestSuite() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"QuillonControlsTest";
        RegisterClassW(&windowClass);
        top_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"QuillonControlsTest", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                               kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static void TearDownTestSuite() {
        if (top_) DestroyWindow(top_);
        top_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(top_, nullptr);
        root_ = PanelWindow::create(top_, {0, 0, 300, 220}, {0, 4, "  Quillon(System)", true});
        page_ = PanelWindow::create(root_->hwnd(), {10, 40, 290, 210}, {1, 10, "XPContainer", true});
        ButtonOptions options;
        options.caption = "           Optimize";
        options.artwork = Artwork::Optimize;
        options.onClick = [this] { ++clicks_; };
        optimize_ = ButtonWindow::create(page_->hwnd(), {10, 10, 131, 51}, options);
        options.caption = "           Exit";
        options.artwork = Artwork::Exit;
        options.enabled = false;
        exit_ = ButtonWindow::create(page_->hwnd(), {140, 10, 261, 51}, options);
    }
    void TearDown() override {
        exit_.reset();
        optimize_.reset();
        page_.reset();
        root_.reset();
    }

    // What the screen shows of the test window, as 0x00RRGGBB pixels.
    std::vector<Pixel> Capture() {
        RedrawWindow(top_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        std::vector<Pixel> pixels(static_cast<std::size_t>(kWidth * kHeight));
        HDC screen = GetDC(top_);
        MemoryDC memory(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        {
            const Selection selected(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
        }
        GdiFlush();
        const Pixel* source = static_cast<const Pixel*>(bits);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0xFFFFFF;
        ReleaseDC(top_, screen);
        return pixels;
    }
    static Pixel At(const std::vector<Pixel>& pixels, int x, int y) {
        return pixels[static_cast<std::size_t>(y * kWidth + x)];
    }
    // Offset of a window's client area within the test window.
    POINT Origin(HWND window) const {
        POINT origin{0, 0};
        MapWindowPoints(window, top_, &origin, 1);
        return origin;
    }
    void ExpectMatches(const std::vector<Pixel>& screen, HWND window, const Canvas& canvas,
                       std::initializer_list<std::pair<int, int>> points) {
        const POINT origin = Origin(window);
        for (const auto& [x, y] : points)
            EXPECT_EQ(At(screen, origin.x + x, origin.y + y), canvas.pixel(x, y)) << "at " << x << "," << y;
    }

    const Win32SystemColors system_;
    static inline HWND top_ = nullptr;
    std::unique_ptr<PanelWindow> root_, page_;
    std::unique_ptr<ButtonWindow> optimize_, exit_;
    int clicks_ = 0;
};

TEST_F(ControlsWindow, PanelsOnScreenMatchTheCanvas) {
    const auto screen = Capture();
    EXPECT_EQ(At(screen, 100, 1), MakePixel(200, 227, 241));
    EXPECT_EQ(At(screen, 100, 23), MakePixel(146, 201, 228));
    const Canvas root = root_->panel().draw(system_);
    ExpectMatches(screen, root_->hwnd(), root,
                  {{0, 0}, {299, 219}, {200, 1}, {200, 12}, {200, 30}, {298, 100}, {297, 100}, {5, 218}, {12, 11}});
    const Canvas page = page_->panel().draw(system_);
    ExpectMatches(screen, page_->hwnd(), page, {{0, 0}, {279, 169}, {5, 100}, {200, 150}, {278, 1}});
}

TEST_F(ControlsWindow, HeaderCaptionIsDrawnAfterTheStar) {
    const auto screen = Capture();
    const Canvas root = root_->panel().draw(system_);
    int ink = 0;
    for (int y = 2; y < 23; ++y)
        for (int x = 17; x < 140; ++x) ink += At(screen, x, y) != root.pixel(x, y) ? 1 : 0;
    EXPECT_GT(ink, 50);
}

TEST_F(ControlsWindow, ButtonsOnScreenMatchTheCanvasInEveryState) {
    const Canvas normal = optimize_->button().draw(121, 41, system_);
    const Canvas disabled = exit_->button().draw(121, 41, system_);
    const std::initializer_list<std::pair<int, int>> places = {
        {5, 0}, {0, 5}, {1, 1}, {1, 2}, {2, 1}, {60, 1}, {60, 3}, {110, 20}, {118, 20}, {119, 20}, {60, 39}, {119, 38},
        {20, 20}, {10, 10}};
    auto screen = Capture();
    ExpectMatches(screen, optimize_->hwnd(), normal, places);
    ExpectMatches(screen, exit_->hwnd(), disabled, places);
    EXPECT_EQ(At(screen, Origin(exit_->hwnd()).x + 60, Origin(exit_->hwnd()).y + 20), MakePixel(245, 244, 234));

    SendMessageW(optimize_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    ASSERT_EQ(optimize_->button().state(), ButtonState::Pressed);
    const Canvas pressed = optimize_->button().draw(121, 41, system_);
    screen = Capture();
    ExpectMatches(screen, optimize_->hwnd(), pressed, places);
    EXPECT_EQ(At(screen, Origin(optimize_->hwnd()).x + 60, Origin(optimize_->hwnd()).y + 1), MakePixel(209, 204, 193));
    SendMessageW(optimize_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
    EXPECT_EQ(clicks_, 1);
}

TEST_F(ControlsWindow, ButtonRegionCutsTheCorners) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(optimize_->hwnd(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 120, 40));
    EXPECT_TRUE(PtInRegion(region, 1, 1));
    EXPECT_TRUE(PtInRegion(region, 60, 20));
    DeleteObject(region);
}

TEST_F(ControlsWindow, ChildrenHideAndMoveWithTheirPanel) {
    page_->setVisible(false);
    auto screen = Capture();
    const Canvas root = root_->panel().draw(system_);
    ExpectMatches(screen, root_->hwnd(), root, {{20 + 60, 50 + 20}, {150 + 60, 50 + 20}});
    EXPECT_FALSE(IsWindowVisible(optimize_->hwnd()));
    page_->setVisible(true);
    page_->move({20, 50, 290, 210});
    EXPECT_EQ(Origin(optimize_->hwnd()).x, 30);
    EXPECT_EQ(Origin(optimize_->hwnd()).y, 60);
}

TEST_F(ControlsWindow, MouseSpaceAndDisabledClicks) {
    SendMessageW(optimize_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    SendMessageW(optimize_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(300, 20));  // let go outside
    EXPECT_EQ(clicks_, 0);
    SendMessageW(optimize_->hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(optimize_->hwnd(), WM_CHAR, L' ', 0);
    SendMessageW(optimize_->hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(clicks_, 1);
    SendMessageW(exit_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    SendMessageW(exit_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
    EXPECT_EQ(clicks_, 1);
    EXPECT_FALSE(IsWindowEnabled(exit_->hwnd()));
    exit_->setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(exit_->hwnd()));
}

TEST_F(ControlsWindow, HandlerMayDestroyItsOwnButton) {
    ButtonOptions options;
    options.caption = "x";
    std::unique_ptr<ButtonWindow> doomed;
    options.onClick = [&doomed] { doomed.reset(); };
    doomed = ButtonWindow::create(page_->hwnd(), {10, 60, 131, 101}, std::move(options));
    const HWND window = doomed->hwnd();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
    EXPECT_EQ(doomed, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControlsWindow, SmallButtonIsEnlargedTo300Twips) {
    ButtonOptions options;
    auto small = ButtonWindow::create(page_->hwnd(), {10, 60, 23, 73}, std::move(options));
    RECT client{};
    GetClientRect(small->hwnd(), &client);
    HDC dc = GetDC(nullptr);
    const int expected = (300 * GetDeviceCaps(dc, LOGPIXELSX) + 1439) / 1440;
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(client.right, expected);
    EXPECT_EQ(client.bottom, expected);
}

// The control drawn the classic way from now on: no theme class is named " ".
void SwitchOffVisualStyle(HWND control) {
    using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    if (HMODULE library = GetModuleHandleW(L"uxtheme.dll"))
        if (auto set = reinterpret_cast<SetWindowThemeFunction>(
                reinterpret_cast<void (*)()>(GetProcAddress(library, "SetWindowTheme"))))
            set(control, L" ", L" ");
}

TEST_F(ControlsWindow, Style6FallsBackWithoutVisualStyles) {
    ButtonOptions options;
    options.style = 6;
    auto themed = ButtonWindow::create(page_->hwnd(), {10, 60, 131, 101}, std::move(options));
    VisualStyles styles;
    EXPECT_EQ(themed->button().Style(), styles.open(themed->hwnd()) ? 6 : 5);
    // Forced, whether or not this machine has a theme: the button loses its
    // visual style and is asked for Style 6 again.
    SwitchOffVisualStyle(themed->hwnd());
    ASSERT_FALSE(styles.open(themed->hwnd()));
    themed->button().setStyle(6);
    EXPECT_EQ(themed->button().Style(), 5);
}

TEST_F(ControlsWindow, ExternalIconIsDrawnAtTheIconPlace) {
    const UniqueIcon gears = MakeArtworkIcon(Artwork::Gears, 32);
    ASSERT_NE(gears.get(), nullptr);
    ButtonOptions options;
    options.icon = gears.get();
    auto button = ButtonWindow::create(page_->hwnd(), {10, 60, 131, 101}, std::move(options));
    const auto screen = Capture();
    const POINT origin = Origin(button->hwnd());
    const Image image = MakeArtwork(Artwork::Gears);
    // The small gear's body, well inside its outline.
    EXPECT_EQ(At(screen, origin.x + 5 + 23, origin.y + 4 + 18), image.pixels[image.index(23, 18)]);
}

// Where caption and icon meet, the icon is on top: it is drawn after the text.
TEST_F(ControlsWindow, IconIsDrawnOverTheCaption) {
    ButtonOptions options;
    options.caption = "WWWWWWWWWWWWWWWWWWWWWWWW";
    options.artwork = Artwork::Optimize;
    auto button = ButtonWindow::create(page_->hwnd(), {10, 60, 131, 101}, std::move(options));
    const auto screen = Capture();
    const POINT origin = Origin(button->hwnd());
    const PixelPoint at = button->button().iconPosition(121, 41);
    const Image image = MakeArtwork(Artwork::Optimize);
    ASSERT_EQ(image.width, 32);
    int covered = 0, opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!image.opaque[image.index(x, y)]) continue;
            ++opaque;
            if (At(screen, origin.x + at.x + x, origin.y + at.y + y) != image.pixels[image.index(x, y)]) ++covered;
        }
    EXPECT_GT(opaque, 100);
    EXPECT_EQ(covered, 0);
}

}  // namespace
}  // namespace quillon::controls::win32
