// The kinds of fields in the install project; a kind's name is its XML element name.
#pragma once

#include <string>

namespace vesk {

// Numbers are part of the project vocabulary. InvalidField, always the last, stands for any
// element name not in the table (its value is kept).
enum class FieldKind : int {
    PosX = 0,
    PosY = 1,
    Width = 2,
    Height = 3,
    SoftwareSize = 4,
    DefaultValue = 5,
    IsWide = 6,
    Subject = 7,
    Description = 8,
    File = 9,
    Folder = 10,
    AppParameter = 11,
    FileType = 12,
    Content = 13,
    IsShow = 14,
    ProjectName = 15,
    InstallPath = 16,
    CompanyDesc = 17,
    ProductVersion = 18,
    DiskSize = 19,
    TopFramePicture = 20,
    AdPicture = 21,
    OutPutPath = 22,
    UnInstallEx = 23,
    Language = 24,
    PathDesc = 25,
    PathValue = 26,
    ProvideForInstall = 27,
    AppFileIcon = 28,
    RegRootKey = 29,
    RegSubKey = 30,
    RegVarName = 31,
    RegVarValue = 32,
    RegDataType = 33,
    RegOperType = 34,
    IsOnlyToKey = 35,
    IsToDelete = 36,
    Parameter = 37,
    RetValue = 38,
    Checked = 39,
    ComList = 40,
    CreateUnInstall1 = 41,
    CreateUnInstall2 = 42,
    IconFile = 43,
    IsToFileLinkGroup = 44,
    IsToDesktop = 45,
    IsToStartup = 46,
    FileQty = 47,
    IsToQuickLaunch = 48,
    CompressType = 49,  // the method of the file bodies (codec/BodyMethod.h)
    ProductId = 50,     // the product's identity across versions and renames
    InstallScope = 51,  // machine (all users) or user (the current user, no elevation)
    InvalidField = 52,
};

constexpr int kFieldKindCount = 53;  // InvalidField included

// The element name; "InvalidField" for values outside the table.
const char* FieldName(FieldKind kind);

// Compared ignoring ASCII case, nothing trimmed; an unknown name gives InvalidField.
FieldKind FieldKindFromName(const std::string& name);

}  // namespace vesk
