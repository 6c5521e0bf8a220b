// What the three system-menu entries do in frmMain.
#include "journal/Restore.h"
#include "platform/win32/Text.h"
#include "window/SystemMenuActions.h"
#include "window/win32/MainWindow.h"
#include "window/win32/PreviewWindow.h"
#include "window/win32/SystemMenu.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kUndoTitle[] = L"Undo last run";
constexpr std::size_t kLinesShown = 12;  // a message box taller than the screen hides its buttons

int Ask(HWND owner, const std::string& text, const wchar_t* title, UINT style) {
    return MessageBoxW(owner, Widen(text).c_str(), title, style);
}

}  // namespace

bool MainWindow::onSystemCommand(UINT command) noexcept try {
    if (command != kPreviewCommand && command != kShowStateCommand && command != kUndoCommand) return false;
    // A run serves window events while it waits for its tools; it is not to be mixed with these.
    if (!buttonEnabled(Button::Optimize)) return true;
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
} catch (const std::exception& error) {
    Ask(window_, error.what(), L"Quillon", MB_OK | MB_ICONERROR);
    return true;
} catch (...) {
    return true;  // nothing escapes the window procedure
}

void MainWindow::previewChanges() { ShowPreviewWindow(window_, PreviewPageOnView(context_)); }

void MainWindow::showCurrentState() {
    if (!ShowCurrentState(context_))
        Ask(window_, "The state of the machine is shown on the System, Security and Services pages.", L"Quillon",
            MB_OK | MB_ICONINFORMATION);
}

void MainWindow::undoLastRun() {
    const UndoOffer offer = NewestUndoRecord(platform_);
    if (offer.folder.empty()) {
        Ask(window_, "There is no undo record yet: each Optimize keeps one in the undo folder beside the program.",
            kUndoTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::string text = "The newest undo record is\n" + offer.folder + "\n\nIt puts back:\n";
    for (std::size_t i = 0; i < offer.restores.size() && i < kLinesShown; ++i) text += offer.restores[i] + "\n";
    if (offer.restores.size() > kLinesShown)
        text += "... and " + std::to_string(offer.restores.size() - kLinesShown) + " more\n";
    if (Ask(window_, text + "\nRestore it now?", kUndoTitle, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;

    // The restore waits for its tools with events served: no button may start a run meanwhile.
    for (int b = 0; b < kButtonCount; ++b) setButtonEnabled(static_cast<Button>(b), false);
    RestoreReport report;
    std::string failure;
    try {
        report = RestoreRecord(platform_, offer.folder);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    for (int b = 0; b < kButtonCount; ++b) setButtonEnabled(static_cast<Button>(b), true);
    if (!failure.empty()) {
        Ask(window_, "Nothing was restored: " + failure, kUndoTitle, MB_OK | MB_ICONERROR);
        return;
    }
    std::string done = "Restored from " + offer.folder + ".";
    if (report.failed > 0) done += "\n" + std::to_string(report.failed) + " steps failed.";
    done += report.undoFolder.empty() ? "\nThe restore could keep no undo record of its own."
                                      : "\nThe restore itself can be undone from " + report.undoFolder + ".";
    Ask(window_, done, kUndoTitle, MB_OK | (report.failed > 0 ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace quillon::win32
