// The wizard's page sequencing over page orders, the install's end, finish mode and Cancel,
// recorded through a view double.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "project/InstallProject.h"
#include "wizard/WizardFlow.h"

namespace vesk {
namespace {

// Records what the flow asks of the window, one line per call.
class RecordingView : public WizardView {
public:
    std::vector<std::string> log;
    bool commitSucceeds = true;
    bool exitAnswer = false;
    int heldKind = -1;  // the page that may not be left by Next (-1: none)
    bool enabledButtons[3] = {true, true, true};  // back, next, cancel

    bool CanLeave(int kind) override {
        if (kind != heldKind) return true;
        log.push_back("held " + std::to_string(kind));
        return false;
    }
    bool CommitDestination() override {
        log.push_back("commit");
        return commitSucceeds;
    }
    void LeavePage(int kind) override { log.push_back("leave " + std::to_string(kind)); }
    void EnterPage(int kind) override { log.push_back("enter " + std::to_string(kind)); }
    void SetHeader(const PageHeader& header) override { log.push_back("header " + header.subject); }
    void SetHeaderVisible(bool visible) override {
        if (!visible) log.push_back("no header");
    }
    void EnableButton(WizardButton button, bool enabled) override {
        // Only changes tell something: Next and Back are set before every page.
        bool& state = enabledButtons[int(button)];
        if (state == enabled) return;
        state = enabled;
        const char* names[] = {"back", "next", "cancel"};
        log.push_back(std::string(enabled ? "enable " : "disable ") + names[int(button)]);
    }
    void SetNextCaption(const std::string& text) override { log.push_back("next reads " + text); }
    void EnterFinishPage(const Task& task) override { log.push_back("finish page " + task.Id()); }
    void RunFinishAction() override { log.push_back("finish action"); }
    void ShowCompletionMessage(const std::string& text, const std::string& caption) override {
        log.push_back("message " + caption + ": " + text);
    }
    bool AskToExit(const std::string&, const std::string&) override {
        log.push_back("exit question");
        return exitAnswer;
    }
    void StartCloseTimer() override { log.push_back("close"); }

    std::vector<std::string> Take() { return std::exchange(log, {}); }
};

// A project of task 2401 and the given page tasks in this order, each shown (IsExec 1).
InstallProject ProjectWithPages(const std::vector<int>& slots) {
    InstallProject project;
    project.Add(Task::ForSlot(kSlotProjectProperties, false));
    for (int slot : slots) project.Add(Task::ForSlot(slot, true));
    project.Add(Task::ForSlot(kSlotExtractFiles, false));
    return project;
}

LanguageTable Texts() {
    TextLineList lines;
    for (const char* line :
         {"[Language=409]", "ProjectName=Demo 1.0", "InstallComplete= is installed.",
          "MessageDesc=Message", "CompleteButtonDesc=Finish", "ReadSoftDocSubject=Licence",
          "ShowReadmeSubject=Readme", "RegisterInfoSubject=User", "ProgramFolderSubject=Folder",
          "ChangePathSubject=Destination", "InstallProcessSubject=Installing",
          "ShowFinishSubject=Done"}) {
        lines.Add(line);
    }
    LanguageTable texts(0x409);
    texts.LoadLines(lines);
    return texts;
}

struct Fixture {
    explicit Fixture(const std::vector<int>& slots) : project(ProjectWithPages(slots)) {}
    InstallProject project;
    SharedFlags flags;
    LanguageTable texts = Texts();
    RecordingView view;
    WizardFlow flow{project, flags, texts, view};
};

using Log = std::vector<std::string>;

TEST(WizardFlowTest, WalksThePagesInFileOrderAndBackAgain) {
    Fixture f({kSlotWelcome, kSlotUserInformation, kSlotReadme, kSlotProgramFolder});
    f.flow.Start();
    // Back leads nowhere from the first page: it is disabled there.
    EXPECT_EQ(f.view.Take(), (Log{"disable back", "no header", "enter 1"}));
    f.flow.OnBack();  // its command changes nothing
    EXPECT_EQ(f.view.Take(), Log{});
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), (Log{"enable back", "leave 1", "header User", "enter 4"}));
    f.flow.OnNext();  // the readme follows the user information page as the file says
    EXPECT_EQ(f.view.Take(), (Log{"leave 4", "header Readme", "enter 3"}));
    f.flow.OnNext();
    f.flow.OnNext();  // the last page: Next does nothing before the install
    EXPECT_EQ(f.view.Take(), (Log{"leave 3", "header Folder", "enter 5"}));
    f.flow.OnBack();
    f.flow.OnBack();
    f.flow.OnBack();
    EXPECT_EQ(f.view.Take(), (Log{"leave 5", "header Readme", "enter 3", "leave 3", "header User",
                                  "enter 4", "disable back", "leave 4", "no header", "enter 1"}));
    EXPECT_EQ(f.flow.CurrentKind(), kWelcomePage);
}

