// Name table of subtask types.
#include "project/SubTaskType.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

const char* const kNames[kSubTaskTypeCount] = {
    "RunApp",         "GetValue",           "FileList",     "FolderList",  "GetAllVar",  "ShowText",
    "CreateCheckBox", "ShowBitmap",         "ShowTopFrame", "ShowSoftDoc", "ShowReadme", "EditBox",
    "Registry",       "CreateShortcutMenu", "Options",      "InvalidType",
};

}  // namespace

const char* SubTaskTypeName(SubTaskType type) {
    int index = static_cast<int>(type);
    if (index < 0 || index >= kSubTaskTypeCount) index = static_cast<int>(SubTaskType::InvalidType);
    return kNames[index];
}

SubTaskType SubTaskTypeFromName(const std::string& name) {
    static const NameTable table(kNames, kSubTaskTypeCount);
    int index = table.Find(name);
    return index < 0 ? SubTaskType::InvalidType : static_cast<SubTaskType>(index);
}

}  // namespace vesk
