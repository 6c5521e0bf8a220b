#include "window/CommandButtons.h"

#include <array>
#include <span>

#include "window/OptimiseRun.h"
#include "window/RunLockWait.h"
#include "platform/Platform.h"
#include "window/PageSwitching.h"

namespace quillon {
namespace {

constexpr std::array kSecurityBoxes{20, 21, 22, 23, 17, 24, 29, 32, 36, 40};
constexpr std::array kSystemBoxes{43, 44, 47, 48, 49, 71, 73, 74, 57, 58, 65, 66,
                                  67, 59, 60, 51, 53, 61, 62, 63, 64, 68, 69, 76};
constexpr int kSpeedBox = 41;

constexpr std::array kAutoPages{Page::System, Page::Security, Page::Startup, Page::Services};

void Tick(Form& form, std::span<const int> boxes) {
    for (int box : boxes) form.setChk(box, kTicked);
}

}  // namespace

void Recommend(Form& form) {
    if (form.pageVisible(Page::Security)) {
        form.setTxtPath("C:\\Downloads");
        Tick(form, kSecurityBoxes);
    } else if (form.pageVisible(Page::System)) {
        form.setComboIndex(Combo::Priority, 0);
        Tick(form, kSystemBoxes);
        form.setComboIndex(Combo::Prefetch, 0);
    } else if (form.pageVisible(Page::Speed)) {
        form.setChk(kSpeedBox, kTicked);
    } else if (form.pageVisible(Page::Services)) {
        for (int i = 0; i < kServiceCount; ++i) form.setListSelected(CheckList::Service, i, true);
    }
}

void AutoOptimise(RunContext& context) {
    if (context.platform.messageBox("Are you sure to auto optimize?", "Confirm",
                                    MessageBoxKind::OkCancelCancelFirst) !=
        MessageBoxAnswer::Ok)
        return;
    // Locked from here to the end, so no click between the passes can change
    // which pages are applied.
    LockButtons(context.form);
    // Held across the passes, so no other run comes between them.
    const auto runLock = HoldRunLockForWindow(context);
    if (!runLock) {
        UnlockButtons(context.form);
        return;
    }
    int failed = 0;
    std::string first;
    for (Page page : kAutoPages) {
        ShowPage(context, page);
        context.platform.pumpEvents();
        Recommend(context.form);
        std::string firstOfPage;
        failed += RunOptimise(context, ButtonLock::HeldByCaller, &firstOfPage);
        if (first.empty()) first = firstOfPage;
        if (page != kAutoPages.back()) context.platform.pumpEvents();
    }
    UnlockButtons(context.form);
    context.form.setLabel(Label::Wait, CompletionText(failed, first));
}

void Reset(Form& form) {
    for (int i = 0; i < kCheckBoxCount; ++i) form.setChk(i, kUnticked);
    form.setComboIndex(Combo::Prefetch, 0);
    form.setComboIndex(Combo::Priority, 0);
    for (int i = 0; i < kDriveCount; ++i) {
        form.setListSelected(CheckList::Not, i, false);
        form.setListSelected(CheckList::Hide, i, false);
    }
    for (int i = 0; i < kServiceCount; ++i) form.setListSelected(CheckList::Service, i, false);
    for (int i = 0; i < form.listCount(CheckList::Startup); ++i) form.setListSelected(CheckList::Startup, i, false);
}

void Browse(RunContext& context) {
    try {
        if (auto folder = context.platform.browseForFolder("Choose the source file path:", context.form.txtPath()))
            context.form.setTxtPath(*folder);
    } catch (const PlatformError&) {
        // A browser that cannot open leaves the directory as it was.
    }
}

void Exit(RunContext& context) {
    if (context.platform.messageBox("You need to log off to take effect. Log off now?", "Confirm",
                                    MessageBoxKind::OkCancelExclamation) != MessageBoxAnswer::Ok)
        return;
    try {
        context.platform.logOff();
    } catch (const PlatformError&) {
        // The program ends whether or not the log-off was accepted.
    }
    context.platform.pumpEvents();
}

}  // namespace quillon
