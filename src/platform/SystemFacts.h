// What the engine asks the running system: folders, names, version, locale, drives, clock, display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/CalendarTime.h"

namespace vesk {

// Kinds of drive as the system reports them for a root such as "C:\".
enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

// Major and minor number of the extended version record.
struct VersionNumbers {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// Folders of the current user that a per-user install goes to.
enum class UserFolder {
    LocalAppData,  // the user's local (not roaming) application data; its "Programs" holds programs
    Programs,      // the user's Programs folder of the Start menu
    Startup,       // the user's Startup folder in it
};

// Every query is answered afresh each time; failures give empty texts, nullopt or 0.
class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    virtual std::string WindowsFolder() const = 0;
    virtual std::string SystemFolder() const = 0;
    // The temporary folder as the system gives it, normally with a trailing backslash.
    virtual std::string TempPath() const = 0;
    // The current user's desktop folder; nullopt when the shell cannot name it.
    virtual std::optional<std::string> DesktopFolder() const = 0;
    // The current user's roaming application-data folder; nullopt when the shell cannot name it.
    virtual std::optional<std::string> AppDataFolder() const = 0;
    // One of the user's folders above; nullopt when the shell cannot name it.
    virtual std::optional<std::string> UserFolderPath(UserFolder folder) const = 0;
    virtual std::string UserName() const = 0;
    virtual std::string ComputerName() const = 0;

    // The packed version number: high bit set on the 9x family, major version in the low byte.
    virtual std::uint32_t PackedVersion() const = 0;
    // The extended version record; nullopt when the system refuses it.
    virtual std::optional<VersionNumbers> ExtendedVersion() const = 0;
    virtual std::uint32_t DefaultLocaleId() const = 0;
    // The language of the user's interface (GetUserDefaultUILanguage); 0 when the system has none.
    virtual std::uint32_t UserLanguageId() const = 0;

    // Root strings of the logical drives ("C:\"), every one of them.
    virtual std::vector<std::string> LogicalDrives() const = 0;
    virtual DriveType TypeOfDrive(const std::string& root) const = 0;
    // Total free bytes of the disk; nullopt when it cannot be read.
    virtual std::optional<std::uint64_t> FreeBytes(const std::string& root) const = 0;

    // Full path of the running program, whatever its length.
    virtual std::string ModuleFileName() const = 0;
    virtual CalendarTime LocalTime() const = 0;
    // Vertical logical pixels per inch of the display.
    virtual int DisplayDpiY() const = 0;
};

// The running system (natively: the host's temporary folder, clock, user and module name, locale
// 0x0409, no Windows folders and no drives).
const SystemFacts& HostSystemFacts();

}  // namespace vesk
