// The demo installed through its wizard and removed again by Vesk-UnInstall.exe under Wine: once
// through the uninstaller's window by control ID, with a file the user added and a file in use,
// and once silently as the uninstall entry's quiet command runs it. Afterwards nothing of the
// product is left but what the user made, and the shared uninstaller.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <filesystem>
#include <map>
#include <string>

#include "DemoMachine.h"
#include "GuiDriver.h"
#include "builder/SetupBuilder.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"
#include "uninstaller/UninstallerIds.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::ReadRegistryString;
using test::RegistryKeyExists;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr DWORD kInstallTimeoutMs = 60000;
// The demo's own proposal, as a user who takes every default installs it.
const std::string kCompanyFolder = "C:\\Program Files\\Vesk Demo Company";
const std::string kDefaultFolder = kCompanyFolder + "\\Vesk Demo";
// A folder of the user's choosing, with blanks.
const std::string kChosenFolder = "C:\\Vesk Quiet Test";
// A folder named in Cyrillic and Chinese, which the system's code page (1252) cannot hold:
// "C:\\Программы\\中文 тест".
const std::string kScriptParent =
    "C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B";
const std::string kScriptFolder =
    kScriptParent + "\\\xE4\xB8\xAD\xE6\x96\x87 \xD1\x82\xD0\xB5\xD1\x81\xD1\x82";
const std::string kWindowTitle = std::string(test::kDemoTitle) + " Uninstall";
const std::string kRemoved =
    std::string(test::kDemoTitle) + " has been removed from your computer.";
constexpr char kPendingKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingValue[] = "PendingFileRenameOperations";

std::string Uninstaller() {
    return test::WindowsFolder() + "\\Vesk-UnInstall.exe";
}

// The files below `folder`, or nothing when it is gone.
std::map<std::string, std::string> FilesIn(const std::string& folder) {
    return fs::exists(folder) ? test::FilesBelow(folder) : std::map<std::string, std::string>();
}

// Removes the pending removals the test asked for, so the prefix's next start does nothing.
void ForgetPendingRemovals() {
    if (auto key = HostRegistry().Open(kMachine, kPendingKey, RegistryAccess::All)) {
        key->DeleteValue(kPendingValue);
    }
}

class UninstallGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::DisplayAvailable()) return;
        setupDir_ = new test::TempDir();
        BuildOptions options;
        options.projectPath = test::DemoFile("project.xml");
        options.outputDir = *setupDir_ / "setup";
        options.stubPath = VESK_STUB_PATH;
        options.uninstallerPath = VESK_UNINSTALLER_PATH;
        SetupBuilder builder;
        if (!builder.Build(options)) {
            ADD_FAILURE() << builder.LastError();
            return;
        }
        setup_ = builder.Summary().outputFiles.front();
    }
    static void TearDownTestSuite() {
        if (test::DisplayAvailable()) RemoveEverything();
        delete setupDir_;
        setupDir_ = nullptr;
    }
    static void RemoveEverything() {
        test::RemoveTheDemo(kCompanyFolder);
        std::error_code ec;
        fs::remove_all(kChosenFolder, ec);
        fs::remove_all(fs::u8path(kScriptParent), ec);
        ForgetPendingRemovals();
    }
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
        RemoveEverything();
        fontListingBefore_ =
            ReadRegistryString(kMachine, std::string("\\") + test::kFontsKey, test::kDemoFontName);
    }

    // Installs the demo through its wizard, into `folder` when given, else where it proposes.
    void InstallTheDemo(const std::string& folder) {
        test::ChildProcess setup;
        ASSERT_TRUE(setup.Start(setup_));
        HWND frame = test::WaitForWizard(setup.Id(), 30000);
        ASSERT_NE(frame, nullptr) << "the wizard did not appear";
        ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT));
        ASSERT_TRUE(test::PressItem(test::VisiblePage(frame), IDC_LICENCE_ACCEPT));
        for (int i = 0; i < 4; ++i) {  // licence, readme, user information, program folder
            ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT));
        }
        HWND destination = test::VisiblePage(frame);
        ASSERT_NE(GetDlgItem(destination, IDC_DESTINATION_PATH), nullptr);
        if (!folder.empty()) test::SetItemText(destination, IDC_DESTINATION_PATH, folder);
        ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT));
        const DWORD start = GetTickCount();
        while (IsWindowEnabled(GetDlgItem(frame, IDC_WIZARD_CANCEL)) &&
               GetTickCount() - start < kInstallTimeoutMs) {
            Sleep(50);
        }
        // The finish page: leave the readme unopened.
        if (HWND box = GetDlgItem(test::VisiblePage(frame), 1000)) {
            SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT));
        ASSERT_EQ(setup.WaitForExit(kInstallTimeoutMs), 0);
    }

    // Nothing of the product but `userFiles` below `folder`, and the shared uninstaller.
    void ExpectTheProductGone(const std::string& folder,
                              const std::map<std::string, std::string>& userFiles) {
        EXPECT_EQ(FilesIn(folder), userFiles);
        for (const char* empty : {"\\logs", "\\docs", "\\data\\gallery"}) {
            EXPECT_FALSE(fs::exists(folder + empty)) << folder + empty;
        }
        const std::string group = test::ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo";
        EXPECT_FALSE(fs::exists(group)) << "the program group stays";
        EXPECT_FALSE(
            fs::exists(test::ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vesk Demo Readme.Lnk"));
        EXPECT_FALSE(fs::exists(test::WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf"));
        // The listing the install wrote is gone; one that was there before (Wine lists the
        // host's copy of the font under the same name) is back.
        EXPECT_EQ(
            ReadRegistryString(kMachine, std::string("\\") + test::kFontsKey, test::kDemoFontName),
            fontListingBefore_);
        for (const auto& key :
             {std::make_pair(kMachine, std::string("\\SOFTWARE\\Vesk Demo Company\\Vesk Demo")),
              std::make_pair(kUser, std::string("\\Software\\Vesk Demo Company\\Vesk Demo")),
              std::make_pair(kMachine, test::kDemoProductKey),
              std::make_pair(kMachine, test::kDemoUninstallKey)}) {
            EXPECT_FALSE(RegistryKeyExists(key.first, key.second)) << key.second;
        }
        // Shared with every product of the engine: the uninstaller and its texts.
        EXPECT_TRUE(fs::exists(Uninstaller()));
        EXPECT_TRUE(fs::exists(test::SystemFolder() + "\\VeskInstall\\409.ini"));
    }

    std::string fontListingBefore_;
    static test::TempDir* setupDir_;
    static std::string setup_;
};

test::TempDir* UninstallGuiTest::setupDir_ = nullptr;
std::string UninstallGuiTest::setup_;

TEST_F(UninstallGuiTest, TheUninstallersWindowRemovesTheDemoAndKeepsTheUsersFile) {
    InstallTheDemo("");
    ASSERT_FALSE(HasFailure());
    const std::string uninstall =
        ReadRegistryString(kMachine, test::kDemoUninstallKey, "UninstallString");
    const std::string log = kDefaultFolder + "\\VeskInstall Vesk Demo 1.2.xml";
    ASSERT_EQ(uninstall, "\"" + Uninstaller() + "\" \"" + log + "\"");
    // The user's own file beside the product's, and a product file held open by a program.
    ASSERT_TRUE(test::WriteWholeFile(kDefaultFolder + "\\data\\notes.txt", "mine\r\n"));
    const std::string inUse = kDefaultFolder + "\\docs\\Guide.htm";
    HANDLE held = CreateFileA(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    test::ChildProcess uninstaller;
    ASSERT_TRUE(uninstaller.StartCommandLine(uninstall));
    HWND window = test::WaitForTopWindow(uninstaller.Id(), kWindowTitle);
    ASSERT_NE(window, nullptr) << "the uninstaller's window did not appear";
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_SUBJECT), "Uninstall Program");
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_DESC),
              "The program will be removed from your computer.");
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_STATUS), "Status: Ready to uninstall.");
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_START), "&Uninstall");
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_CLOSE), "&Close");
    test::Settle(window);
    EXPECT_TRUE(test::Screenshot(window, "Uninstall-1-Window.bmp"));

    ASSERT_TRUE(test::ClickItem(window, IDC_UNINSTALL_START));
    HWND message = test::WaitForMessageBox(uninstaller.Id(), window, kInstallTimeoutMs);
    ASSERT_NE(message, nullptr) << "no message at the end";
    const std::string said = test::MessageBoxText(message);
    EXPECT_EQ(said.rfind(kRemoved, 0), 0u) << said;
    EXPECT_NE(said.find("removed when Windows restarts:\r\n" + inUse), std::string::npos) << said;
    EXPECT_TRUE(test::Screenshot(message, "Uninstall-2-Message.bmp"));
    ASSERT_TRUE(test::ClickItem(message, IDOK));
    ASSERT_TRUE(test::WaitForWindowGone(message));
    test::Settle(window);
    // The header says what was done, no longer what Uninstall will do; the lines about the
    // buttons and the work under way are empty.
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_DESC), kRemoved);
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_DESC2), "");
    EXPECT_EQ(test::ItemText(window, IDC_UNINSTALL_STATUS), "");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_UNINSTALL_START)));
    EXPECT_TRUE(test::Screenshot(window, "Uninstall-3-Done.bmp"));
    ASSERT_TRUE(test::ClickItem(window, IDC_UNINSTALL_CLOSE));
    // Removed, but a file waits for the restart.
    EXPECT_EQ(uninstaller.WaitForExit(), 3010);

    // The file in use and its folder are listed for the restart; let it go now.
    const std::string pending =
        ReadRegistryString(kMachine, std::string("\\") + kPendingKey, kPendingValue);
    EXPECT_NE(pending.find(inUse), std::string::npos) << pending;
    CloseHandle(held);
    ForgetPendingRemovals();
    std::error_code ec;
    fs::remove(inUse, ec);
    fs::remove(kDefaultFolder + "\\docs", ec);

    ExpectTheProductGone(kDefaultFolder, {{"data/notes.txt", "mine\r\n"}});
    // The user's file keeps its folders; nothing else is left in them.
    EXPECT_EQ(FilesIn(kCompanyFolder),
              (std::map<std::string, std::string>{{"Vesk Demo/data/notes.txt", "mine\r\n"}}));
}

