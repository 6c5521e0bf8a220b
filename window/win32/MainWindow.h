#pragma once
// frmMain: the one window. It is the form the run works on, and it keeps no
// copy of its controls' state: every read asks the control itself.
#include <windows.h>

#include <array>
#include <memory>

#include "engine/Form.h"
#include "engine/RunContext.h"
#include "platform/win32/Win32Platform.h"
#include "controls/win32/ButtonWindow.h"
#include "controls/win32/PanelWindow.h"
#include "window/Layout.h"
#include "window/win32/Fonts.h"
#include "window/win32/Gdi.h"

namespace quillon::win32 {

// Control identifiers; 1 and 2 stay free for the dialog keys Enter and Esc.
constexpr int kChkId = 1000;
constexpr int kOptId = 1100;
constexpr int kListId = 1300;
constexpr int kComboId = 1400;
constexpr int kTxtPathId = 1500;
constexpr int kComboDropHeight = 120;  // pixels of the open drop-down list at 96 DPI
constexpr UINT kResumeListDrawing = WM_APP + 1;  // wParam: the CheckList whose drawing waited

class MainWindow final : public Form {
public:
    // Creates the window and its controls and runs the load handler. Unless
    // `show` is SW_HIDE, the window is shown and painted on the System page
    // before the four hidden pages are made, so it appears sooner.
    MainWindow(HINSTANCE instance, Win32Platform& platform, int show = SW_HIDE);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return window_; }
    RunContext& context() { return context_; }
    HWND buttonWindow(Button button) const;
    HWND labelWindow(Label label) const { return labels_[static_cast<std::size_t>(label)]; }
    // The keyboard cues and access keys, seen in the message loop before the
    // dialog keys: Alt held underlines each button's letter, Alt+letter
    // presses that button. True when the message was used.
    bool onKeyMessage(const MSG& message) noexcept;

    int chk(int index) const override;
    void setChk(int index, int value) override;
    bool opt(int index) const override;
    void selectOpt(int index) override;
    int comboIndex(Combo combo) const override;
    void setComboIndex(Combo combo, int index) override;
    int comboCount(Combo combo) const override;
    std::string txtPath() const override;
    void setTxtPath(const std::string& text) override;
    int listCount(CheckList list) const override;
    std::string listText(CheckList list, int index) const override;
    bool listSelected(CheckList list, int index) const override;
    void setListSelected(CheckList list, int index, bool selected) override;
    void clearList(CheckList list) override;
    void addListItem(CheckList list, const std::string& text) override;
    bool listGreyed(CheckList list, int index) const override;
    void setListGreyed(CheckList list, int index, bool greyed) override;
    bool pageVisible(Page page) const override;
    void setPageVisible(Page page, bool visible) override;
    bool progressVisible() const override;
    void setProgressVisible(bool visible) override;
    int progressWidth() const override;
    void setProgressWidth(int twips) override;
    std::string label(Label which) const override;
    void setLabel(Label which, const std::string& text) override;
    std::string mainCaption() const override;
    void setMainCaption(const std::string& text) override;
    bool buttonEnabled(Button button) const override;
    void setButtonEnabled(Button button, bool enabled) override;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void onCommand(int id, int code);
    void onButton(Button button) noexcept;
    void onBrowse() noexcept;
    // MainWindowSystemMenu.cpp: the three entries above the usual ones.
    bool onSystemCommand(UINT command) noexcept;
    void onSystemMenuOpening();
    bool running() const;  // a run or a restore holds the buttons
    void closeIfAsked();
    void refreshStartupList();   // the window was closed during the run that has just ended
    void previewChanges();
    void showCurrentState();
    void undoLastRun();
    LRESULT onColour(HDC dc, HWND control);

    // MainWindowControls.cpp: the layout made into windows.
    void createControls();
    void createHiddenPages();
    void createPanel(const layout::PanelPlace& place, HWND parent, bool visible);
    void populate(layout::Panel container);
    void createCheckBoxes(layout::Panel container);
    void createOptions();
    void createLists(layout::Panel container);
    void createLabels(layout::Panel container);
    void orderAmongBoxes(layout::Panel container);
    std::unique_ptr<controls::win32::ButtonWindow> createButton(HWND parent, const layout::ButtonPlace& place);
    HWND panel(layout::Panel which) const { return panels_[static_cast<std::size_t>(which)]->hwnd(); }
    HWND list(CheckList which) const { return lists_[static_cast<std::size_t>(which)]; }
    HWND combo(Combo which) const { return combos_[static_cast<std::size_t>(which)]; }
    HWND pagePanel(Page page) const;
    void fitLabel(Label which);
    HWND focusOnReturn() const;
    HWND firstOnPage() const;
    void takeFocusBack(HWND before);
    void resumeListDrawing(std::size_t which);
    void showAccessKeys(bool shown);

    HINSTANCE instance_;
    bool closeAfterRun_ = false;
    Win32Platform& platform_;
    RunContext context_;
    Fonts fonts_;
    UniqueBrush optionBrush_;
    controls::win32::UniqueIcon bigIcon_, smallIcon_;
    HWND window_ = nullptr;
    std::array<std::unique_ptr<controls::win32::PanelWindow>, layout::kPanelCount> panels_;
    std::array<HWND, kCheckBoxCount> chk_{};
    std::array<HWND, kOptionCount> opt_{};
    std::array<HWND, 2> combos_{};
    std::array<HWND, 4> lists_{};
    std::array<bool, 4> listDrawingHeld_{};
    std::array<HWND, 3> labels_{};
    std::array<const layout::LabelPlace*, 3> labelPlaces_{};
    std::array<std::unique_ptr<controls::win32::ButtonWindow>, kButtonCount> buttons_;
    std::unique_ptr<controls::win32::ButtonWindow> browse_;
    HWND txtPath_ = nullptr;
    HWND shape_ = nullptr;
    HWND lastFocus_ = nullptr;
};

}  // namespace quillon::win32