TEST(WizardFlowTest, WelcomeAndProgressOnlyEndWithTheCompletionMessage) {
    Fixture f({kSlotWelcome, kSlotProgress});
    f.flow.Start();
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), (Log{"disable back", "no header", "enter 1", "leave 1",
                                  "header Installing", "disable next", "enter 7"}));
    // Cancel during the install is only a request to the worker.
    f.flow.OnCancel();
    EXPECT_TRUE(f.flags.cancelRequested);
    EXPECT_EQ(f.view.Take(), Log{});
    // The worker completed: timer 2.
    f.flags.setupFinished = true;
    f.flow.OnInstallCompleted();
    EXPECT_EQ(f.view.Take(), (Log{"message Message: Demo 1.0 is installed.", "close"}));
}

TEST(WizardFlowTest, AfterTheInstallTheFirstFinishTaskIsShownInFinishMode) {
    Fixture f({kSlotWelcome, kSlotProgress, kSlotFinish1, kSlotFinish2});
    f.flow.Start();
    f.flow.OnNext();
    f.view.Take();
    f.flags.setupFinished = true;
    f.flow.OnInstallCompleted();
    // Next is ready before the page is entered, so the page can give it the focus.
    EXPECT_EQ(f.view.Take(), (Log{"header Done", "enable next", "next reads Finish",
                                  "finish page 2009", "disable cancel"}));
    EXPECT_TRUE(f.flow.FinishMode());
    EXPECT_EQ(f.flow.CurrentKind(), kRunProgramsFinishPage);
    f.flow.OnBack();  // Back stays disabled; its command changes nothing
    EXPECT_EQ(f.view.Take(), Log{});
    f.flow.OnNext();  // Finish: the restart variant acts, the second finish task is never shown
    EXPECT_EQ(f.view.Take(), (Log{"finish action", "close"}));
    // A second press (a double-click, or Enter while the wizard closes) acts no more.
    f.flow.OnNext();
    f.flow.OnInstallCompleted();
    EXPECT_EQ(f.view.Take(), Log{});
}

TEST(WizardFlowTest, AFinishTaskReachedBeforeTheInstallShowsNoPage) {
    Fixture f({kSlotWelcome, kSlotFinish2, kSlotReadme});
    f.flow.Start();
    f.view.Take();
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), (Log{"enable back", "leave 1"}));
    EXPECT_EQ(f.flow.CurrentKind(), kRunProgramsFinishPage);
    f.flow.OnNext();  // nothing to leave: the next page just appears
    EXPECT_EQ(f.view.Take(), (Log{"header Readme", "enter 3"}));
}

TEST(WizardFlowTest, TheLicencePageHoldsNextUntilAccepted) {
    Fixture f({kSlotLicence, kSlotReadme});
    f.flow.Start();
    EXPECT_EQ(f.view.Take(), (Log{"disable back", "header Licence", "disable next", "enter 2"}));
    f.flags.licenceAccepted = true;  // the page's Accept, which enables Next itself
    f.view.enabledButtons[int(WizardButton::Next)] = true;
    f.flow.OnNext();
    f.flow.OnBack();  // accepted once: Next stays enabled on the way back
    EXPECT_EQ(f.view.Take(), (Log{"enable back", "leave 2", "header Readme", "enter 3",
                                  "disable back", "leave 3", "header Licence", "enter 2"}));
}

TEST(WizardFlowTest, AFailedDestinationCommitKeepsTheDestinationPage) {
    Fixture f({kSlotDestination, kSlotProgress});
    f.flow.Start();
    f.view.Take();
    f.view.commitSucceeds = false;
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), Log{"commit"});
    EXPECT_EQ(f.flow.CurrentKind(), kDestinationPage);
    f.view.commitSucceeds = true;  // the cursor was put back: the next try reaches the install
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(),
              (Log{"commit", "leave 6", "header Installing", "disable next", "enter 7"}));
}

