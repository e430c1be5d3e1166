// What the install leaves for the uninstaller and for a later setup of the same product: the
// language file beside the uninstaller, the log, the uninstall entry, the uninstall shortcut
// and the engine's registry values.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "install/InstallContext.h"
#include "install/ShortcutMaker.h"
#include "install/Takeover.h"

namespace vesk {

// The uninstaller's place in an install for the machine (UninstallerPathOf for either scope)
// and the version of it this engine writes.
constexpr char kUninstallerPath[] = "[Windows Directory]\\Vesk-UnInstall.exe";
constexpr char kUninstallerVersion[] = "5.05";
// What QuietUninstallString adds to UninstallString: the uninstaller's unattended switch.
constexpr char kQuietSwitch[] = "/S";
// Windows' uninstall entries, under the scope's root (EngineRoot): HKEY_LOCAL_MACHINE, or
// HKEY_CURRENT_USER for a user's install.
constexpr char kUninstallEntries[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class UninstallRecord {
public:
    UninstallRecord(InstallContext& context, ShortcutMaker& shortcuts)
        : context_(context), shortcuts_(shortcuts) {}

    // Whether the engine's key records an uninstaller newer than this one ("LastVersion" above
    // 5.05): the uninstaller entry is then neither written nor followed up.
    bool NewerUninstallerRecorded() const;

    // After the uninstaller was written: the selected language's texts go to
    // <engine folder>\<language id>.ini for it (EngineFolder: [System Directory]\VeskInstall for
    // the machine), and "LastVersion" to the engine's key. Every key and folder of the record is
    // the install scope's (the session's paths say which).
    void KeepLanguageFile();

    // The last phase: the log (the project written back into the install folder), the
    // uninstall entry, the program folder under the version key, the uninstall shortcut, and
    // "Path" and "Version" under the product's key, as task 2410 asks; then, when the product
    // is installed already (session.installed), the takeover of that version (Takeover); last
    // the product's record (ProductRecord) in the engine's folder. `cancelCheck` is asked once,
    // after the log; true there leaves the rest unwritten. A log, an uninstall entry or a record
    // that cannot be written fails the install (installOk and installFailed cleared and set, the
    // reason in the run's log), so it is rolled back rather than leave an entry whose command
    // cannot work; the other values fail silently (the run's log tells).
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
    InstallScope Scope() const;
    // Ends the install as failed, `why` in the run's log.
    void Fail(std::initializer_list<std::string_view> why);
    bool WriteLog(const std::string& log, const std::string& text);
    // `version` is ProductVersion, `installFolder` the install folder resolved.
    bool WriteUninstallEntry(const std::string& uninstaller, const std::string& log,
                             const std::string& version, const std::string& installFolder);
    // `log` the log's path ("" when there is none), `logText` its bytes, `entryKey` the
    // uninstall entry's key ("" when there is none); `takeover` folds in the installed
    // version's record.
    void WriteProductRecord(const std::string& log, const std::string& logText,
                            const std::string& entryKey, const Takeover* takeover);

    InstallContext& context_;
    ShortcutMaker& shortcuts_;
};

}  // namespace vesk
