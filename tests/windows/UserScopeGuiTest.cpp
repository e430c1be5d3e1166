// A setup for the current user (InstallScope user) in the real engine: its manifest asks for no
// elevation, its wizard shows, and unattended it installs into the user's programs folder with
// HKEY_LOCAL_MACHINE untouched (the hives compared); the uninstall entry it leaves under
// HKEY_CURRENT_USER removes it again.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DemoInstall.h"
#include "GuiDriver.h"
#include "MachineSnapshot.h"
#include "builder/SetupBuilder.h"
#include "resources/ResourceIds.h"
#include "support/PeProbe.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using namespace test;

const std::string kEntry =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk User 1.0";
const std::string kClassKey = "\\Software\\Classes\\VeskUser.Document\\shell\\open\\command";

const char kProject[] =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
    "<Version>VeskInstall5.0</Version>\r\n"
    "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n<ProjectName>Vesk User</ProjectName>\r\n"
    "<CompanyDesc>Vesk Scope Works</CompanyDesc>\r\n<ProductVersion>1.0</ProductVersion>\r\n"
    "<InstallPath>[Program Files]\\Vesk User</InstallPath>\r\n"
    "<InstallScope>user</InstallScope>\r\n</SubTask>\r\n</Task>\r\n"
    "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n</Task>\r\n"
    "<Task ID=\"2007\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n</Task>\r\n"
    "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
    "<PathDesc>[InstallDir]</PathDesc>\r\n<PathValue>product</PathValue>\r\n"
    "</SubTask>\r\n</Task>\r\n"
    "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n<Description>Vesk User</Description>\r\n"
    "</SubTask>\r\n<SubTask ID=\"10002\" Type=\"CreateShortcutMenu\">\r\n"
    "<Description>Readme</Description>\r\n<File>readme.txt</File>\r\n"
    "<Folder>[InstallDir]</Folder>\r\n<IsToFileLinkGroup>1</IsToFileLinkGroup>\r\n"
    "</SubTask>\r\n</Task>\r\n"
    "<Task ID=\"2406\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"Registry\">\r\n<RegRootKey>HKEY_CURRENT_USER</RegRootKey>\r\n"
    "<RegSubKey>\\Software\\Classes\\VeskUser.Document\\shell\\open\\command</RegSubKey>\r\n"
    "<RegVarName></RegVarName>\r\n<RegVarValue>\"[InstallDir]\\readme.txt\" "
    "\"%1\"</RegVarValue>\r\n"
    "<RegDataType>0</RegDataType>\r\n<RegOperType>0</RegOperType>\r\n"
    "<IsOnlyToKey>0</IsOnlyToKey>\r\n<IsToDelete>1</IsToDelete>\r\n</SubTask>\r\n</Task>\r\n"
    "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
    "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n<CreateUnInstall1>1</CreateUnInstall1>\r\n"
    "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";

std::string LocalAppData() {
    char path[MAX_PATH] = {};
    return SHGetSpecialFolderPathA(nullptr, path, CSIDL_LOCAL_APPDATA, FALSE) ? path : "";
}

class UserScopeGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!DisplayAvailable()) return;
        dir_ = new TempDir();
        CreateDirectoryA((*dir_ / "product").c_str(), nullptr);
        WriteWholeFile(*dir_ / "product/readme.txt", "for the current user");
        WriteWholeFile(*dir_ / "project.xml", kProject);
        BuildOptions options;
        options.projectPath = *dir_ / "project.xml";
        options.outputDir = *dir_ / "out";
        options.stubPath = VESK_STUB_PATH;
        options.uninstallerPath = VESK_UNINSTALLER_PATH;
        SetupBuilder builder;
        if (builder.Build(options)) {
            setup_ = builder.Summary().outputFiles.front();
        } else {
            ADD_FAILURE() << builder.LastError();
        }
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
    }

    static TempDir* dir_;
    static std::string setup_;
};

TempDir* UserScopeGuiTest::dir_ = nullptr;
std::string UserScopeGuiTest::setup_;

