// The task-slot table: IDs, types and GB2312 labels of the fixed tasks.
#include "project/TaskSlots.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

struct SlotInfo {
    const char* id;
    TaskType type;
    const char* label;  // GB2312 bytes
};

// Hex escapes followed by a digit are split into two literals ("\xF2" "1").
const SlotInfo kSlots[kTaskSlotCount] = {
    // "[project properties]"
    {"2401", TaskType::DataSetting, "[\xCF\xEE\xC4\xBF\xCA\xF4\xD0\xD4]"},
    // "welcome dialog"
    {"2002", TaskType::ShowDialogBox, "\xBB\xB6\xD3\xAD\xB0\xB2\xD7\xB0\xB6\xD4\xBB\xB0\xBF\xF2"},
    // "software licence agreement"
    {"2003", TaskType::ShowDialogBox, "\xC8\xED\xBC\xFE\xD0\xED\xBF\xC9\xD0\xAD\xD2\xE9\xCA\xE9"},
    // "read the software readme"
    {"2004", TaskType::ShowDialogBox, "\xD4\xC4\xB6\xC1\xC8\xED\xBC\xFE\xD7\xD4\xCA\xF6"},
    // "registration information dialog"
    {"2005", TaskType::ShowDialogBox, "\xD7\xA2\xB2\xE1\xD0\xC5\xCF\xA2\xB6\xD4\xBB\xB0\xBF\xF2"},
    // "select program folder dialog settings"
    {"2006", TaskType::ShowDialogBox,
     "\xD1\xA1\xD4\xF1\xB3\xCC\xD0\xF2\xCE\xC4\xBC\xFE\xBC\xD0\xB6\xD4\xBB\xB0\xBF\xF2\xC9\xE8"
     "\xD6\xC3"},
    // "select install path"
    {"2007", TaskType::ShowDialogBox, "\xD1\xA1\xD4\xF1\xB0\xB2\xD7\xB0\xC2\xB7\xBE\xB6"},
    // "install progress dialog settings"
    {"2008", TaskType::ShowDialogBox,
     "\xB0\xB2\xD7\xB0\xBD\xF8\xB6\xC8\xB6\xD4\xBB\xB0\xBF\xF2\xC9\xE8\xD6\xC3"},
    // "install complete dialog 1 settings"
    {"2009", TaskType::ShowDialogBox,
     "\xCD\xEA\xB3\xC9\xB0\xB2\xD7\xB0\xB6\xD4\xBB\xB0\xBF\xF2"
     "1\xC9\xE8\xD6\xC3"},
    // "install complete dialog 2 settings"
    {"2010", TaskType::ShowDialogBox,
     "\xCD\xEA\xB3\xC9\xB0\xB2\xD7\xB0\xB6\xD4\xBB\xB0\xBF\xF2"
     "2\xC9\xE8\xD6\xC3"},
    // "[folder binding]"
    {"2402", TaskType::DataSetting, "[\xCE\xC4\xBC\xFE\xBC\xD0\xB0\xF3\xB6\xA8]"},
    // "[select application add-on components]"
    {"2403", TaskType::DataSetting,
     "[\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xB8\xBD\xBC\xD3\xD7\xE9\xBC\xFE\xD1\xA1\xC8\xA1]"},
    // "[create application shortcuts]"
    {"2404", TaskType::DataSetting,
     "[\xB4\xB4\xBD\xA8\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xBF\xEC\xBD\xDD\xB7\xBD\xCA\xBD]"},
    // "[application component registration]"
    {"2405", TaskType::DataSetting,
     "[\xD3\xA6\xD3\xC3\xB3\xCC\xD0\xF2\xD7\xE9\xBC\xFE\xD7\xA2\xB2\xE1]"},
    // "[clear install-time junk files]"
    {"2409", TaskType::DataSetting,
     "[\xC7\xE5\xB3\xFD\xB0\xB2\xD7\xB0\xB9\xFD\xB3\xCC\xC0\xAC\xBB\xF8\xCE\xC4\xBC\xFE]"},
    // "[registry operations]"
    {"2406", TaskType::DataSetting, "[\xD7\xA2\xB2\xE1\xB1\xED\xB2\xD9\xD7\xF7]"},
    // "[software uninstall options]"
    {"2410", TaskType::DataSetting, "[\xC8\xED\xBC\xFE\xD0\xB6\xD4\xD8\xD1\xA1\xCF\xEE]"},
    // "[font installation]"
    {"2407", TaskType::DataSetting, "[\xD7\xD6\xCC\xE5\xB0\xB2\xD7\xB0]"},
    // "[data compression exclusions]"
    {"2408", TaskType::DataSetting, "[\xCA\xFD\xBE\xDD\xD1\xB9\xCB\xF5\xBA\xF6\xC2\xD4\xCF\xEE]"},
    // "[icon list settings]"
    {"2411", TaskType::DataSetting, "[\xCD\xBC\xB1\xEA\xC1\xD0\xB1\xED\xC9\xE8\xD6\xC3]"},
    // "extract files"
    {"2412", TaskType::ExtractFiles, "\xBD\xE2\xBF\xAA\xCE\xC4\xBC\xFE"},
};

// Search order of TaskSlotFromIdOrLabel: the pages first, then the project properties, then the
// data tasks.
const int kSearchOrder[kTaskSlotCount] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 10,
                                          11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

bool InRange(int slot) {
    return slot >= 0 && slot < kTaskSlotCount;
}

// IDs followed by labels, both in search order.
const NameTable& SlotNameTable() {
    static const NameTable table = [] {
        const char* names[2 * kTaskSlotCount];
        for (int i = 0; i < kTaskSlotCount; ++i) {
            names[i] = kSlots[kSearchOrder[i]].id;
            names[kTaskSlotCount + i] = kSlots[kSearchOrder[i]].label;
        }
        return NameTable(names, 2 * kTaskSlotCount);
    }();
    return table;
}

}  // namespace

std::string TaskIdForSlot(int slot) {
    return InRange(slot) ? kSlots[slot].id : "";
}

std::string TaskLabelForSlot(int slot) {
    return InRange(slot) ? kSlots[slot].label : "";
}

TaskType TaskTypeForSlot(int slot) {
    return InRange(slot) ? kSlots[slot].type : TaskType::InvalidType;
}

int TaskSlotFromIdOrLabel(const std::string& text) {
    int index = SlotNameTable().Find(text);
    return index < 0 ? kNoSlot : kSearchOrder[index % kTaskSlotCount];
}

}  // namespace vesk
