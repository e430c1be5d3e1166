// The types of tasks in the install project and their names in the XML.
#pragma once

#include <string>

namespace vesk {

// Numbers are part of the project vocabulary; InvalidType stands for any unknown name.
enum class TaskType : int {
    ShowDialogBox = 0,  // a wizard page
    DataSetting = 1,    // data the install needs
    ExtractFiles = 2,   // the folder and file lists
    InvalidType = 3,
};

constexpr int kTaskTypeCount = 4;  // InvalidType included

// The name written in the Type attribute; "InvalidType" for values outside the table.
const char* TaskTypeName(TaskType type);

// Compared ignoring ASCII case, nothing trimmed; an unknown name gives InvalidType.
TaskType TaskTypeFromName(const std::string& name);

}  // namespace vesk
