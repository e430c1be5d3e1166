// The task-slot table: IDs, types and labels of the fixed tasks.
#include "project/TaskSlots.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

struct SlotInfo {
    const char* id;
    TaskType type;
    const char* label;  // UTF-8
};

// Hex escapes followed by a digit are split into two literals ("\xF2" "1").
const SlotInfo kSlots[kTaskSlotCount] = {
    // "[project properties]"
    {"2401", TaskType::DataSetting, "[\xE9\xA1\xB9\xE7\x9B\xAE\xE5\xB1\x9E\xE6\x80\xA7]"},
    // "welcome dialog"
    {"2002", TaskType::ShowDialogBox,
     "\xE6\xAC\xA2\xE8\xBF\x8E\xE5\xAE\x89\xE8\xA3\x85\xE5\xAF\xB9\xE8\xAF\x9D\xE6\xA1\x86"},
    // "software licence agreement"
    {"2003", TaskType::ShowDialogBox,
     "\xE8\xBD\xAF\xE4\xBB\xB6\xE8\xAE\xB8\xE5\x8F\xAF\xE5\x8D\x8F\xE8\xAE\xAE\xE4\xB9\xA6"},
    // "read the software readme"
    {"2004", TaskType::ShowDialogBox,
     "\xE9\x98\x85\xE8\xAF\xBB\xE8\xBD\xAF\xE4\xBB\xB6\xE8\x87\xAA\xE8\xBF\xB0"},
    // "registration information dialog"
    {"2005", TaskType::ShowDialogBox,
     "\xE6\xB3\xA8\xE5\x86\x8C\xE4\xBF\xA1\xE6\x81\xAF\xE5\xAF\xB9\xE8\xAF\x9D\xE6\xA1\x86"},
    // "select program folder dialog settings"
    {"2006", TaskType::ShowDialogBox,
     "\xE9\x80\x89\xE6\x8B\xA9\xE7\xA8\x8B\xE5\xBA\x8F\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9\xE5\xAF"
     "\xB9\xE8\xAF\x9D\xE6\xA1\x86\xE8\xAE\xBE\xE7\xBD\xAE"},
    // "select install path"
    {"2007", TaskType::ShowDialogBox,
     "\xE9\x80\x89\xE6\x8B\xA9\xE5\xAE\x89\xE8\xA3\x85\xE8\xB7\xAF\xE5\xBE\x84"},
    // "install progress dialog settings"
    {"2008", TaskType::ShowDialogBox,
     "\xE5\xAE\x89\xE8\xA3\x85\xE8\xBF\x9B\xE5\xBA\xA6\xE5\xAF\xB9\xE8\xAF\x9D\xE6\xA1\x86\xE8\xAE"
     "\xBE\xE7\xBD\xAE"},
    // "install complete dialog 1 settings"
    {"2009", TaskType::ShowDialogBox,
     "\xE5\xAE\x8C\xE6\x88\x90\xE5\xAE\x89\xE8\xA3\x85\xE5\xAF\xB9\xE8\xAF\x9D\xE6\xA1\x86"
     "1\xE8\xAE\xBE\xE7\xBD\xAE"},
    // "install complete dialog 2 settings"
    {"2010", TaskType::ShowDialogBox,
     "\xE5\xAE\x8C\xE6\x88\x90\xE5\xAE\x89\xE8\xA3\x85\xE5\xAF\xB9\xE8\xAF\x9D\xE6\xA1\x86"
     "2\xE8\xAE\xBE\xE7\xBD\xAE"},
    // "[folder binding]"
    {"2402", TaskType::DataSetting,
     "[\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9\xE7\xBB\x91\xE5\xAE\x9A]"},
    // "[select application add-on components]"
    {"2403", TaskType::DataSetting,
     "[\xE5\xBA\x94\xE7\x94\xA8\xE7\xA8\x8B\xE5\xBA\x8F\xE9\x99\x84\xE5\x8A\xA0\xE7\xBB\x84\xE4\xBB"
     "\xB6\xE9\x80\x89\xE5\x8F\x96]"},
    // "[create application shortcuts]"
    {"2404", TaskType::DataSetting,
     "[\xE5\x88\x9B\xE5\xBB\xBA\xE5\xBA\x94\xE7\x94\xA8\xE7\xA8\x8B\xE5\xBA\x8F\xE5\xBF\xAB\xE6\x8D"
     "\xB7\xE6\x96\xB9\xE5\xBC\x8F]"},
    // "[application component registration]"
    {"2405", TaskType::DataSetting,
     "[\xE5\xBA\x94\xE7\x94\xA8\xE7\xA8\x8B\xE5\xBA\x8F\xE7\xBB\x84\xE4\xBB\xB6\xE6\xB3\xA8\xE5\x86"
     "\x8C]"},
    // "[clear install-time junk files]"
    {"2409", TaskType::DataSetting,
     "[\xE6\xB8\x85\xE9\x99\xA4\xE5\xAE\x89\xE8\xA3\x85\xE8\xBF\x87\xE7\xA8\x8B\xE5\x9E\x83\xE5\x9C"
     "\xBE\xE6\x96\x87\xE4\xBB\xB6]"},
    // "[registry operations]"
    {"2406", TaskType::DataSetting,
     "[\xE6\xB3\xA8\xE5\x86\x8C\xE8\xA1\xA8\xE6\x93\x8D\xE4\xBD\x9C]"},
    // "[software uninstall options]"
    {"2410", TaskType::DataSetting,
     "[\xE8\xBD\xAF\xE4\xBB\xB6\xE5\x8D\xB8\xE8\xBD\xBD\xE9\x80\x89\xE9\xA1\xB9]"},
    // "[font installation]"
    {"2407", TaskType::DataSetting, "[\xE5\xAD\x97\xE4\xBD\x93\xE5\xAE\x89\xE8\xA3\x85]"},
    // "[data compression exclusions]"
    {"2408", TaskType::DataSetting,
     "[\xE6\x95\xB0\xE6\x8D\xAE\xE5\x8E\x8B\xE7\xBC\xA9\xE5\xBF\xBD\xE7\x95\xA5\xE9\xA1\xB9]"},
    // "[icon list settings]"
    {"2411", TaskType::DataSetting,
     "[\xE5\x9B\xBE\xE6\xA0\x87\xE5\x88\x97\xE8\xA1\xA8\xE8\xAE\xBE\xE7\xBD\xAE]"},
    // "extract files"
    {"2412", TaskType::ExtractFiles, "\xE8\xA7\xA3\xE5\xBC\x80\xE6\x96\x87\xE4\xBB\xB6"},
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
