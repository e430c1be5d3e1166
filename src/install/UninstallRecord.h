// What the install leaves for the uninstaller and for a later setup of the same product: the
// language file beside the uninstaller, the log, the uninstall entry, the uninstall shortcut
// and the engine's registry values.
#pragma once

#include <functional>
#include <string>

#include "install/InstallContext.h"
#include "install/ShortcutMaker.h"

namespace vesk {

// The uninstaller's place and the version of it this engine writes.
constexpr char kUninstallerPath[] = "[Windows Directory]\\Vesk-UnInstall.exe";
constexpr char kUninstallerVersion[] = "5.05";
// What QuietUninstallString adds to UninstallString: the uninstaller's unattended switch.
constexpr char kQuietSwitch[] = "/S";
// Windows' uninstall entries, under HKEY_LOCAL_MACHINE.
constexpr char kUninstallEntries[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class UninstallRecord {
public:
    UninstallRecord(InstallContext& context, ShortcutMaker& shortcuts)
        : context_(context), shortcuts_(shortcuts) {}

    // Whether the engine's key records an uninstaller newer than this one ("LastVersion" above
    // 5.05): the uninstaller entry is then neither written nor followed up.
    bool NewerUninstallerRecorded() const;

    // After the uninstaller was written: the selected language's texts go to
    // [System Directory]\VeskInstall\<language id>.ini for it, and "LastVersion" to the engine's
    // key.
    void KeepLanguageFile();

    // The last phase: the log (the project written back into the install folder), the
    // uninstall entry, the program folder under the version key, the uninstall shortcut, and
    // "Path" and "Version" under the product's key, as task 2410 asks. `cancelCheck` is asked
    // once, after the log; true there leaves the rest unwritten. Every write fails silently (the
    // run's log tells).
    //
    // The uninstall entry holds DisplayName (the ProjectName text), UninstallString (the
    // uninstaller and the log, both quoted), QuietUninstallString (the same and " /S"),
    // DisplayVersion (ProductVersion), Publisher (CompanyDesc), InstallLocation (the install
    // folder), DisplayIcon (the uninstaller), EstimatedSize (SoftwareSize in KiB, rounded up; not
    // written when unknown) and NoModify and NoRepair (1): the setup can neither change nor
    // repair an install.
    void Write(const std::function<bool()>& cancelCheck);

    // "Uninstall " + project name and version: the uninstall shortcut's name.
    std::string UninstallName() const;
    // [InstallDir]\VeskInstall <project name and version>.xml, resolved.
    std::string LogPath() const;

private:
    // `version` is ProductVersion, `installFolder` the install folder resolved.
    void WriteUninstallEntry(const std::string& uninstaller, const std::string& log,
                             const std::string& version, const std::string& installFolder);

    InstallContext& context_;
    ShortcutMaker& shortcuts_;
};

}  // namespace vesk
