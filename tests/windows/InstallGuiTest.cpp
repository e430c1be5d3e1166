// The real engine installs the demo under Wine, driven through its wizard by control ID: every
// file, the font, the registry items, the shortcuts read back through the shell, the uninstall
// record; a second run proposes the same folder; a run cancelled in the file phase, one whose
// second volume is missing and one whose second volume is damaged roll back and give back the
// user's files.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>
#include <set>
#include <string>

#include "DemoInstall.h"
#include "EnglishTexts.h"
#include "GuiDriver.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using namespace test;  // the demo's helpers and constants

const std::string kFolder = kTestRoot + "\\Demo";

class InstallGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::DisplayAvailable()) return;
        setupDir_ = new test::TempDir();
        setup_ = BuildDemoVariant(*setupDir_);
    }
    static void TearDownTestSuite() {
        if (test::DisplayAvailable()) RemoveTheDemo();
        delete setupDir_;
        setupDir_ = nullptr;
    }
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
        RemoveTheDemo();
        SetEnvironment("VESK_TEST_MARKER", dir_ / "ran-in.txt");
        SetEnvironment("VESK_TEST_HOLD", "");
    }
    void TearDown() override {
        SetEnvironment("VESK_TEST_MARKER", "");
        SetEnvironment("VESK_TEST_HOLD", "");
    }

    HWND Start(const std::string& setup) {
        tempBefore_ = RunFilesInTemp();
        if (!process_.Start(setup)) return nullptr;
        return test::WaitForWizard(process_.Id(), 30000);
    }
    void Next(HWND frame) { ASSERT_TRUE(test::PressItem(frame, IDC_WIZARD_NEXT)); }
    // Walks from the welcome page to the destination page, accepting the licence.
    HWND WalkToDestination(HWND frame) {
        Next(frame);
        HWND licence = test::VisiblePage(frame);
        EXPECT_TRUE(test::PressItem(licence, IDC_LICENCE_ACCEPT));
        for (int i = 0; i < 4; ++i) Next(frame);  // readme, user, program folder, destination
        HWND page = test::VisiblePage(frame);
        EXPECT_NE(GetDlgItem(page, IDC_DESTINATION_PATH), nullptr) << "not the destination page";
        return page;
    }
    // On to the progress page, installing into `folder`.
    HWND WalkToProgress(HWND frame, const std::string& folder) {
        HWND destination = WalkToDestination(frame);
        EXPECT_TRUE(test::SetItemText(destination, IDC_DESTINATION_PATH, folder));
        Next(frame);
        HWND progress = test::VisiblePage(frame);
        EXPECT_NE(GetDlgItem(progress, IDC_PROGRESS_BAR), nullptr) << "not the progress page";
        return progress;
    }
    void ExpectNothingLeftInTemp() {
        EXPECT_EQ(RunFilesInTemp(), tempBefore_) << "files of the run left in the temporary folder";
    }

    static test::TempDir* setupDir_;
    static std::string setup_;
    std::set<std::string> tempBefore_;
    test::TempDir dir_;
    test::ChildProcess process_;
};

test::TempDir* InstallGuiTest::setupDir_ = nullptr;
std::string InstallGuiTest::setup_;

