// Path variables and start-up values on a real system, compared with what the Win32 API says.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include "install/SystemUtilities.h"
#include "project/LanguageTable.h"
#include "project/PathResolver.h"
#include "project/StartValues.h"

namespace vesk {
namespace {

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH + 1] = {};
    return SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE) ? std::string(path) : std::string();
}

std::string ShellFoldersValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
        return std::string();
    }
    char data[2048] = {};
    DWORD size = sizeof(data) - 1;
    std::string value;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        value = data;
    }
    RegCloseKey(key);
    return value;
}

std::string WindowsDirectory() {
    char path[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

TEST(PathResolverWin32Test, EveryTokenResolvesToTheFolderTheSystemNames) {
    char buffer[MAX_PATH + 1] = {};
    GetSystemDirectoryA(buffer, MAX_PATH);
    const std::string system = buffer;
    GetTempPathA(MAX_PATH, buffer);
    std::string temp = buffer;
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    const std::string windows = WindowsDirectory();
    const std::string commonPrograms = ShellFoldersValue("Common Programs");
    const std::string commonStartup = ShellFoldersValue("Common Startup");
    ASSERT_FALSE(windows.empty());
    ASSERT_FALSE(commonPrograms.empty()) << "the system registers no Common Programs folder";

    // Read back through the shell too: the registered values are the real folders.
    EXPECT_EQ(commonPrograms, SpecialFolder(CSIDL_COMMON_PROGRAMS));
    EXPECT_EQ(commonStartup, SpecialFolder(CSIDL_COMMON_STARTUP));

    PathResolver resolver(HostSystemFacts(), HostRegistry(), "C:\\Vesk Test");
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"[Program Files]\\Vesk", windows.substr(0, 1) + ":\\Program Files\\Vesk"},
        {"[InstallDir]\\Help", "C:\\Vesk Test\\Help"},
        {"[Windows Directory]\\Fonts", windows + "\\Fonts"},
        {"[System Directory]\\Regsvr32.exe", system + "\\Regsvr32.exe"},
        {"[Desktop Directory]\\App.lnk", SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\App.lnk"},
        {"[Absolute Directory]D:\\x", "D:\\x"},
        {"[TempFileDir]\\x.tmp", temp + "\\x.tmp"},
        {"[Start Menu]\\Vesk", commonPrograms + "\\Vesk"},
        {"[Startup]\\App.lnk",
         commonPrograms + "\\" + commonStartup.substr(commonStartup.rfind('\\') + 1) + "\\App.lnk"},
        {"[QuickLaunch]\\App.lnk", "[QuickLaunch]\\App.lnk"},
        {"[Nothing]\\x", "[Nothing]\\x"},
    };
    for (const Case& c : cases) EXPECT_EQ(resolver.Resolve(c.path), c.expected) << c.path;
    // Where the shell keeps the Startup folder inside the Programs folder, both ways agree.
    if (commonStartup.rfind(commonPrograms + "\\", 0) == 0) {
        EXPECT_EQ(resolver.Resolve("[Startup]"), commonStartup);
    }
}

TEST(PathResolverWin32Test, SystemFactsMatchTheApi) {
    const SystemFacts& facts = HostSystemFacts();
    char buffer[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    EXPECT_EQ(facts.ModuleFileName(), buffer);
    DWORD size = sizeof(buffer);
    ASSERT_TRUE(GetUserNameA(buffer, &size));
    EXPECT_EQ(facts.UserName(), buffer);
    size = sizeof(buffer);
    ASSERT_TRUE(GetComputerNameA(buffer, &size));
    EXPECT_EQ(facts.ComputerName(), buffer);
    EXPECT_EQ(facts.DefaultLocaleId(), GetSystemDefaultLCID());
    EXPECT_EQ(LanguageTable(facts.DefaultLocaleId()).SystemLanguageId(),
              LanguageIdText(GetSystemDefaultLCID()));
    EXPECT_EQ(facts.PackedVersion(), GetVersion());

    SYSTEMTIME before;
    GetLocalTime(&before);
    CalendarTime now = facts.LocalTime();
    EXPECT_EQ(now.year, before.wYear);
    EXPECT_EQ(now.month, before.wMonth);

    std::vector<std::string> roots = facts.LogicalDrives();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(roots.size(), size_t(__builtin_popcount(GetLogicalDrives())));
    EXPECT_EQ(facts.TypeOfDrive("C:\\"), DriveType::Fixed);
    EXPECT_TRUE(facts.FreeBytes("C:\\").has_value());

    bool sawC = false;
    for (const DriveSpace& drive : ListDrives()) {
        EXPECT_NE(drive.letter, 'A');
        if (drive.letter == 'C') sawC = true;
    }
    EXPECT_TRUE(sawC);
    int code = OsVersionCode();
    EXPECT_TRUE(code >= kOsWin32s && code <= kOsWinXp);
}

TEST(PathResolverWin32Test, StartValuesNameTheTempFolderAndTheRunningProgram) {
    PathResolver resolver(HostSystemFacts(), HostRegistry());
    StartValues values = ComputeStartValues(resolver);
    ASSERT_GE(values.startStamp.size(), 15u);
    EXPECT_EQ(values.startStamp.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_EQ(values.runFolderPrefix, "~VeskInstall-" + values.startStamp + "-");
    EXPECT_EQ(values.setupPath, HostSystemFacts().ModuleFileName());
    const std::string tail = "\\Microsoft\\Internet Explorer\\Quick Launch\\";
    EXPECT_EQ(values.quickLaunchPath1.size() >= tail.size() &&
                  values.quickLaunchPath1.compare(values.quickLaunchPath1.size() - tail.size(),
                                                  tail.size(), tail) == 0,
              true)
        << values.quickLaunchPath1;
    // The user's own roaming Quick Launch folder, and no second candidate.
    char appData[MAX_PATH + 1] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE));
    EXPECT_EQ(values.quickLaunchPath1, appData + tail);
    EXPECT_EQ(values.quickLaunchPath2, "");
}

}  // namespace
}  // namespace vesk
