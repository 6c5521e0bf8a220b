// What the three system-menu entries do in frmMain.
#include "window/win32/MainWindow.h"
#include "window/win32/PreviewWindow.h"
#include "window/win32/SystemMenu.h"

namespace quillon::win32 {

bool MainWindow::onSystemCommand(UINT command) noexcept try {
    switch (command) {
    case kPreviewCommand:
        previewChanges();
        return true;
    case kShowStateCommand:
        showCurrentState();
        return true;
    case kUndoCommand:
        undoLastRun();
        return true;
    default:
        return false;
    }
} catch (...) {
    return true;  // nothing escapes the window procedure
}

void MainWindow::previewChanges() {
    PreviewTable table{"Preview changes", {"Page", "Box", "What", "Before", "After"}, {}, "0 changes"};
    ShowPreviewWindow(window_, table);
}

void MainWindow::showCurrentState() {}

void MainWindow::undoLastRun() {}

}  // namespace quillon::win32
