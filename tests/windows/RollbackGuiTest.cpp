// Undo under Wine, checked on the whole machine: the registry's hives (as Wine saves them, its
// timestamps aside) and every file of drive C before and after. A wizard cancelled while a
// component registers, an unattended setup that misses a volume, a later setup left after its
// user information page, and a full uninstall leave the machine as it was (the uninstall apart
// from the user's own file and what every product of the engine shares).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "DemoInstall.h"
#include "EnglishTexts.h"
#include "GuiDriver.h"
#include "MachineSnapshot.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using namespace test;

const std::string kFolder = kTestRoot + "\\Undo Demo";
const std::string kComponentKey = "\\SOFTWARE\\Vesk Test Component";

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The demo with a component registered through the registration program: the test component,
// which holds the components phase while VESK_TEST_COMPONENT_HOLD names a missing file.
std::string BuildComponentDemo(const TempDir& dir, const std::string& uninstaller = "") {
    return BuildDemoVariant(
        dir,
        [&dir](std::string& project) {
            std::error_code ec;
            fs::copy_file(VESK_COMPONENT_PATH, dir / "demo\\product\\component.dll", ec);
            project.insert(project.find("</InstallProject>"),
                           "<Task ID=\"2405\" Type=\"DataSetting\" IsExec=\"0\">\n"
                           "  <SubTask ID=\"10001\" Type=\"GetValue\">\n"
                           "    <File>[InstallDir]\\component.dll</File>\n"
                           "  </SubTask>\n</Task>\n");
        },
        "", uninstaller);
}

class RollbackGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!DisplayAvailable()) return;
        setupDir_ = new TempDir();
        setup_ = BuildComponentDemo(*setupDir_, VESK_UNINSTALLER_PATH);
    }
    static void TearDownTestSuite() {
        if (DisplayAvailable()) RemoveTheDemo();
        delete setupDir_;
        setupDir_ = nullptr;
    }
    void SetUp() override {
        if (!DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
        RemoveTheDemo();
        // What every product of the engine shares too: each test starts on a machine that never
        // saw the engine.
        std::error_code ec;
        fs::remove_all(SystemFolder() + "\\VeskInstall", ec);
        DeleteRegistryTree(kMachine, "SOFTWARE", "VeskSoft");
        SetEnvironment("VESK_TEST_COMPONENT_HOLD", "");
    }
    void TearDown() override { SetEnvironment("VESK_TEST_COMPONENT_HOLD", ""); }

    // The machine now, without the folders the tests build and keep their own files in.
    static MachineSnapshot Snapshot() { return MachineSnapshot::Take({setupDir_->Path()}); }

    // Walks the wizard to the install, taking every proposal but the install folder.
    static void StartTheInstall(HWND frame) {
        ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT));
        ASSERT_TRUE(PressItem(VisiblePage(frame), IDC_LICENCE_ACCEPT));
        for (int i = 0; i < 4; ++i) ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT));
        ASSERT_TRUE(SetItemText(VisiblePage(frame), IDC_DESTINATION_PATH, kFolder));
        ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT));
    }

    static TempDir* setupDir_;
    static std::string setup_;
    TempDir dir_;
};

TempDir* RollbackGuiTest::setupDir_ = nullptr;
std::string RollbackGuiTest::setup_;

TEST_F(RollbackGuiTest, CancelWhileAComponentRegistersLeavesHivesAndDiskAsTheyWere) {
    const MachineSnapshot before = Snapshot();
    const std::string hold = dir_ / "component-hold";
    SetEnvironment("VESK_TEST_COMPONENT_HOLD", hold);
    ChildProcess setup;
    ASSERT_TRUE(setup.Start(setup_));
    HWND frame = WaitForWizard(setup.Id(), 30000);
    ASSERT_NE(frame, nullptr);
    StartTheInstall(frame);
    // The component is being registered: its key is there and the registration waits.
    const DWORD start = GetTickCount();
    while (!RegistryKeyExists(kMachine, kComponentKey) &&
           GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(50);
    }
    ASSERT_TRUE(RegistryKeyExists(kMachine, kComponentKey)) << "the component was not registered";
    EXPECT_EQ(ItemText(VisiblePage(frame), IDC_PROGRESS_STATUS),
              EnglishText(TextKey::RegisterComDesc));
    EXPECT_TRUE(Screenshot(frame, "Rollback-1-Components.bmp"));
    ASSERT_TRUE(PressItem(frame, IDC_WIZARD_CANCEL));
    ASSERT_TRUE(WriteWholeFile(hold, "go on"));
    HWND question = WaitForMessageBox(setup.Id(), nullptr, 30000);
    ASSERT_NE(question, nullptr) << "no cancel question";
    EXPECT_EQ(MessageBoxText(question), EnglishText(TextKey::ExitInstallMessage));
    EXPECT_TRUE(Screenshot(question, "Rollback-2-CancelQuestion.bmp"));
    ASSERT_TRUE(ClickItem(question, IDYES));
    EXPECT_EQ(setup.WaitForExit(kInstallTimeoutMs), 2);

    EXPECT_EQ(before.DifferencesTo(Snapshot()), std::vector<std::string>());
}

