// How the install worker reaches the user: status, progress, questions and its end. The wizard
// implements it on the user-interface thread; tests implement it with a script.
#pragma once

#include <string>

namespace vesk {

enum class QuestionIcon { Question, Stop };

enum class InstallOutcome {
    Completed,   // the wizard moves on to the finish page or the completion message
    EndedEarly,  // the wizard closes and the clean-up rolls the install back
};

// Called from the worker thread. Every call returns only when the user interface has taken it
// in, so a status text is on screen before the work it announces begins.
class InstallReport {
public:
    virtual ~InstallReport() = default;

    // The status line of the progress page.
    virtual void SetStatus(const std::string& text) = 0;
    // The line under the status: the file being written (empty once the phase moves on). The
    // one call that returns at once: the page shows the newest item now and then, so a file
    // costs the worker no trip to the user-interface thread.
    virtual void SetItem(const std::string& text) { (void)text; }
    // The progress bar, 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // A question with Yes and No, No the default, owned by the wizard; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption,
                          QuestionIcon icon) = 0;
    // A message with an OK button (a program that could not be started); returns when the user
    // has read it.
    virtual void Tell(const std::string& text, const std::string& caption) = 0;
    // The install is over; the wizard acts on it 100 ms later on its own thread.
    virtual void Finish(InstallOutcome outcome) = 0;
};

}  // namespace vesk