TEST_F(InstallGuiTest, TheDemoInstallsEverythingAndTheNextRunProposesItsFolder) {
    SetEnvironment("VESK_TEST_HOLD", dir_ / "release");
    HWND frame = Start(setup_);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND progress = WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());

    // Mid-install, while the program of kind L holds the file phase: a screenshot.
    const DWORD start = GetTickCount();
    while (!test::FileExists(dir_ / "ran-in.txt") && GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(20);
    }
    EXPECT_EQ(test::ItemText(progress, IDC_PROGRESS_STATUS), EnglishText(TextKey::CopyFileDesc));
    const LRESULT position = SendMessageA(GetDlgItem(progress, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0);
    EXPECT_GT(position, 0);
    EXPECT_LT(position, 100);
    EXPECT_TRUE(test::Screenshot(frame, "Install-1-Progress.bmp"));
    ASSERT_TRUE(test::WriteWholeFile(dir_ / "release", ""));

    const std::string finish = EnglishText(TextKey::CompleteButtonDesc);
    while (test::ItemText(frame, IDC_WIZARD_NEXT) != finish &&
           GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(50);
    }
    ASSERT_EQ(test::ItemText(frame, IDC_WIZARD_NEXT), finish) << "no finish page";
    EXPECT_TRUE(test::Screenshot(frame, "Install-2-Finish.bmp"));
    // Leave the readme unopened: nothing may outlive the setup.
    if (HWND box = GetDlgItem(test::VisiblePage(frame), 1000)) {
        SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    Next(frame);
    ASSERT_EQ(process_.WaitForExit(), 0);
    ExpectNothingLeftInTemp();

    ExpectTheDemoInstalled(kFolder, *setupDir_);
    // The program of kind L ran in its own folder, found by its quoted path, and went.
    EXPECT_EQ(ReadWholeFile(dir_ / "ran-in.txt"), kFolder);

    // The next run proposes the folder of this install.
    test::ChildProcess second;
    ASSERT_TRUE(second.Start(setup_));
    HWND again = test::WaitForWizard(second.Id(), 30000);
    ASSERT_NE(again, nullptr);
    HWND destination = WalkToDestination(again);
    EXPECT_EQ(test::ItemText(destination, IDC_DESTINATION_PATH), kFolder);
    EXPECT_TRUE(test::LeaveWizard(second.Id()));
    EXPECT_EQ(second.WaitForExit(), 2);
    ExpectNothingLeftInTemp();
}

TEST_F(InstallGuiTest, ACancelInTheFilePhaseGivesBackTheUsersFilesAndFolder) {
    // The user's own folder with a readme of the product's name and a note.
    ASSERT_TRUE(fs::create_directories(kFolder));
    const std::string readme = "The user's own readme, not the product's.\r\n";
    ASSERT_TRUE(test::WriteWholeFile(kFolder + "\\Readme.txt", readme));
    ASSERT_TRUE(test::WriteWholeFile(kFolder + "\\notes.txt", "mine\r\n"));
    const std::map<std::string, std::string> before = test::FilesBelow(kFolder);
    SetEnvironment("VESK_TEST_HOLD", dir_ / "release");

    HWND frame = Start(setup_);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    HWND progress = WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());
    // hold.exe runs (after Readme.txt was written over): Cancel now, then let it end.
    const DWORD start = GetTickCount();
    while (!test::FileExists(dir_ / "ran-in.txt") && GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(20);
    }
    ASSERT_TRUE(test::FileExists(dir_ / "ran-in.txt")) << "the program of kind L did not run";
    EXPECT_EQ(ReadWholeFile(kFolder + "\\Readme.txt"),
              ReadWholeFile(DemoFile("product/Readme.txt")));
    ASSERT_TRUE(test::ClickItem(frame, IDC_WIZARD_CANCEL));
    ASSERT_TRUE(test::Settle(frame));
    ASSERT_TRUE(test::WriteWholeFile(dir_ / "release", ""));

    HWND question = test::WaitForMessageBox(process_.Id(), frame, kInstallTimeoutMs);
    ASSERT_NE(question, nullptr) << "the install did not ask";
    EXPECT_EQ(test::TextOf(question), EnglishText(TextKey::ExitInstallTitle));
    EXPECT_EQ(test::ItemText(progress, IDC_PROGRESS_STATUS), EnglishText(TextKey::CopyFileDesc));
    EXPECT_TRUE(test::Screenshot(question, "Install-3-CancelQuestion.bmp"));
    ASSERT_TRUE(test::ClickItem(question, IDYES));
    EXPECT_EQ(process_.WaitForExit(kInstallTimeoutMs), 2);

    // The user's files as they were, byte for byte, in the user's folder; nothing of the install.
    EXPECT_EQ(test::FilesBelow(kFolder), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(kFolder), fs::directory_iterator()), 2)
        << "folders of the install left behind";
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
    EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey, "Path").rfind("(no ", 0), 0u)
        << "values written";
    ExpectNothingLeftInTemp();
}

TEST_F(InstallGuiTest, AMissingVolumeGivenUpEndsTheInstallAndRollsItBack) {
    // Only Setup.exe, in a folder of its own: the second volume cannot be found.
    const std::string lone = dir_ / "Setup.exe";
    ASSERT_TRUE(CopyFileA(setup_.c_str(), lone.c_str(), FALSE));
    HWND frame = Start(lone);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());
    HWND request = test::WaitForTopWindow(process_.Id(), EnglishText(TextKey::InsertMediaDesc), "",
                                          nullptr, kInstallTimeoutMs);
    ASSERT_NE(request, nullptr) << "no disk request during the install";
    EXPECT_TRUE(test::Screenshot(request, "Install-4-DiskRequest.bmp"));
    EXPECT_TRUE(fs::exists(kFolder + "\\Readme.txt")) << "files of volume 1 come first";
    ASSERT_TRUE(test::ClickItem(request, IDC_INSERT_MEDIA_CANCEL));
    // A volume that is not there is a failure, not the user's choice.
    EXPECT_EQ(process_.WaitForExit(kInstallTimeoutMs), 1);
    EXPECT_FALSE(fs::exists(kFolder)) << "the install was not rolled back";
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
    ExpectNothingLeftInTemp();
}

TEST_F(InstallGuiTest, ADamagedVolumeEndsTheInstallWithOneMessageAndRollsItBack) {
    // The set beside a copy whose Setup2.Cab has one byte changed: found, but not the set's.
    const std::string copy = dir_ / "Setup.exe";
    const std::string volume = dir_ / "Setup2.Cab";
    ASSERT_TRUE(CopyFileA(setup_.c_str(), copy.c_str(), FALSE));
    std::string bytes = ReadWholeFile((fs::path(setup_).parent_path() / "Setup2.Cab").string());
    ASSERT_GT(bytes.size(), 1000u);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x40);
    ASSERT_TRUE(test::WriteWholeFile(volume, bytes));

    HWND frame = Start(copy);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    WalkToProgress(frame, kFolder);
    ASSERT_FALSE(HasFailure());
    HWND message = test::WaitForMessageBox(process_.Id(), frame, kInstallTimeoutMs);
    ASSERT_NE(message, nullptr) << "no message about the damaged volume";
    const std::string text = test::MessageBoxText(message);
    EXPECT_EQ(text.rfind("The setup is damaged: ", 0), 0u) << text;
    EXPECT_NE(text.find("Setup2.Cab"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(kFolder)) << "the install was not rolled back before the message";
    EXPECT_TRUE(test::Screenshot(message, "Install-5-DamagedVolume.bmp"));
    ASSERT_TRUE(test::ClickItem(message, IDOK));
    EXPECT_EQ(process_.WaitForExit(kInstallTimeoutMs), 4);
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
    ExpectNothingLeftInTemp();
}

}  // namespace
}  // namespace vesk
