// Name table of field kinds.
#include "project/FieldKind.h"

#include "project/NameTable.h"

namespace vesk {
namespace {

const char* const kNames[kFieldKindCount] = {
    "PosX",
    "PosY",
    "Width",
    "Height",
    "SoftwareSize",
    "DefaultValue",
    "IsWide",
    "Subject",
    "Description",
    "File",
    "Folder",
    "AppParameter",
    "FileType",
    "Content",
    "IsShow",
    "ProjectName",
    "InstallPath",
    "CompanyDesc",
    "ProductVersion",
    "DiskSize",
    "TopFramePicture",
    "AdPicture",
    "OutPutPath",
    "UnInstallEx",
    "Language",
    "PathDesc",
    "PathValue",
    "ProvideForInstall",
    "AppFileIcon",
    "RegRootKey",
    "RegSubKey",
    "RegVarName",
    "RegVarValue",
    "RegDataType",
    "RegOperType",
    "IsOnlyToKey",
    "IsToDelete",
    "Parameter",
    "RetValue",
    "Checked",
    "ComList",
    "CreateUnInstall1",
    "CreateUnInstall2",
    "IconFile",
    "IsToFileLinkGroup",
    "IsToDesktop",
    "IsToStartup",
    "FileQty",
    "IsToQuickLaunch",
    "CompressType",
    "ProductId",
    "InstallScope",
    "InvalidField",
};

}  // namespace

const char* FieldName(FieldKind kind) {
    int index = static_cast<int>(kind);
    if (index < 0 || index >= kFieldKindCount) index = static_cast<int>(FieldKind::InvalidField);
    return kNames[index];
}

FieldKind FieldKindFromName(const std::string& name) {
    static const NameTable table(kNames, kFieldKindCount);
    int index = table.Find(name);
    return index < 0 ? FieldKind::InvalidField : static_cast<FieldKind>(index);
}

}  // namespace vesk