TEST_F(RollbackGuiTest, AMissingVolumeUnderSlashSLeavesHivesAndDiskAsTheyWere) {
    const std::string alone = dir_ / "alone\\Setup.exe";
    fs::create_directories(dir_ / "alone");
    ASSERT_TRUE(CopyFileA(setup_.c_str(), alone.c_str(), FALSE));
    const MachineSnapshot before = Snapshot();
    ChildProcess setup;
    ASSERT_TRUE(setup.Start(alone, "/S /D=" + kFolder));
    EXPECT_EQ(setup.WaitForExit(kInstallTimeoutMs), 1);
    EXPECT_EQ(before.DifferencesTo(Snapshot()), std::vector<std::string>());
}

TEST_F(RollbackGuiTest, ALaterSetupLeftAfterItsUserPageKeepsTheInstalledValues) {
    ChildProcess first;
    ASSERT_TRUE(first.Start(setup_, "/S /D=" + kFolder));
    ASSERT_EQ(first.WaitForExit(kInstallTimeoutMs), 0);
    const std::string company = "\\SOFTWARE\\Vesk Demo Company\\Vesk Demo";
    const std::string userName = ReadRegistryString(kMachine, company, "UserName");
    ASSERT_NE(userName, "(no value)");
    const MachineSnapshot before = Snapshot();

    ChildProcess later;
    ASSERT_TRUE(later.Start(setup_));
    HWND frame = WaitForWizard(later.Id(), 30000);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT));
    ASSERT_TRUE(PressItem(VisiblePage(frame), IDC_LICENCE_ACCEPT));
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT));
    HWND page = VisiblePage(frame);
    ASSERT_TRUE(SetItemText(page, IDC_USER_NAME, "Somebody Else"));
    ASSERT_TRUE(SetItemText(page, IDC_USER_COMPANY, "Another Company"));
    ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT));
    // Leaving the page wrote the values, as the page always did ...
    EXPECT_EQ(ReadRegistryString(kMachine, company, "UserName"), "Somebody Else");
    EXPECT_TRUE(LeaveWizard(later.Id()));
    EXPECT_EQ(later.WaitForExit(), 2);
    // ... and the setup that was left gave the installed ones back.
    EXPECT_EQ(ReadRegistryString(kMachine, company, "UserName"), userName);
    EXPECT_EQ(before.DifferencesTo(Snapshot()), std::vector<std::string>());
}

TEST_F(RollbackGuiTest, AFullUninstallLeavesTheMachineAsBeforeButTheUsersFile) {
    const MachineSnapshot before = Snapshot();
    ChildProcess setup;
    ASSERT_TRUE(setup.Start(setup_, "/S /D=" + kFolder));
    ASSERT_EQ(setup.WaitForExit(kInstallTimeoutMs), 0);
    ASSERT_TRUE(RegistryKeyExists(kMachine, kComponentKey));
    ASSERT_TRUE(WriteWholeFile(kFolder + "\\my notes.txt", "the user's"));
    ChildProcess uninstall;
    ASSERT_TRUE(uninstall.StartCommandLine(
        ReadRegistryString(kMachine, kDemoUninstallKey, "QuietUninstallString")));
    EXPECT_EQ(uninstall.WaitForExit(kInstallTimeoutMs), 0);

    // What stays: the user's file with its folders, and what every product of the engine
    // shares: the uninstaller, its language file, its version, the records' folder.
    const std::string windows = Upper(WindowsFolder()), system = Upper(SystemFolder());
    std::vector<std::string> expected = {
        "+ " + Upper(kTestRoot),
        "+ " + Upper(kFolder),
        "+ " + Upper(kFolder) + "\\MY NOTES.TXT",
        "+ " + system + "\\VESKINSTALL",
        "+ " + system + "\\VESKINSTALL\\409.INI",
        "+ " + system + "\\VESKINSTALL\\RECORDS",
        "+ " + windows + "\\VESK-UNINSTALL.EXE",
        "+ HKLM\\SOFTWARE\\VESKSOFT\\VESKINSTALL",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(before.DifferencesTo(Snapshot()), expected);
    EXPECT_FALSE(RegistryKeyExists(kMachine, kComponentKey)) << "not unregistered";
}

}  // namespace
}  // namespace vesk
