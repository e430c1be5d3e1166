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
};

}  // namespace

std::string TextKeyName(int key) {
    if (key < 0 || key >= kTextKeyCount || !kNames[key]) return "";
    return kNames[key];
}

int TextKeyFromReference(const std::string& value) {
    static const NameTable table = [] {
        std::string references[kTextKeyCount];
        const char* names[kTextKeyCount];
        for (int i = 0; i < kTextKeyCount; ++i) {
            if (kNames[i]) references[i] = std::string("|") + kNames[i] + "|";
            names[i] = kNames[i] ? references[i].c_str() : nullptr;
        }
        return NameTable(names, kTextKeyCount);
    }();
    int index = table.Find(value);
    return index < 0 ? kNoTextKey : index;
}

}  // namespace vesk