TEST(WizardFlowTest, TheDestinationIsCommittedWhenLeftForwardWhateverFollows) {
    // The pages between the destination page and the progress page, in file order.
    const std::vector<std::vector<int>> between = {
        {},
        {kSlotUserInformation},
        {kSlotProgramFolder},
        {kSlotReadme, kSlotUserInformation},
        {kSlotLicence, kSlotProgramFolder, kSlotUserInformation},
        {kSlotWelcome},
    };
    for (const std::vector<int>& pages : between) {
        std::vector<int> slots = {kSlotDestination};
        slots.insert(slots.end(), pages.begin(), pages.end());
        slots.push_back(kSlotProgress);
        Fixture f(slots);
        SCOPED_TRACE(pages.size());
        f.flow.Start();
        f.view.Take();
        f.flow.OnNext();  // leaving the destination page forward commits, before it is left
        const Log left = f.view.Take();
        ASSERT_FALSE(left.empty());
        EXPECT_EQ(left.front(), "commit");
        EXPECT_EQ(std::count(left.begin(), left.end(), "leave 6"), 1);
        // The pages between commit nothing, forward or back; only the destination page does.
        for (std::size_t i = 0; i < pages.size(); ++i) f.flow.OnNext();
        EXPECT_EQ(f.flow.CurrentKind(), kProgressPage);
        Log rest = f.view.Take();
        EXPECT_EQ(std::count(rest.begin(), rest.end(), "commit"), 0);
    }
    // Back to the destination page and forward again commits the folder chosen then.
    Fixture f({kSlotDestination, kSlotUserInformation, kSlotProgress});
    f.flow.Start();
    f.flow.OnNext();
    f.flow.OnBack();
    f.view.Take();
    f.view.commitSucceeds = false;  // refused: the page stays, the cursor with it
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), Log{"commit"});
    f.view.commitSucceeds = true;
    f.flow.OnNext();
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(),
              (Log{"commit", "enable back", "leave 6", "header User", "enter 4", "disable back",
                   "leave 4", "header Installing", "disable next", "enter 7"}));
}

TEST(WizardFlowTest, APageThatMayNotBeLeftStaysUntilItsTextIsUsable) {
    Fixture f({kSlotProgramFolder, kSlotDestination, kSlotProgress});
    f.flow.Start();
    f.view.Take();
    f.view.heldKind = kProgramFolderPage;  // a name Windows cannot hold
    f.flow.OnNext();
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), (Log{"held 5", "held 5"}));
    EXPECT_EQ(f.flow.CurrentKind(), kProgramFolderPage);
    f.view.heldKind = -1;  // the cursor never moved: Next now reaches the next page
    f.flow.OnNext();
    EXPECT_EQ(f.view.Take(), (Log{"enable back", "leave 5", "header Destination", "enter 6"}));
    f.view.heldKind = kDestinationPage;  // held before the commit is tried
    f.flow.OnNext();
    f.flow.OnBack();  // Back is never held, and commits nothing
    EXPECT_EQ(f.view.Take(),
              (Log{"held 6", "disable back", "leave 6", "header Folder", "enter 5"}));
}

TEST(WizardFlowTest, CancelAsksBeforeTheInstallAndClosesOnlyOnYes) {
    struct Case {
        bool answer;
        Log expected;
    };
    const Case cases[] = {
        {false, {"exit question"}},
        {true, {"exit question", "close"}},
    };
    for (const Case& c : cases) {
        Fixture f({kSlotWelcome, kSlotReadme});
        f.flow.Start();
        f.view.Take();
        f.view.exitAnswer = c.answer;
        f.flow.OnCancel();
        EXPECT_EQ(f.view.Take(), c.expected) << c.answer;
        EXPECT_FALSE(f.flags.cancelRequested);
    }
}

TEST(WizardFlowTest, ClosingTheFinishPageAsksNothing) {
    Fixture f({kSlotProgress, kSlotFinish2});
    f.flow.Start();
    f.flags.setupFinished = true;
    f.flow.OnInstallCompleted();
    f.view.Take();
    f.flow.OnCancel();  // the close box: the install is complete, nothing to warn about
    EXPECT_EQ(f.view.Take(), Log{"close"});
}

TEST(WizardFlowTest, AProjectWithoutPagesShowsNothingAndNextDoesNothing) {
    Fixture f({});
    f.flow.Start();
    f.flow.OnNext();
    f.flow.OnBack();
    EXPECT_EQ(f.view.Take(), Log{"disable back"});
    EXPECT_EQ(f.flow.CurrentKind(), kNoPage);
}

TEST(PageKindTest, HeadersComeFromTheLanguageTableWhateverTheTaskSays) {
    const LanguageTable texts = Texts();
    struct Case {
        int kind;
        const char* subject;
    };
    const Case cases[] = {{kWelcomePage, ""},
                          {kLicencePage, "Licence"},
                          {kReadmePage, "Readme"},
                          {kUserInformationPage, "User"},
                          {kProgramFolderPage, "Folder"},
                          {kDestinationPage, "Destination"},
                          {kProgressPage, "Installing"},
                          {kRestartFinishPage, "Done"},
                          {kRunProgramsFinishPage, "Done"},
                          {kNoPage, ""}};
    for (const Case& c : cases) EXPECT_EQ(PageHeaderOf(c.kind, texts).subject, c.subject) << c.kind;
    // The finish page's description is the product followed directly by ShowFinishDesc.
    TextLineList lines;
    lines.Add("[Language=409]");
    lines.Add("ProjectName=Demo 1.0");
    lines.Add("ShowFinishDesc= is now installed.");
    LanguageTable finish(0x409);
    finish.LoadLines(lines);
    EXPECT_EQ(PageHeaderOf(kRestartFinishPage, finish).description, "Demo 1.0 is now installed.");
}

}  // namespace
}  // namespace vesk
