// Name table of task types.
#include "project/TaskType.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

const char* const kNames[kTaskTypeCount] = {"ShowDialogBox", "DataSetting", "ExtractFiles",
                                            "InvalidType"};

}  // namespace

const char* TaskTypeName(TaskType type) {
    int index = static_cast<int>(type);
    if (index < 0 || index >= kTaskTypeCount) index = static_cast<int>(TaskType::InvalidType);
    return kNames[index];
}

TaskType TaskTypeFromName(const std::string& name) {
    // The catch-all takes part in the search too: "InvalidType" reads as InvalidType.
    static const NameTable table(kNames, kTaskTypeCount);
    int index = table.Find(name);
    return index < 0 ? TaskType::InvalidType : static_cast<TaskType>(index);
}

}  // namespace vesk
