// What a `veskbuild try` run found, for people: the report page (one HTML file that needs no
// network: its styles inside, its pictures beside it in the pictures folder) and the short
// summary the command prints.
#pragma once

#include <string>
#include <vector>

#include "builder/trial/TrialResult.h"

namespace vesk::trial {

// The report page.
std::string ReportHtml(const TrialResult& result, const Findings& findings);

// A few lines: the pages met, the exit codes, where the product was installed, what it
// installed, whether the uninstaller removed it, and the findings (at most `shownFindings`, then
// their number), ending with where the report is.
std::string SummaryText(const TrialResult& result, const Findings& findings,
                        const std::string& reportPath, std::size_t shownFindings);

// The product's name as its uninstall entry gives it; else the setup's file name.
std::string ProductName(const TrialResult& result);
// Where the product was installed: the uninstall entry's InstallLocation, else the destination
// page's folder; "" when neither is known.
std::string InstallFolder(const TrialResult& result);

}  // namespace vesk::trial
