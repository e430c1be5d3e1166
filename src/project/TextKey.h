// The numbered keys of the language table's texts, and the "|Key|" references to them that
// project field values may hold.
#pragma once

#include <string>

namespace vesk {

// Numbers are the positions in the fixed key list; 35 and 65 are reserved (no name). The keys
// after 65 came later: the folder pages' refusals.
enum class TextKey : int {
    InstallDesc = 0,
    LoadingInstallFiles = 1,
    ReadFileErrorDesc = 2,
    WriteFileErrorDesc = 3,
    ErrorExitInstallDesc = 4,
    CancelInstall = 5,
    SureDesc = 6,
    InsertMediaDesc = 7,
    InsertMediaDesc0 = 8,
    InsertMediaDesc1 = 9,
    InsertMediaDesc2 = 10,
    InsertMediaDesc3 = 11,
    InsertMediaBrowseDesc = 12,
    BackButtonDesc = 13,
    NextButtonDesc = 14,
    CancelButtonDesc = 15,
    CompleteButtonDesc = 16,
    ExitInstallTitle = 17,
    ExitInstallMessage = 18,
    ProjectName = 19,
    WelcomeWndDesc1 = 20,
    WelcomeWndDesc2 = 21,
    WelcomeWndDesc3 = 22,
    WelcomeWndDesc4 = 23,
    ReadSoftDocSubject = 24,
    ReadSoftDocDesc = 25,
    ReadSoftDocDesc2 = 26,
    ReadSoftDocAcceptDesc = 27,
    ReadSoftDocRejectDesc = 28,
    ShowReadmeSubject = 29,
    ShowReadmeDesc = 30,
    RegisterInfoSubject = 31,
    RegisterInfoDesc = 32,
    RegisterInfoCompanyDesc = 33,
    RegisterInfoUserDesc = 34,
    Reserved35 = 35,
    ProgramFolderSubject = 36,
    ProgramFolderDesc = 37,
    ProgramFolderDesc2 = 38,
    ProgramFolderDesc3 = 39,
    ProgramFolderDesc4 = 40,
    ChangePathSubject = 41,
    ChangePathDesc = 42,
    ChangePathDesc2 = 43,
    ChangePathFreeSpaceDesc1 = 44,
    ChangePathFreeSpaceDesc2 = 45,
    ChangePathSoftSizeDesc1 = 46,
    ChangePathSoftSizeDesc2 = 47,
    ChangePathFreeSpaceDesc3 = 48,
    InstallProcessSubject = 49,
    InstallProcessDesc = 50,
    InstallProcessDesc2 = 51,
    CreateFolderDesc = 52,
    CopyFileDesc = 53,
    CreateFileLinkDesc = 54,
    InstallFontDesc = 55,
    RegisterComDesc = 56,
    OperationRegistryDesc = 57,
    ClearFileDesc = 58,
    ShowFinishSubject = 59,
    ShowFinishDesc = 60,
    ShowFinishDesc1 = 61,
    MessageDesc = 62,
    InstallComplete = 63,
    UnInstallDesc = 64,
    Reserved65 = 65,
    FolderNameErrorDesc = 66,
    CreateFolderErrorDesc = 67,
};

constexpr int kTextKeyCount = 68;
constexpr int kNoTextKey = kTextKeyCount;  // TextKeyFromReference: the value is no reference

// The key's name as written in the language file ("ProjectName"); empty for the reserved keys
// and for numbers outside the list.
std::string TextKeyName(int key);
inline std::string TextKeyName(TextKey key) {
    return TextKeyName(static_cast<int>(key));
}

// The key whose reference "|" + name + "|" equals the whole value, ASCII case ignored and
// nothing trimmed; kNoTextKey when none does. Reserved keys have no reference ("||" is none).
// References inside a longer text are not looked for.
int TextKeyFromReference(const std::string& value);

}  // namespace vesk
