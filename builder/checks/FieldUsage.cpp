// The table of field uses.
#include "builder/checks/FieldUsage.h"

#include "project/TaskSlots.h"

namespace vesk {
namespace {

constexpr std::uint32_t Slot(int slot) {
    return std::uint32_t(1) << slot;
}

constexpr std::uint32_t kPages = ((std::uint32_t(1) << (kSlotFinish2 + 1)) - 1) & ~Slot(0);

using T = SubTaskType;
using K = FieldKind;
using R = FieldRole;
using V = ValueForm;

const char kPageLayout[] = "nothing: the page lays itself out";
const char kFixedTexts[] = "nothing: the page shows fixed texts of the language table";

const std::vector<FieldUse> kUses = {
    // 2401: project properties.
    {Slot(kSlotProjectProperties), T::GetAllVar, K::ProjectName, R::Both, V::NamePart,
     "start-up: the product's name in every caption and text (with ProductVersion), the "
     "uninstall record; required"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::InstallPath, R::Engine, V::InstallFolder,
     "start-up: the destination folder proposed (an earlier install of the product proposes its "
     "own)"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::CompanyDesc, R::Both, V::Text,
     "builder: the defaults' install folder and registry key; uninstall record: the publisher, "
     "and with ProjectName the product's identity when ProductId is empty"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::ProductId, R::Engine, V::Text,
     "start-up and uninstall record: the product's identity across versions (optional; empty: "
     "CompanyDesc and ProjectName). A setup of the same identity takes over the installed "
     "version: it upgrades, repairs or, asked first, goes back to an older version"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::ProductVersion, R::Engine, V::NamePart,
     "start-up: follows the product's name in texts; uninstall record: the version key"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::DiskSize, R::Both, V::Size,
     "builder: data bytes per volume (1440K, 650M; 0 or empty: all in Setup.exe), written back "
     "exactly; start-up: the volume size"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::TopFramePicture, R::Builder, V::SourceFile,
     "builder: packs the header band picture (BMP), which every page shows"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::AdPicture, R::Both, V::SourceFile,
     "builder: packs the picture (BMP); start-up: shows it for five seconds when set"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::OutPutPath, R::Builder, V::OutputFolder,
     "builder: the output folder when -o is not given"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::Language, R::Carried, V::Text,
     "nothing: the languages the setup holds (all three, whatever it says)"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::ProvideForInstall, R::Both, V::SourceFile,
     "builder: packs the program; start-up: runs it before the wizard (exit code 0 ends the "
     "setup)"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::AppFileIcon, R::Builder, V::SourceFile,
     "builder: the icon of the built Setup.exe"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::SoftwareSize, R::Computed, V::Integer,
     "builder: the bytes of the installed files; destination page: the space required"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::FileQty, R::Computed, V::Integer,
     "builder: the number of installed files; install worker: the progress bar"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::InstallScope, R::Both, V::Scope,
     "builder and setup: machine (absent: every user; administrator rights, HKEY_LOCAL_MACHINE) "
     "or user (the current user without elevation: [Program Files] is the user's programs "
     "folder, the Start menu and Startup the user's, the uninstall entry and the engine's keys "
     "under HKEY_CURRENT_USER; the builder refuses what needs administrator rights)"},
    {Slot(kSlotProjectProperties), T::GetAllVar, K::CompressType, R::Both, V::Method,
     "builder: compresses every file body with this method (--compression overrides it; absent: "
     "LZSS); start-up: decodes the bodies with it"},

    // Every page task: what the page layout vocabulary writes, carried only.
    {kPages, T::ShowTopFrame, K::Subject, R::Carried, V::PageText, kFixedTexts},
    {kPages, T::ShowTopFrame, K::Description, R::Carried, V::PageText, kFixedTexts},
    {kPages, T::GetValue, K::Description, R::Carried, V::PageText, kFixedTexts},
    {kPages, T::GetValue, K::PosX, R::Carried, V::Integer, kPageLayout},
    {kPages, T::GetValue, K::PosY, R::Carried, V::Integer, kPageLayout},
    {kPages, T::ShowText, K::Content, R::Carried, V::PageText, kFixedTexts},
    {kPages, T::ShowText, K::PosX, R::Carried, V::Integer, kPageLayout},
    {kPages, T::ShowText, K::PosY, R::Carried, V::Integer, kPageLayout},
    {kPages, T::ShowText, K::Width, R::Carried, V::Integer, kPageLayout},
    {kPages, T::ShowText, K::Height, R::Carried, V::Integer, kPageLayout},
    {kPages, T::CreateCheckBox, K::Description, R::Carried, V::PageText, kFixedTexts},
    {kPages, T::CreateCheckBox, K::Checked, R::Carried, V::Flag, kPageLayout},
    {kPages, T::CreateCheckBox, K::PosX, R::Carried, V::Integer, kPageLayout},
    {kPages, T::CreateCheckBox, K::PosY, R::Carried, V::Integer, kPageLayout},
    {kPages, T::CreateCheckBox, K::RetValue, R::Carried, V::Text, kPageLayout},
    {kPages, T::Options, K::IsShow, R::Carried, V::Flag,
     "nothing: the task's IsExec shows the page or not"},

    // 2002: welcome page.
    {Slot(kSlotWelcome), T::ShowBitmap, K::File, R::Builder, V::SourceFile,
     "builder: packs the welcome picture (BMP), which the welcome page shows"},
    {Slot(kSlotWelcome), T::ShowBitmap, K::PosX, R::Carried, V::Integer, kPageLayout},
    {Slot(kSlotWelcome), T::ShowBitmap, K::PosY, R::Carried, V::Integer, kPageLayout},

    // 2003 and 2004: licence and readme pages.
    {Slot(kSlotLicence), T::ShowSoftDoc, K::FileType, R::Both, V::DocumentType,
     "builder, licence page: the document's form, S (HTML) or M (web archive)"},
    {Slot(kSlotLicence), T::ShowSoftDoc, K::File, R::Both, V::SourceFile,
     "builder: packs the licence (the first File); licence page: shows it"},
    {Slot(kSlotReadme), T::ShowReadme, K::FileType, R::Both, V::DocumentType,
     "builder, readme page: the document's form, S (HTML) or M (web archive)"},
    {Slot(kSlotReadme), T::ShowReadme, K::File, R::Both, V::SourceFile,
     "builder: packs the readme (the first File); readme page: shows it"},

    // 2005: user information page.
    {Slot(kSlotUserInformation), T::EditBox, K::Description, R::Engine, V::KeyReference,
     "user information page: |RegisterInfoUserDesc| writes the user's name, "
     "|RegisterInfoCompanyDesc| the company, into the registry item of the subtask"},
    {Slot(kSlotUserInformation), T::EditBox, K::RegRootKey, R::Engine, V::RootKey,
     "user information page: the root key"},
    {Slot(kSlotUserInformation), T::EditBox, K::RegSubKey, R::Engine, V::SubKey,
     "user information page: the key, after a backslash (its first character is dropped)"},
    {Slot(kSlotUserInformation), T::EditBox, K::RegVarName, R::Engine, V::Text,
     "user information page: the value's name (empty: the key's default value)"},
    {Slot(kSlotUserInformation), T::EditBox, K::RegDataType, R::Engine, V::DataType,
     "user information page: the value's type, 0 text, 1 number or 2 expandable text"},
    {Slot(kSlotUserInformation), T::EditBox, K::RegOperType, R::Engine, V::OperType,
     "user information page: 0 creates or writes, 1 deletes"},
    {Slot(kSlotUserInformation), T::EditBox, K::IsOnlyToKey, R::Engine, V::Flag,
     "user information page: 1 acts on the key alone, no value"},
    {Slot(kSlotUserInformation), T::EditBox, K::IsToDelete, R::Carried, V::Flag,
     "the uninstaller, through the install log: remove the item again"},
    {Slot(kSlotUserInformation), T::EditBox, K::RegVarValue, R::Engine, V::Text,
     "user information page: the data written when the user leaves the entry empty"},
    {Slot(kSlotUserInformation), T::EditBox, K::PosX, R::Carried, V::Integer, kPageLayout},
    {Slot(kSlotUserInformation), T::EditBox, K::PosY, R::Carried, V::Integer, kPageLayout},
    {Slot(kSlotUserInformation), T::EditBox, K::Width, R::Carried, V::Integer, kPageLayout},
    {Slot(kSlotUserInformation), T::EditBox, K::Height, R::Carried, V::Integer, kPageLayout},
    {Slot(kSlotUserInformation), T::EditBox, K::DefaultValue, R::Carried, V::Text,
     "nothing: the entry starts with the name registered for Windows"},
    {Slot(kSlotUserInformation), T::EditBox, K::IsWide, R::Carried, V::Flag, kPageLayout},
    {Slot(kSlotUserInformation), T::EditBox, K::Checked, R::Carried, V::Flag, kPageLayout},
    {Slot(kSlotUserInformation), T::EditBox, K::RetValue, R::Carried, V::Text, kPageLayout},

    // 2010: finish page with programs.
    {Slot(kSlotFinish2), T::RunApp, K::Description, R::Engine, V::Text,
     "finish page: the check box's caption, shown as it is"},
    {Slot(kSlotFinish2), T::RunApp, K::File, R::Engine, V::FileName,
     "finish page: the program or document, in Folder; an .exe is started, anything else opened"},
    {Slot(kSlotFinish2), T::RunApp, K::Folder, R::Engine, V::TargetPath,
     "finish page: the folder of File, made the current folder"},
    {Slot(kSlotFinish2), T::RunApp, K::AppParameter, R::Engine, V::Text,
     "finish page: the arguments; the program starts at this field, so it comes last"},

    // 2402: folder binding.
    {Slot(kSlotFolderBinding), T::GetAllVar, K::PathDesc, R::Builder, V::TargetPath,
     "builder: the folder on the user's machine that receives the next PathValue's files"},
    {Slot(kSlotFolderBinding), T::GetAllVar, K::PathValue, R::Builder, V::SourceFolder,
     "builder: the source folder whose files and subfolders are installed"},
    {Slot(kSlotFolderBinding), T::GetAllVar, K::File, R::Builder, V::Pattern,
     "builder: files and folders of the sources left out (besides .git, .svn, Thumbs.db, "
     ".DS_Store, *~, desktop.ini); without a backslash the pattern is matched against each "
     "name, with one against the whole target path; !NAME takes a name back"},

    // 2403: add-on components.
    {Slot(kSlotAddOnComponents), T::GetValue, K::ComList, R::Carried, V::Text, "nothing"},

    // 2404: shortcuts.
    {Slot(kSlotShortcuts), T::GetValue, K::Description, R::Engine, V::GroupName,
     "start-up: the program folder proposed (empty: no program folder and no shortcuts)"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::Description, R::Engine, V::LinkName,
     "install worker: the shortcut's name"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::File, R::Engine, V::FileName,
     "install worker: the shortcut's target, in Folder"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::Folder, R::Engine, V::TargetPath,
     "install worker: the target's folder, also the shortcut's working folder"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::Parameter, R::Engine, V::Text,
     "install worker: the shortcut's arguments"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::IconFile, R::Engine, V::TargetPath,
     "install worker: the shortcut's icon (empty: the target's own)"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::IsToFileLinkGroup, R::Engine, V::Flag,
     "install worker: 1 puts the shortcut into the program folder"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::IsToDesktop, R::Engine, V::Flag,
     "install worker: 1 puts the shortcut on the desktop"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::IsToStartup, R::Engine, V::Flag,
     "install worker: 1 puts the shortcut into the Startup folder"},
    {Slot(kSlotShortcuts), T::CreateShortcutMenu, K::IsToQuickLaunch, R::Engine, V::Flag,
     "install worker: 1 puts the shortcut into the Quick Launch bar"},

    // 2405: component registration.
    {Slot(kSlotComponentRegistration), T::GetValue, K::File, R::Engine, V::TargetPath,
     "install worker, after the files: .dll and .ocx are registered (Regsvr32), .exe run, "
     "anything else opened"},

    // 2409: files to clear.
    {Slot(kSlotClearFiles), T::GetValue, K::File, R::Engine, V::TargetPath,
     "install worker: deleted at the end of the install"},

    // 2406: registry items.
    {Slot(kSlotRegistry), T::Registry, K::RegRootKey, R::Engine, V::RootKey,
     "install worker: the root key"},
    {Slot(kSlotRegistry), T::Registry, K::RegSubKey, R::Engine, V::SubKey,
     "install worker: the key, after a backslash (its first character is dropped)"},
    {Slot(kSlotRegistry), T::Registry, K::RegVarName, R::Engine, V::Text,
     "install worker: the value's name (empty: the key's default value)"},
    {Slot(kSlotRegistry), T::Registry, K::RegDataType, R::Engine, V::DataType,
     "install worker: the value's type, 0 text, 1 number or 2 expandable text (REG_EXPAND_SZ: "
     "%ProgramFiles% and the like are expanded by the program that reads it)"},
    {Slot(kSlotRegistry), T::Registry, K::RegOperType, R::Engine, V::OperType,
     "install worker: 0 creates or writes, 1 deletes"},
    {Slot(kSlotRegistry), T::Registry, K::IsOnlyToKey, R::Engine, V::Flag,
     "install worker: 1 acts on the key alone, no value"},
    {Slot(kSlotRegistry), T::Registry, K::IsToDelete, R::Carried, V::Flag,
     "the uninstaller, through the install log: remove the item again"},
    {Slot(kSlotRegistry), T::Registry, K::RegVarValue, R::Engine, V::RegistryData,
     "install worker: the value's data (a number for type 1); in text the path tokens are "
     "replaced by the folders they name on the user's machine (\"[InstallDir]\\app.exe\" "
     "\"%1\"), [[ writes a ["},

    // 2410: uninstall options.
    {Slot(kSlotUninstallOptions), T::GetValue, K::CreateUnInstall1, R::Both, V::Flag,
     "install worker: 1 writes the install log and the Add/Remove Programs entry; builder: "
     "packs the uninstaller (beside veskbuild, or --uninstaller)"},
    {Slot(kSlotUninstallOptions), T::GetValue, K::CreateUnInstall2, R::Both, V::Flag,
     "install worker: 1 writes the install log and an uninstall shortcut; builder: packs the "
     "uninstaller (beside veskbuild, or --uninstaller)"},
    {Slot(kSlotUninstallOptions), T::GetValue, K::UnInstallEx, R::Carried, V::Text,
     "the uninstaller, through the install log"},

    // 2407: fonts.
    {Slot(kSlotFonts), T::GetValue, K::File, R::Engine, V::TargetPath,
     "install worker: each font file is added to the system's fonts"},

    // 2408: compression exclusions.
    {Slot(kSlotCompressionExclusions), T::GetValue, K::File, R::Builder, V::Pattern,
     "builder: files that match are stored raw (kind N); without a backslash the pattern is "
     "matched against the file name, with one against the whole target path"},

    // 2411: icon list.
    {Slot(kSlotIconList), T::GetValue, K::File, R::Carried, V::Text, "nothing"},

    // 2412: folders and files.
    {Slot(kSlotExtractFiles), T::FolderList, K::Folder, R::Engine, V::TargetPath,
     "start-up, install worker: created before the files (the build adds the source folders)"},
    {Slot(kSlotExtractFiles), T::FileList, K::File, R::Both, V::FileMark,
     "builder: gives one of the product's files a kind; the build writes the file list, which "
     "the setup reads at start-up and installs"},
};

}  // namespace

const std::vector<FieldUse>& FieldUses() {
    return kUses;
}

const FieldUse* FindFieldUse(int slot, SubTaskType type, FieldKind kind) {
    if (slot < 0 || slot >= kTaskSlotCount) return nullptr;
    for (const FieldUse& use : kUses) {
        if ((use.slots & Slot(slot)) && use.type == type && use.kind == kind) return &use;
    }
    return nullptr;
}

bool IsSubTaskTypeKnown(int slot, SubTaskType type) {
    if (slot < 0 || slot >= kTaskSlotCount) return false;
    for (const FieldUse& use : kUses) {
        if ((use.slots & Slot(slot)) && use.type == type) return true;
    }
    return false;
}

const char* RoleName(FieldRole role) {
    switch (role) {
        case FieldRole::Engine:
            return "setup";
        case FieldRole::Builder:
            return "builder";
        case FieldRole::Both:
            return "builder, setup";
        case FieldRole::Computed:
            return "computed";
        case FieldRole::Carried:
            return "carried";
    }
    return "";
}

const char* FormName(ValueForm form) {
    switch (form) {
        case ValueForm::Text:
            return "text";
        case ValueForm::PageText:
            return "text or |Key| references";
        case ValueForm::KeyReference:
            return "|Key| reference";
        case ValueForm::Flag:
            return "0 or 1";
        case ValueForm::Integer:
            return "number";
        case ValueForm::Size:
            return "bytes, or with K, M, G";
        case ValueForm::InstallFolder:
            return "[token]\\folder or drive:\\folder";
        case ValueForm::TargetPath:
            return "[token]\\path or drive:\\path";
        case ValueForm::FileName:
            return "name below Folder";
        case ValueForm::LinkName:
            return "file name";
        case ValueForm::GroupName:
            return "folder name";
        case ValueForm::SourceFile:
            return "file here";
        case ValueForm::SourceFolder:
            return "folder here";
        case ValueForm::OutputFolder:
            return "output folder here";
        case ValueForm::RootKey:
            return "HKEY_...";
        case ValueForm::SubKey:
            return "\\key\\path";
        case ValueForm::DataType:
            return "0 text, 1 number, 2 expandable text";
        case ValueForm::OperType:
            return "0 write, 1 delete";
        case ValueForm::DocumentType:
            return "S or M";
        case ValueForm::FileMark:
            return "target,,,KIND,time";
        case ValueForm::Pattern:
            return "pattern";
        case ValueForm::Method:
            return "LZSS, LZMA or LZMA-SOLID";
        case ValueForm::NamePart:
            return "text for a file name";
        case ValueForm::RegistryData:
            return "text with [tokens]";
        case ValueForm::Scope:
            return "machine or user";
    }
    return "";
}

const char* FormRule(ValueForm form) {
    switch (form) {
        case ValueForm::Text:
            return "any text without `<` or a line break; no entities such as `&amp;` (values "
                   "are not escaped); any character (the project is UTF-8; a file in GB2312 is "
                   "converted)";
        case ValueForm::PageText:
            return "a text, or references naming keys of the language table";
        case ValueForm::KeyReference:
            return "`|RegisterInfoUserDesc|` or `|RegisterInfoCompanyDesc|`";
        case ValueForm::Flag:
            return "`0`, `1` or empty (anything else reads as its leading number)";
        case ValueForm::Integer:
            return "decimal digits, or empty";
        case ValueForm::Size:
            return "`1474560`, `1440K`, `650M`; `0` or empty for none";
        case ValueForm::InstallFolder:
            return "a token other than `[InstallDir]` and `[QuickLaunch]` and a backslash before "
                   "the rest, or a drive";
        case ValueForm::TargetPath:
            return "a token (not `[QuickLaunch]`), then nothing or a backslash and the rest; or "
                   "a drive; never relative, backslashes only";
        case ValueForm::FileName:
            return "a relative name Windows can create";
        case ValueForm::LinkName:
            return "a file name Windows can create, not empty";
        case ValueForm::GroupName:
            return "folder names Windows can create, separated by backslashes";
        case ValueForm::SourceFile:
            return "a file, relative to the project file; it must exist";
        case ValueForm::SourceFolder:
            return "a folder, relative to the project file; it must exist";
        case ValueForm::OutputFolder:
            return "a folder, relative to the project file";
        case ValueForm::RootKey:
            return "a root key's full name (above)";
        case ValueForm::SubKey:
            return "starts with a backslash (the setup drops the first character)";
        case ValueForm::DataType:
            return "`0` (a text value, REG_SZ), `1` (a number, DWORD) or `2` (an expandable "
                   "text, REG_EXPAND_SZ)";
        case ValueForm::OperType:
            return "`0` (create or write) or `1` (delete)";
        case ValueForm::DocumentType:
            return "`S` (HTML) or `M` (web archive, .mht)";
        case ValueForm::FileMark:
            return "offset and size empty; KIND `A`, `L`, `N` or `R`; the time "
                   "year-month-day hour:minute:second or empty; the target a path as above";
        case ValueForm::Pattern:
            return "`*` any run of characters, `?` one; letter case ignored";
        case ValueForm::Method:
            return "`LZSS` (the default) or `LZMA` (smaller setups); letter case ignored";
        case ValueForm::NamePart:
            return "a text as above that a file name can hold: no control character and none "
                   "of `\\ / : * ? \" < > |` (it names the install log and registry keys)";
        case ValueForm::Scope:
            return "`machine` (the default) or `user`; letter case ignored";
        case ValueForm::RegistryData:
            return "a text as above; each `[` starts a path token that names a lasting folder "
                   "(`[InstallDir]`, `[Program Files]`, `[Windows Directory]`, `[System "
                   "Directory]`, `[Desktop Directory]`, `[Start Menu]`, `[Startup]`), replaced at "
                   "install wherever it stands; `[[` writes a literal `[`";
    }
    return "";
}

const char* SubTaskTypeNote(SubTaskType type) {
    switch (type) {
        case SubTaskType::RunApp:
            return "a program the finish page offers to start";
        case SubTaskType::GetValue:
            return "values of the task";
        case SubTaskType::FileList:
            return "the file list";
        case SubTaskType::FolderList:
            return "the folder list";
        case SubTaskType::GetAllVar:
            return "settings of the task";
        case SubTaskType::ShowText:
            return "a text of the page";
        case SubTaskType::CreateCheckBox:
            return "a check box of the page";
        case SubTaskType::ShowBitmap:
            return "a picture of the page";
        case SubTaskType::ShowTopFrame:
            return "the page header";
        case SubTaskType::ShowSoftDoc:
            return "the licence document";
        case SubTaskType::ShowReadme:
            return "the readme document";
        case SubTaskType::EditBox:
            return "an entry of the page and the registry item it fills";
        case SubTaskType::Registry:
            return "one registry item";
        case SubTaskType::CreateShortcutMenu:
            return "one shortcut";
        case SubTaskType::Options:
            return "page options";
        case SubTaskType::InvalidType:
            break;
    }
    return "";
}

}  // namespace vesk
