// The install's report when nobody watches (Setup.exe /S): no window, every question answered by
// rule, and what the user would have been told written to the run's log.
#pragma once

#include <string>

#include "install/InstallReport.h"
#include "session/RunLog.h"

namespace vesk {

class UnattendedReport : public InstallReport {
public:
    explicit UnattendedReport(RunLog& log) : log_(log) {}

    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    // Every question the install asks offers to stop it (the Cancel question, the write-error
    // question). With nobody to answer, the answer is Yes: the install ends and is rolled back
    // rather than go on without a file. Logged as an error.
    bool AskYesNo(const std::string& text, const std::string& caption, QuestionIcon icon) override;
    // Logged as an error.
    void Tell(const std::string& text, const std::string& caption) override;
    void Finish(InstallOutcome outcome) override { outcome_ = outcome; }

    // The outcome the worker ended with; EndedEarly until it has ended.
    InstallOutcome Outcome() const { return outcome_; }

private:
    RunLog& log_;
    InstallOutcome outcome_ = InstallOutcome::EndedEarly;
};

}  // namespace vesk
