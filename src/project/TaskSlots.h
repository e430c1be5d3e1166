// The fixed task slots of the install project: slot number, task ID, task type and label.
#pragma once

#include <string>

#include "project/TaskType.h"

namespace vesk {

// Slot numbers. A page kind is the slot number of a page task (Welcome 1 ... Finish2 9).
// Note the order of slots 14 to 17: 2409, 2406, 2410, 2407.
enum TaskSlot : int {
    kSlotProjectProperties = 0,       // "2401"
    kSlotWelcome = 1,                 // "2002"
    kSlotLicence = 2,                 // "2003"
    kSlotReadme = 3,                  // "2004"
    kSlotUserInformation = 4,         // "2005"
    kSlotProgramFolder = 5,           // "2006"
    kSlotDestination = 6,             // "2007"
    kSlotProgress = 7,                // "2008"
    kSlotFinish1 = 8,                 // "2009"
    kSlotFinish2 = 9,                 // "2010"
    kSlotFolderBinding = 10,          // "2402"
    kSlotAddOnComponents = 11,        // "2403"
    kSlotShortcuts = 12,              // "2404"
    kSlotComponentRegistration = 13,  // "2405"
    kSlotClearFiles = 14,             // "2409"
    kSlotRegistry = 15,               // "2406"
    kSlotUninstallOptions = 16,       // "2410"
    kSlotFonts = 17,                  // "2407"
    kSlotCompressionExclusions = 18,  // "2408"
    kSlotIconList = 19,               // "2411"
    kSlotExtractFiles = 20,           // "2412"
    kNoSlot = 21,
};

constexpr int kTaskSlotCount = 21;

// The ID text of a slot; empty for a slot outside 0 ... 20.
std::string TaskIdForSlot(int slot);

// The display label of a slot (UTF-8); empty for a slot outside 0 ... 20.
std::string TaskLabelForSlot(int slot);

// The task type a slot's task has in a builder-written project; InvalidType outside 0 ... 20.
TaskType TaskTypeForSlot(int slot);

// The slot whose ID or label matches text (ASCII case ignored, nothing trimmed): IDs of slots 1
// to 9 first, then slot 0, then slots 10 to 20, then the labels in the same order. kNoSlot when
// nothing matches.
int TaskSlotFromIdOrLabel(const std::string& text);

// True for the wizard-page slots 1 ... 9.
inline bool IsPageSlot(int slot) {
    return slot >= kSlotWelcome && slot <= kSlotFinish2;
}

}  // namespace vesk