TEST_F(UninstallGuiTest, TheQuietUninstallRemovesEverythingWithoutAWindow) {
    InstallTheDemo(kChosenFolder);
    ASSERT_FALSE(HasFailure());
    // The entry's quiet command; until the entry carries one, the uninstall command with /S.
    std::string quiet =
        ReadRegistryString(kMachine, test::kDemoUninstallKey, "QuietUninstallString");
    if (quiet.rfind("(no ", 0) == 0) {
        quiet = ReadRegistryString(kMachine, test::kDemoUninstallKey, "UninstallString") + " /S";
    }
    ASSERT_EQ(quiet, "\"" + Uninstaller() + "\" \"" + kChosenFolder +
                         "\\VeskInstall Vesk Demo 1.2.xml\" /S");
    test::ChildProcess uninstaller;
    ASSERT_TRUE(uninstaller.StartCommandLine(quiet));
    EXPECT_EQ(uninstaller.WaitForExit(kInstallTimeoutMs), 0);
    ExpectTheProductGone(kChosenFolder, {});
    EXPECT_FALSE(fs::exists(kChosenFolder)) << "the install folder stays";

    // Run again, the log is gone: nothing to do, said by the exit code alone.
    test::ChildProcess again;
    ASSERT_TRUE(again.StartCommandLine(quiet));
    EXPECT_EQ(again.WaitForExit(), 1);
}

TEST_F(UninstallGuiTest, AFolderOfAnyScriptInstallsUnattendedAndLeavesThroughTheEntry) {
    test::ChildProcess setup;
    ASSERT_TRUE(setup.Start(setup_, "/S /D=" + kScriptFolder));
    EXPECT_EQ(setup.WaitForExit(kInstallTimeoutMs), 0);
    const std::string log = kScriptFolder + "\\VeskInstall Vesk Demo 1.2.xml";
    EXPECT_TRUE(fs::exists(fs::u8path(log))) << "no log in the folder";
    EXPECT_TRUE(fs::exists(fs::u8path(kScriptFolder + "\\docs\\Guide.htm")));
    const std::string quiet =
        ReadRegistryString(kMachine, test::kDemoUninstallKey, "UninstallString") + " /S";
    ASSERT_EQ(quiet, "\"" + Uninstaller() + "\" \"" + log + "\" /S");
    test::ChildProcess uninstaller;
    ASSERT_TRUE(uninstaller.StartCommandLine(quiet));
    EXPECT_EQ(uninstaller.WaitForExit(kInstallTimeoutMs), 0);
    EXPECT_FALSE(fs::exists(fs::u8path(kScriptFolder))) << "the install folder stays";
    EXPECT_FALSE(RegistryKeyExists(kMachine, test::kDemoUninstallKey));
}

TEST_F(UninstallGuiTest, AMissingLogAndAWrongLineAreExplained) {
    const struct {
        const char* name;
        std::string arguments;
        std::string said;  // the start of the message
        const char* screenshot;
        long exitCode;
    } cases[] = {
        {"missing log", " \"C:\\Nowhere\\VeskInstall Vesk Demo 1.2.xml\"",
         "The install log C:\\Nowhere\\VeskInstall Vesk Demo 1.2.xml is not there",
         "Uninstall-4-MissingLog.bmp", 1},
        {"unknown switch", " /X \"C:\\Nowhere\\log.xml\"", "Unknown switch /X.",
         "Uninstall-5-WrongLine.bmp", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ChildProcess uninstaller;
        ASSERT_TRUE(uninstaller.StartCommandLine("\"" + std::string(VESK_UNINSTALLER_PATH) + "\"" +
                                                 c.arguments));
        HWND message = test::WaitForMessageBox(uninstaller.Id(), nullptr);
        ASSERT_NE(message, nullptr);
        const std::string said = test::MessageBoxText(message);
        EXPECT_EQ(said.rfind(c.said, 0), 0u) << said;
        EXPECT_TRUE(test::Screenshot(message, c.screenshot));
        ASSERT_TRUE(test::ClickItem(message, IDOK));
        EXPECT_EQ(uninstaller.WaitForExit(), c.exitCode);
    }
}

}  // namespace
}  // namespace vesk
