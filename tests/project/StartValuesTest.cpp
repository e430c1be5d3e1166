// Start-up values: the time stamp, the temporary project path, stamped names and the Quick
// Launch candidates.
#include <gtest/gtest.h>

#include "project/StartValues.h"
#include "project/TimeStamp.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::FakeSystemFacts;
using test::MemoryRegistry;

const char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(TimeStampTest, PadsEveryFieldButTheYearAndTheMilliseconds) {
    struct Case {
        CalendarTime time;
        const char* text;
    };
    const Case cases[] = {
        {{2004, 3, 5, 14, 3, 7, 45}, "2004030514030745"},
        {{2004, 3, 2, 9, 5, 3, 7}, "200403020905037"},
        {{2004, 3, 2, 9, 5, 9, 45}, "2004030209050945"},
        {{1999, 12, 31, 23, 59, 59, 999}, "19991231235959999"},
        {{2010, 1, 1, 0, 0, 0, 0}, "201001010000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeStampText(c.time), c.text);
}

TEST(StartValuesTest, XpValuesComeFromTheClockAndTheUsersProfile) {
    FakeSystemFacts facts;
    MemoryRegistry registry;
    registry.PutString(RegistryRoot::LocalMachine, kShellFolders, "Common AppData",
                       "C:\\Documents and Settings\\All Users\\Application Data");
    PathResolver resolver(facts, registry);
    StartValues values = ComputeStartValues(resolver);
    EXPECT_EQ(values.startStamp, "2004030514030745");
    EXPECT_EQ(values.runFolderPrefix, "~VeskInstall-2004030514030745-");
    EXPECT_EQ(values.setupPath, "C:\\Setup\\Setup.exe");
    EXPECT_EQ(values.userName, "Ann");
    EXPECT_EQ(values.quickLaunchPath1,
              "C:\\Documents and Settings\\Ann\\Application Data\\Microsoft\\Internet "
              "Explorer\\Quick Launch\\");
    EXPECT_EQ(values.quickLaunchPath2, "");
    EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(StartValuesTest, QuickLaunchCandidatesFollowTheSystemFamily) {
    struct Case {
        const char* system;
        const char* appData;  // the user's roaming application data; null: the shell names none
        std::string first;
        std::string second;
    };
    const std::string kTail = "\\Microsoft\\Internet Explorer\\Quick Launch\\";
    const Case cases[] = {
        {"98", "C:\\ignored", "C:\\WINDOWS\\Application Data" + kTail,
         "C:\\WINDOWS\\Profiles\\Ann\\Application Data" + kTail},
        {"Me", nullptr, "C:\\WINDOWS\\Application Data" + kTail,
         "C:\\WINDOWS\\Profiles\\Ann\\Application Data" + kTail},
        // One folder from Windows 2000 on: the user's own, which the system keeps (the all-users
        // profile holds none).
        {"2000", "D:\\Profiles\\Ann\\Anwendungsdaten", "D:\\Profiles\\Ann\\Anwendungsdaten" + kTail,
         ""},
        {"XP", "C:\\Users\\Ann\\AppData\\Roaming", "C:\\Users\\Ann\\AppData\\Roaming" + kTail, ""},
        {"XP", nullptr, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        FakeSystemFacts facts;
        facts.ActAs(c.system);
        facts.appDataFolder = c.appData ? std::optional<std::string>(c.appData) : std::nullopt;
        MemoryRegistry registry;
        registry.PutString(RegistryRoot::LocalMachine, kShellFolders, "Common AppData",
                           "C:\\Documents and Settings\\All Users\\Application Data");
        PathResolver resolver(facts, registry);
        QuickLaunchFolders folders = QuickLaunchCandidates(resolver, "Ann");
        EXPECT_EQ(folders.first, c.first);
        EXPECT_EQ(folders.second, c.second);
    }
}

TEST(StartValuesTest, TempNamesCarryTheStampBeforeTheFileName) {
    FakeSystemFacts facts;
    MemoryRegistry registry;
    PathResolver resolver(facts, registry, "C:\\App");
    struct Case {
        const char* path;
        const char* temp;
    };
    const Case cases[] = {
        {"[TempFileDir]\\~VeskInstall-AdPicture.bmp", "C:\\TEMP\\S1~VeskInstall-AdPicture.bmp"},
        {"[TempFileDir]\\~VeskInstall-Language.ini", "C:\\TEMP\\S1~VeskInstall-Language.ini"},
        {"[InstallDir]\\sub\\a.txt", "C:\\App\\sub\\S1a.txt"},
        {"plain.txt", "S1plain.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(TempNameFor(c.path, "S1", resolver), c.temp);
}

}  // namespace
}  // namespace vesk
