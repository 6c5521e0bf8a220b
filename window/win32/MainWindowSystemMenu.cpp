// What the three system-menu entries do in frmMain.
#include "window/RunEvents.h"
#include "window/RunLockWait.h"
#include "restore/Restore.h"
#include "platform/win32/Text.h"
#include "window/SystemMenuActions.h"
#include "window/UndoDialogText.h"
#include "window/win32/MainWindow.h"
#include "window/win32/PreviewWindow.h"
#include "window/win32/SystemMenu.h"

namespace quillon::win32 {
namespace {

constexpr wchar_t kUndoTitle[] = L"Undo last run";

int Ask(HWND owner, const std::string& text, const wchar_t* title, UINT style) {
    return MessageBoxW(owner, Widen(text).c_str(), title, style);
}

}  // namespace

bool MainWindow::running() const { return !buttonEnabled(Button::Optimize); }

void MainWindow::onSystemMenuOpening() {
    SystemMenuState state;
    state.running = running();
    if (!state.running) {
        state.stateCovered = CurrentStateCovers(*this);
        try {
            state.undoRecord = !NewestUndoRecord(platform_).folder.empty();
        } catch (...) {
            state.undoRecord = false;  // an unreadable undo folder offers nothing to undo
        }
    }
    EnableSystemMenuEntries(window_, state);
}

bool MainWindow::onSystemCommand(UINT command) noexcept try {
    if (command != kPreviewCommand && command != kShowStateCommand && command != kUndoCommand) return false;
    // A run serves window events while it waits for its tools; it is not to be mixed with these.
    if (running()) return true;
    switch (command) {
    case kPreviewCommand:
        previewChanges();
        return true;
    case kShowStateCommand:
        showCurrentState();
        refreshStartupList();
        return true;
    case kUndoCommand:
        undoLastRun();
        closeIfAsked();
        refreshStartupList();
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
        Ask(window_, "There is no undo record yet: each Optimize keeps one.", kUndoTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!offer.refused.empty()) {
        Ask(window_, UndoRefusal(offer), kUndoTitle, MB_OK | MB_ICONERROR);
        return;
    }
    if (Ask(window_, UndoQuestion(offer), kUndoTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    // The restore waits for its tools with events served: no button may start a run meanwhile.
    for (int b = 0; b < kButtonCount; ++b) setButtonEnabled(static_cast<Button>(b), false);
    RestoreReport report;
    std::string failure;
    try {
        // Never beside another run: the restore's writes and its would interleave.
        if (const auto lock = HoldRunLockForWindow(context_)) report = RestoreOffer(platform_, offer);
        else {
            failure = "another Quillon run did not end in time.";
            ReportWindowUndo(platform_, offer.folder, nullptr, failure);
        }
    } catch (const std::exception& error) {
        failure = error.what();
    }
    for (int b = 0; b < kButtonCount; ++b) setButtonEnabled(static_cast<Button>(b), true);
    if (!failure.empty()) {
        Ask(window_, "Nothing was put back. " + ReasonInWords(failure), kUndoTitle, MB_OK | MB_ICONERROR);
        return;
    }
    // The page on view shows what the machine now has, as "Show current state" would.
    if (!ShowCurrentState(context_)) setLabel(Label::Wait, "");  // the last run's words no longer hold
    const UndoOutcome outcome = OutcomeOf(report);
    Ask(window_, UndoReport(outcome), kUndoTitle,
        MB_OK | (outcome.failed > 0 ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace quillon::win32
