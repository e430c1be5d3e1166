// System facts for native tests: every answer is a field the test sets.
#pragma once

#include <map>

#include "platform/SystemFacts.h"

namespace vesk::test {

struct FakeDrive {
    DriveType type = DriveType::Fixed;
    std::optional<std::uint64_t> freeBytes;
};

class FakeSystemFacts : public SystemFacts {
public:
    std::string windowsFolder = "C:\\WINDOWS";
    std::string systemFolder = "C:\\WINDOWS\\System32";
    std::string tempPath = "C:\\TEMP\\";
    std::optional<std::string> desktopFolder =
        std::string("C:\\Documents and Settings\\Ann\\Desktop");
    std::optional<std::string> appDataFolder =
        std::string("C:\\Documents and Settings\\Ann\\Application Data");
    std::map<UserFolder, std::string> userFolders = {
        {UserFolder::LocalAppData, "C:\\Users\\Ann\\AppData\\Local"},
        {UserFolder::Programs,
         "C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
        {UserFolder::Startup,
         "C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
    };
    std::string userName = "Ann";
    std::string computerName = "BOX";
    std::uint32_t packedVersion = 0x0A280105;  // Windows XP: 5.1, build 2600
    std::optional<VersionNumbers> extendedVersion = VersionNumbers{5, 1};
    std::uint32_t localeId = 0x0409;
    std::uint32_t userLanguageId = 0;         // none: the locale decides
    std::map<std::string, FakeDrive> drives;  // by root, "C:\"
    std::string moduleFileName = "C:\\Setup\\Setup.exe";
    CalendarTime localTime{2004, 3, 5, 14, 3, 7, 45};
    int dpiY = 96;

    // Sets the version answers of a family member: "95", "98", "Me", "NT4", "2000", "XP".
    void ActAs(const std::string& system);

    std::string WindowsFolder() const override { return windowsFolder; }
    std::string SystemFolder() const override { return systemFolder; }
    std::string TempPath() const override { return tempPath; }
    std::optional<std::string> DesktopFolder() const override { return desktopFolder; }
    std::optional<std::string> AppDataFolder() const override { return appDataFolder; }
    std::optional<std::string> UserFolderPath(UserFolder folder) const override {
        const auto found = userFolders.find(folder);
        return found == userFolders.end() ? std::nullopt
                                          : std::optional<std::string>(found->second);
    }
    std::string UserName() const override { return userName; }
    std::string ComputerName() const override { return computerName; }
    std::uint32_t PackedVersion() const override { return packedVersion; }
    std::optional<VersionNumbers> ExtendedVersion() const override { return extendedVersion; }
    std::uint32_t DefaultLocaleId() const override { return localeId; }
    std::uint32_t UserLanguageId() const override { return userLanguageId; }
    std::vector<std::string> LogicalDrives() const override;
    DriveType TypeOfDrive(const std::string& root) const override;
    std::optional<std::uint64_t> FreeBytes(const std::string& root) const override;
    std::string ModuleFileName() const override { return moduleFileName; }
    CalendarTime LocalTime() const override { return localTime; }
    int DisplayDpiY() const override { return dpiY; }
};

}  // namespace vesk::test
