// The language keys' names and the matching of "|Key|" references.
#include "project/TextKey.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

// nullptr marks a reserved number.
const char* const kNames[kTextKeyCount] = {
    "InstallDesc",
    "LoadingInstallFiles",
    "ReadFileErrorDesc",
    "WriteFileErrorDesc",
    "ErrorExitInstallDesc",
    "CancelInstall",
    "SureDesc",
    "InsertMediaDesc",
    "InsertMediaDesc0",
    "InsertMediaDesc1",
    "InsertMediaDesc2",
    "InsertMediaDesc3",
    "InsertMediaBrowseDesc",
    "BackButtonDesc",
    "NextButtonDesc",
    "CancelButtonDesc",
    "CompleteButtonDesc",
    "ExitInstallTitle",
    "ExitInstallMessage",
    "ProjectName",
    "WelcomeWndDesc1",
    "WelcomeWndDesc2",
    "WelcomeWndDesc3",
    "WelcomeWndDesc4",
    "ReadSoftDocSubject",
    "ReadSoftDocDesc",
    "ReadSoftDocDesc2",
    "ReadSoftDocAcceptDesc",
    "ReadSoftDocRejectDesc",
    "ShowReadmeSubject",
    "ShowReadmeDesc",
    "RegisterInfoSubject",
    "RegisterInfoDesc",
    "RegisterInfoCompanyDesc",
    "RegisterInfoUserDesc",
    nullptr,
    "ProgramFolderSubject",
    "ProgramFolderDesc",
    "ProgramFolderDesc2",
    "ProgramFolderDesc3",
    "ProgramFolderDesc4",
    "ChangePathSubject",
    "ChangePathDesc",
    "ChangePathDesc2",
    "ChangePathFreeSpaceDesc1",
    "ChangePathFreeSpaceDesc2",
    "ChangePathSoftSizeDesc1",
    "ChangePathSoftSizeDesc2",
    "ChangePathFreeSpaceDesc3",
    "InstallProcessSubject",
    "InstallProcessDesc",
    "InstallProcessDesc2",
    "CreateFolderDesc",
    "CopyFileDesc",
    "CreateFileLinkDesc",
    "InstallFontDesc",
    "RegisterComDesc",
    "OperationRegistryDesc",
    "ClearFileDesc",
    "ShowFinishSubject",
    "ShowFinishDesc",
    "ShowFinishDesc1",
    "MessageDesc",
    "InstallComplete",
    "UnInstallDesc",
    nullptr,
    "FolderNameErrorDesc",
    "CreateFolderErrorDesc",
};

}  // namespace

std::string TextKeyName(int key) {
    if (key < 0 || key >= kTextKeyCount || !kNames[key]) return "";
    return kNames[key];
}

int TextKeyFromReference(const std::string& value) {
    // The bars are no letters and no lead bytes: comparing the name between them is the same.
    if (value.size() < 2 || value.front() != '|' || value.back() != '|') return kNoTextKey;
    static const NameTable table(kNames, kTextKeyCount);
    int index = table.Find(value.substr(1, value.size() - 2));
    return index < 0 ? kNoTextKey : index;
}

}  // namespace vesk
