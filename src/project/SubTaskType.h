// The types of subtasks in the install project and their names in the XML.
#pragma once

#include <string>

namespace vesk {

// Numbers are part of the project vocabulary; InvalidType stands for any unknown name.
enum class SubTaskType : int {
    RunApp = 0,
    GetValue = 1,
    FileList = 2,
    FolderList = 3,
    GetAllVar = 4,
    ShowText = 5,
    CreateCheckBox = 6,
    ShowBitmap = 7,
    ShowTopFrame = 8,
    ShowSoftDoc = 9,
    ShowReadme = 10,
    EditBox = 11,
    Registry = 12,
    CreateShortcutMenu = 13,
    Options = 14,
    InvalidType = 15,
};

constexpr int kSubTaskTypeCount = 16;  // InvalidType included

// The name written in the Type attribute; "InvalidType" for values outside the table.
const char* SubTaskTypeName(SubTaskType type);

// Compared ignoring ASCII case, nothing trimmed; an unknown name gives InvalidType.
SubTaskType SubTaskTypeFromName(const std::string& name);

}  // namespace vesk
