// Page sequencing of the wizard.
#include "wizard/WizardFlow.h"

namespace vesk {

void WizardFlow::Start() {
    currentKind_ = kNoPage;
    finishMode_ = false;
    finishActed_ = false;
    flags_.licenceAccepted = false;
    ShowPage(project_.CurrentPageTask());
}

void WizardFlow::ShowPage(const Task* task) {
    const int kind = PageKindOf(task);
    view_.SetHeaderVisible(true);
    view_.EnableButton(WizardButton::Next, true);
    // Back leads nowhere from the first page and cannot undo the install: disabled there, so it
    // never holds the focus.
    const bool backLeadsSomewhere = project_.CurrentPage() != project_.FirstPage();
    view_.EnableButton(WizardButton::Back, backLeadsSomewhere && kind != kProgressPage);
    if (currentKind_ >= kWelcomePage && currentKind_ <= kProgressPage)
        view_.LeavePage(currentKind_);

    currentKind_ = kind;
    switch (kind) {
        case kWelcomePage:
            view_.SetHeaderVisible(false);
            view_.EnterPage(kind);
            break;
        case kLicencePage:
            view_.SetHeader(PageHeaderOf(kind, texts_));
            if (!flags_.licenceAccepted) view_.EnableButton(WizardButton::Next, false);
            view_.EnterPage(kind);
            break;
        case kReadmePage:
        case kUserInformationPage:
        case kProgramFolderPage:
        case kDestinationPage:
            view_.SetHeader(PageHeaderOf(kind, texts_));
            view_.EnterPage(kind);
            break;
        case kProgressPage:
            view_.SetHeader(PageHeaderOf(kind, texts_));
            view_.EnableButton(WizardButton::Next, false);
            view_.EnterPage(kind);
            break;
        default:
            // A finish task is entered only after the install; before it no page is shown.
            break;
    }
}

void WizardFlow::OnNext() {
    if (finishMode_) {
        // Finish acts once: a second press (a double-click) finds the wizard closing already.
        if (finishActed_) return;
        finishActed_ = true;
        view_.RunFinishAction();
        view_.StartCloseTimer();
        return;
    }
    if (!view_.CanLeave(currentKind_)) return;
    const Task* next = project_.NextPage();
    if (next == nullptr) {
        if (currentKind_ != kProgressPage) return;
        view_.ShowCompletionMessage(
            texts_.GetText(TextKey::ProjectName) + texts_.GetText(TextKey::InstallComplete),
            texts_.GetText(TextKey::MessageDesc));
        view_.StartCloseTimer();
        return;
    }
    // The folder the user chose is committed whenever the destination page is left forward,
    // whichever page follows, so the install uses it however the pages are ordered.
    if (currentKind_ == kDestinationPage && !view_.CommitDestination()) {
        project_.PreviousPage();  // undo the advance: the destination page stays
        return;
    }
    if (!flags_.setupFinished) {
        ShowPage(next);
        return;
    }
    finishMode_ = true;
    view_.SetHeader(PageHeaderOf(kRunProgramsFinishPage, texts_));
    // Next is ready before the page is entered, so the page can hand it the focus.
    view_.EnableButton(WizardButton::Next, true);
    view_.SetNextCaption(texts_.GetText(TextKey::CompleteButtonDesc));
    view_.EnterFinishPage(*next);
    currentKind_ = kRunProgramsFinishPage;
    view_.EnableButton(WizardButton::Cancel, false);
}

void WizardFlow::OnBack() {
    if (finishMode_) return;
    const Task* previous = project_.PreviousPage();
    if (previous != nullptr) ShowPage(previous);
}

void WizardFlow::OnCancel() {
    if (currentKind_ == kProgressPage && !finishMode_) {
        flags_.cancelRequested = true;
        return;
    }
    if (finishMode_) {
        // The install is complete: closing the window needs no question and undoes nothing.
        view_.StartCloseTimer();
        return;
    }
    if (view_.AskToExit(texts_.GetText(TextKey::ExitInstallMessage),
                        texts_.GetText(TextKey::ExitInstallTitle))) {
        view_.StartCloseTimer();
    }
}

}  // namespace vesk
