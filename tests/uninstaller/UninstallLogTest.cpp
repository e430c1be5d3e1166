// The log and texts the uninstaller starts from: a log it may trust, and the kept language file
// in front of the engine's own.
#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "support/TempDir.h"
#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallTexts.h"

namespace vesk {
namespace {

const std::string kWhole =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
    "<Version>VeskInstall5.0</Version>\r\n"
    "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n<ProjectName>Demo</ProjectName>\r\n"
    "<ProductVersion>1.2</ProductVersion>\r\n</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";

TEST(UninstallLogTest, ReadsOnlyAWholeLogThatNamesItsProduct) {
    test::TempDir dir;
    const struct {
        const char* name;
        std::string content;  // "-" for no file
        LogState state;
    } cases[] = {
        {"whole", kWhole, LogState::Read},
        {"without its last line end", kWhole.substr(0, kWhole.size() - 2), LogState::Read},
        {"missing", "-", LogState::Missing},
        {"empty", "", LogState::Damaged},
        {"cut short", kWhole.substr(0, kWhole.size() / 2), LogState::Damaged},
        {"naming no product",
         "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n</InstallProject>\r\n",
         LogState::Damaged},
        {"not a log", std::string("MZ\x90\0\3\0", 6), LogState::Damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / (std::string(c.name) + ".xml");
        if (c.content != "-") {
            ASSERT_TRUE(HostFileSystem().WriteWholeFile(path, c.content));
        }
        InstallProject log;
        EXPECT_EQ(ReadUninstallLog(HostFileSystem(), path, log), c.state);
        if (c.state == LogState::Read) {
            EXPECT_EQ(ProductTitle(log), "Demo 1.2");
        }
    }
}

TEST(UninstallLogTest, TextsComeFromTheKeptFileThenFromTheEnginesOwn) {
    UninstallTexts english(0x409);
    EXPECT_EQ(english.Get(UninstallText::UnInstallButtonDesc), "&Uninstall");
    EXPECT_EQ(english.Get(UninstallText::UnInstallComplete),
              " has been removed from your computer.");
    TextLineList kept;
    kept.Add("UnInstallButtonDesc=&Remove");
    kept.Add("UnInstallComplete");  // no "=": not the key
    english.Keep(kept);
    EXPECT_EQ(english.Get(UninstallText::UnInstallButtonDesc), "&Remove");
    EXPECT_EQ(english.Get(UninstallText::UnInstallComplete),
              " has been removed from your computer.");

    // A Chinese system without a kept file reads the engine's Chinese section (stored in GB2312,
    // read as UTF-8).
    UninstallTexts chinese(0x804);
    EXPECT_EQ(chinese.Get(UninstallText::CloseButtonDesc), "\xE5\x85\xB3\xE9\x97\xAD(&C)");
    EXPECT_EQ(UninstallTexts::KeptFileName(0x804), "804.ini");
}

}  // namespace
}  // namespace vesk
