// The wizard's page kinds: which page shows a page task, from which dialog template, under which
// header texts.
#pragma once

#include <string>

#include "project/LanguageTable.h"
#include "project/Task.h"
#include "project/TaskSlots.h"

namespace vesk {

// A page kind is the slot number of a page task: 2002 is 1 ... 2010 is 9; kNoPage before the
// first page is shown and for tasks that are no page task.
enum PageKind : int {
    kWelcomePage = kSlotWelcome,
    kLicencePage = kSlotLicence,
    kReadmePage = kSlotReadme,
    kUserInformationPage = kSlotUserInformation,
    kProgramFolderPage = kSlotProgramFolder,
    kDestinationPage = kSlotDestination,
    kProgressPage = kSlotProgress,
    kRestartFinishPage = kSlotFinish1,
    kRunProgramsFinishPage = kSlotFinish2,
    kNoPage = kNoSlot,
};

// The kind of a task (its slot by exact ID); kNoPage for none and for tasks of other slots.
int PageKindOf(const Task* task);

// The dialog template a kind's page is made from; 0 for kNoPage.
int PageTemplateOf(int kind);

struct PageHeader {
    std::string subject;
    std::string description;
};

// The header band's texts above a page of `kind`, always from the language table (the page
// task's own ShowTopFrame subtask changes nothing). Both empty for the welcome page, which
// covers the band, and for kNoPage.
PageHeader PageHeaderOf(int kind, const LanguageTable& texts);

}  // namespace vesk
