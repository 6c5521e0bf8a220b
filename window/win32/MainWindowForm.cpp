// frmMain as the form: each call reads or changes the control itself.
#include <vector>

#include "platform/win32/Text.h"
#include "window/win32/MainWindow.h"
#include "window/win32/CheckList.h"
#include "window/win32/Shape.h"

namespace quillon::win32 {
namespace {

template <class E>
constexpr std::size_t Slot(E e) {
    return static_cast<std::size_t>(e);
}

std::string TextOf(HWND control) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1);
    GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return Narrow(text.data());
}

bool StyleVisible(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

int MainWindow::chk(int index) const { return static_cast<int>(SendMessageW(chk_.at(index), BM_GETCHECK, 0, 0)); }

void MainWindow::setChk(int index, int value) { SendMessageW(chk_.at(index), BM_SETCHECK, value, 0); }

bool MainWindow::opt(int index) const { return SendMessageW(opt_.at(index), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void MainWindow::selectOpt(int index) {
    for (int i = 0; i < kOptionCount; ++i)
        SendMessageW(opt_[i], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

int MainWindow::comboIndex(Combo which) const {
    return static_cast<int>(SendMessageW(combo(which), CB_GETCURSEL, 0, 0));
}

void MainWindow::setComboIndex(Combo which, int index) { SendMessageW(combo(which), CB_SETCURSEL, index, 0); }

int MainWindow::comboCount(Combo which) const {
    return static_cast<int>(SendMessageW(combo(which), CB_GETCOUNT, 0, 0));
}

std::string MainWindow::txtPath() const { return TextOf(txtPath_); }

void MainWindow::setTxtPath(const std::string& text) { SetWindowTextW(txtPath_, Widen(text).c_str()); }

int MainWindow::listCount(CheckList which) const {
    return static_cast<int>(SendMessageW(list(which), LB_GETCOUNT, 0, 0));
}

std::string MainWindow::listText(CheckList which, int index) const {
    const auto length = SendMessageW(list(which), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    SendMessageW(list(which), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.data());
}

bool MainWindow::listSelected(CheckList which, int index) const {
    return SendMessageW(list(which), LB_GETSEL, index, 0) > 0;
}

void MainWindow::setListSelected(CheckList which, int index, bool selected) {
    // Ticking from code (Recommend, a loaded selection) must not scroll the list away from where the user left it.
    HWND box = list(which);
    const LRESULT top = SendMessageW(box, LB_GETTOPINDEX, 0, 0);
    SendMessageW(box, LB_SETSEL, selected, index);
    SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

// The entry's item data marks it greyed; the list's drawing reads it.
bool MainWindow::listGreyed(CheckList which, int index) const {
    const LRESULT data = SendMessageW(list(which), LB_GETITEMDATA, index, 0);
    return data != LB_ERR && data == kGreyedEntry;
}

void MainWindow::setListGreyed(CheckList which, int index, bool greyed) {
    if (listGreyed(which, index) == greyed) return;
    SendMessageW(list(which), LB_SETITEMDATA, index, greyed ? kGreyedEntry : 0);
    RECT row{};
    if (SendMessageW(list(which), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row)) != LB_ERR)
        InvalidateRect(list(which), &row, FALSE);
}

void MainWindow::clearList(CheckList which) { SendMessageW(list(which), LB_RESETCONTENT, 0, 0); }

// A list box redraws its scroll bar at once for each entry added, which makes
// a long listing slow; its drawing waits until the window next serves its
// events, then shows every entry added meanwhile in one go.
void MainWindow::addListItem(CheckList which, const std::string& text) {
    HWND box = list(which);
    bool& held = listDrawingHeld_[Slot(which)];
    if (!held && IsWindowVisible(box) && PostMessageW(window_, kResumeListDrawing, Slot(which), 0)) {
        SendMessageW(box, WM_SETREDRAW, FALSE, 0);
        held = true;
    }
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void MainWindow::resumeListDrawing(std::size_t which) {
    if (which >= listDrawingHeld_.size() || !listDrawingHeld_[which]) return;
    listDrawingHeld_[which] = false;
    SendMessageW(lists_[which], WM_SETREDRAW, TRUE, 0);
    InvalidateRect(lists_[which], nullptr, TRUE);
}

bool MainWindow::pageVisible(Page page) const { return StyleVisible(pagePanel(page)); }

void MainWindow::setPageVisible(Page page, bool visible) {
    panels_[Slot(layout::PanelOf(page).panel)]->setVisible(visible);
}

bool MainWindow::progressVisible() const { return StyleVisible(shape_); }

void MainWindow::setProgressVisible(bool visible) { ShowWindow(shape_, visible ? SW_SHOW : SW_HIDE); }

int MainWindow::progressWidth() const { return ShapeWidthTwips(shape_); }

void MainWindow::setProgressWidth(int twips) { SetShapeWidthTwips(shape_, twips); }

std::string MainWindow::label(Label which) const { return TextOf(labels_[Slot(which)]); }

void MainWindow::setLabel(Label which, const std::string& text) {
    // Once the window was closed during a run, the status line keeps saying it
    // will close: the run's later pages would otherwise write over that.
    if (which == Label::Wait && closeAfterRun_ && window_) return;
    SetWindowTextW(labels_[Slot(which)], Widen(text).c_str());
    fitLabel(which);
}

std::string MainWindow::mainCaption() const { return panels_[Slot(layout::Panel::Main)]->panel().Caption(); }

void MainWindow::setMainCaption(const std::string& text) { panels_[Slot(layout::Panel::Main)]->setCaption(text); }

bool MainWindow::buttonEnabled(Button button) const { return buttons_[Slot(button)]->enabled(); }

void MainWindow::setButtonEnabled(Button button, bool enabled) { buttons_[Slot(button)]->setEnabled(enabled); }

}  // namespace quillon::win32
