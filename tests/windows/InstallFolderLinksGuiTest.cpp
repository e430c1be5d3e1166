// Links planted in an install folder that ordinary users can write, under Wine: an unattended
// install and an uninstall refuse them rather than write, keep or delete anything through them,
// and leave the folder they lead to as it was. A folder the setup makes gets an access list of
// its own. Links are made by the host's ln inside the prefix's drive.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "DemoInstall.h"
#include "GuiDriver.h"
#include "HostLinks.h"
#include "platform/AccessWin32.h"
#include "platform/HandleWin32.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using namespace test;  // the demo's helpers and constants

// The install folder, below a folder every user may write, and the "system" folder the links
// lead to, with files named as the product's.
const std::string kFolder = kTestRoot + "\\Links\\Product";
const std::string kSystem = kTestRoot + "\\System";
const std::string kLog = kFolder + "\\VeskInstall Vesk Demo 1.2.xml";

class InstallFolderLinksGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!DisplayAvailable()) return;
        setupDir_ = new TempDir();
        setup_ = BuildDemoVariant(*setupDir_, nullptr, "", VESK_UNINSTALLER_PATH);
    }
    static void TearDownTestSuite() {
        if (DisplayAvailable()) Clear();
        delete setupDir_;
        setupDir_ = nullptr;
    }
    static void Clear() {
        RemoveLinksFolder(kTestRoot + "\\Links");
        RemoveTheDemo();
    }
    void SetUp() override {
        if (!DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
        Clear();
        fs::create_directories(kSystem + "\\gallery");
        ASSERT_TRUE(WriteWholeFile(kSystem + "\\samples.zip", "the system's"));
        ASSERT_TRUE(WriteWholeFile(kSystem + "\\system.ini", "[the system's]"));
        ASSERT_TRUE(WriteWholeFile(kSystem + "\\gallery\\dunes.png", "the system's picture"));
        before_ = FilesBelow(kSystem);
        fs::create_directories(kFolder);
    }
    void TearDown() override { Clear(); }

    long Run(const std::string& program, const std::string& arguments) {
        ChildProcess process;
        if (!process.Start(program, arguments)) return -2;
        return process.WaitForExit(kInstallTimeoutMs);
    }
    long InstallUnattended() { return Run(setup_, "/S /D=" + kFolder); }

    static TempDir* setupDir_;
    static std::string setup_;
    std::map<std::string, std::string> before_;
};

TempDir* InstallFolderLinksGuiTest::setupDir_ = nullptr;
std::string InstallFolderLinksGuiTest::setup_;

TEST_F(InstallFolderLinksGuiTest, AnInstallRefusesALinkWhereAFileOrFolderGoes) {
    struct Case {
        const char* what;
        std::string link;    // planted in the install folder
        std::string target;  // what it leads to
        bool folder;
    };
    const Case cases[] = {
        {"a folder link", kFolder + "\\data", kSystem, true},
        {"the log's name", kLog, kSystem + "\\system.ini", false},
        {"a dangling link under a product file's name", kFolder + "\\Readme.txt",
         kSystem + "\\created.txt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        // A dangling link is made to a file that then goes (the host's ln waits to see it).
        const bool dangling = !fs::exists(c.target);
        if (dangling) {
            ASSERT_TRUE(WriteWholeFile(c.target, "soon gone"));
        }
        ASSERT_TRUE(MakeLink(c.target, c.link, c.folder));
        if (dangling) {
            ASSERT_TRUE(DeleteFileA(c.target.c_str()));
        }
        EXPECT_EQ(InstallUnattended(), 1);
        EXPECT_EQ(FilesBelow(kSystem), before_) << "written, kept or deleted through the link";
        EXPECT_FALSE(fs::exists(kSystem + "\\created.txt"));
    }
}

TEST_F(InstallFolderLinksGuiTest, AnUninstallRemovesNothingThroughALinkInTheInstallFolder) {
    ASSERT_EQ(InstallUnattended(), 0);
    ASSERT_TRUE(fs::exists(kFolder + "\\data\\samples.zip"));
    // The product's data folder swapped for a link to the system's.
    RemoveLinksFolder(kFolder + "\\data");
    ASSERT_TRUE(MakeLink(kSystem, kFolder + "\\data", true));
    ChildProcess uninstaller;
    ASSERT_TRUE(uninstaller.StartCommandLine("\"" + WindowsFolder() + "\\Vesk-UnInstall.exe\" \"" +
                                             kLog + "\" /S"));
    const long code = uninstaller.WaitForExit(kInstallTimeoutMs);
    EXPECT_TRUE(fs::exists(kSystem)) << "the folder the link leads to was removed";
    EXPECT_EQ(FilesBelow(kSystem), before_) << "deleted through the link";
    EXPECT_FALSE(fs::exists(kFolder + "\\Readme.txt"))
        << "the product's own files stay, exit code " << code;
}

TEST_F(InstallFolderLinksGuiTest, AFolderTheSetupMakesIsOpenToAdministratorsAlone) {
    if (!RunsElevated()) GTEST_SKIP() << "the tests do not run elevated";
    if (UnderWine()) GTEST_SKIP() << "Wine keeps no access lists the setup could set";
    const std::string made = kTestRoot + "\\Links\\Made\\Here";
    ASSERT_EQ(Run(setup_, "/S /D=" + made), 0);
    for (const std::string& folder : {made, made + "\\data", kTestRoot + "\\Links\\Made"}) {
        FileHandle handle(CreateFileA(folder.c_str(), READ_CONTROL, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(handle) << folder;
        EXPECT_FALSE(OthersMayWrite(handle.get())) << folder;
    }
}

}  // namespace
}  // namespace vesk