TEST_F(UserScopeGuiTest, ItsWizardAsksForNoElevation) {
    const ProbedImage image = ProbePe(ReadWholeFile(setup_));
    const ProbedResource* manifest = image.Find(24, 1);
    ASSERT_NE(manifest, nullptr);
    EXPECT_NE(manifest->data.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest->data.find("requireAdministrator"), std::string::npos);

    ChildProcess setup;
    ASSERT_TRUE(setup.Start(setup_));
    const HWND wizard = WaitForWizard(setup.Id());
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(Screenshot(wizard, "UserScope-1-Welcome.bmp"));
    // The program folder goes to the user's Start menu, and the destination proposed is in the
    // user's programs folder.
    ASSERT_TRUE(PressItem(wizard, IDC_WIZARD_NEXT));
    ASSERT_TRUE(Settle(wizard));
    EXPECT_EQ(ItemText(VisiblePage(wizard), IDC_PROGRAM_FOLDER_NAME), "Vesk User");
    EXPECT_TRUE(Screenshot(wizard, "UserScope-2-ProgramFolder.bmp"));
    ASSERT_TRUE(PressItem(wizard, IDC_WIZARD_NEXT));
    ASSERT_TRUE(Settle(wizard));
    const HWND destination = VisiblePage(wizard);
    ASSERT_NE(destination, nullptr);
    EXPECT_EQ(ItemText(destination, IDC_DESTINATION_PATH),
              LocalAppData() + "\\Programs\\Vesk User");
    EXPECT_TRUE(Screenshot(wizard, "UserScope-3-Destination.bmp"));
    EXPECT_TRUE(LeaveWizard(setup.Id()));
    EXPECT_EQ(setup.WaitForExit(), 2);
}

TEST_F(UserScopeGuiTest, SlashSInstallsForTheUserAloneAndItsEntryRemovesIt) {
    const std::string folder = LocalAppData() + "\\Programs\\Vesk User";
    const MachineSnapshot before = MachineSnapshot::Take({dir_->Path()});
    ChildProcess setup;
    ASSERT_TRUE(setup.Start(setup_, "/S"));
    ASSERT_EQ(setup.WaitForExit(kInstallTimeoutMs), 0);
    EXPECT_EQ(ReadWholeFile(folder + "\\readme.txt"), "for the current user");
    EXPECT_EQ(ReadRegistryString(kUser, kClassKey, ""), "\"" + folder + "\\readme.txt\" \"%1\"");
    const std::vector<std::string> installed =
        before.DifferencesTo(MachineSnapshot::Take({dir_->Path()}));
    for (const std::string& line : installed) {
        EXPECT_EQ(line.find("HKLM\\"), std::string::npos) << line;
    }
    EXPECT_TRUE(std::any_of(installed.begin(), installed.end(), [](const std::string& line) {
        // The snapshot names keys and files in upper case.
        return line.rfind("+ HKCU\\", 0) == 0 && line.find("VESK USER 1.0") != std::string::npos;
    }));

    const std::string command = ReadRegistryString(kUser, kEntry, "QuietUninstallString");
    EXPECT_NE(command.find(LocalAppData() + "\\Programs\\VeskInstall\\Vesk-UnInstall.exe"),
              std::string::npos)
        << command;
    ChildProcess uninstall;
    ASSERT_TRUE(uninstall.StartCommandLine(command));
    EXPECT_EQ(uninstall.WaitForExit(kInstallTimeoutMs), 0);
    EXPECT_FALSE(RegistryKeyExists(kUser, kEntry));
    EXPECT_FALSE(RegistryKeyExists(kUser, "\\Software\\Classes\\VeskUser.Document"));
    EXPECT_FALSE(FileExists(folder + "\\readme.txt"));
    for (const std::string& line : before.DifferencesTo(MachineSnapshot::Take({dir_->Path()}))) {
        EXPECT_EQ(line.find("HKLM\\"), std::string::npos) << line;
        EXPECT_EQ(line.find("VESK USER"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace vesk
