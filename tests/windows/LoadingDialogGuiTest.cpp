// The real engine stub shows the loading dialog while it unpacks its start-up files, driven from
// outside. A start-up file that continues in a second volume holds the dialog on screen behind
// the disk request, so every check runs while it is certainly shown.
#include <gtest/gtest.h>
#include <windows.h>

#include "EnglishTexts.h"
#include "GuiDriver.h"
#include "RunFolders.h"
#include "project/LanguageTable.h"
#include "project/TextLineList.h"
#include "resources/LanguageFile.h"
#include "resources/ResourceIds.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kPicture = "~VeskInstall-TopFramePicture.bmp";

using test::EnglishText;

// The contents of the files in the run's folder whose names end in `suffix`.
std::vector<std::string> TempFilesEndingIn(const std::string& suffix) {
    std::vector<std::string> contents;
    for (const std::string& path : test::RunFilesEndingIn(suffix)) {
        contents.push_back(test::ReadWholeFile(path));
    }
    return contents;
}

class LoadingDialogGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        stub_ = test::ReadWholeFile(VESK_STUB_PATH);
        ASSERT_GT(stub_.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
    }

    // Language file, a start-up picture, and a start-up document that starts 8 bytes before the
    // end of volume 1; volume 2 lies in the subfolder "disk2".
    void BuildSplitSet() {
        std::vector<test::FixtureBody> bodies = {
            {DefaultLanguageFile(), false},
            {picture_, false, 'K', std::string("[TempFileDir]\\") + kPicture},
            {test::FixtureBytes(3000, 9, true), false, 'K',
             "[TempFileDir]\\~VeskInstall-Licence.txt"}};
        test::FixtureSet probe =
            test::BuildFixtureSetWithStub(dir_ / "Probe.exe", stub_, 1 << 30, bodies);
        ASSERT_EQ(probe.entries.size(), 3u);
        test::FixtureSet set = test::BuildFixtureSetWithStub(dir_ / "Setup.exe", stub_,
                                                             probe.entries[2].offset + 8, bodies);
        ASSERT_EQ(set.volumePaths.size(), 2u);
        setupPath_ = set.setupPath;
        diskFolder_ = dir_ / "disk2";
        ASSERT_TRUE(CreateDirectoryA(diskFolder_.c_str(), nullptr));
        ASSERT_TRUE(MoveFileA(set.volumePaths[1].c_str(), (diskFolder_ + "\\Setup2.Cab").c_str()));
    }

    // Starts the setup and waits for the disk request and the loading dialog behind it.
    void StartAndWaitForBoth() {
        ASSERT_TRUE(setup_.Start(setupPath_));
        request_ = test::WaitForTopWindow(setup_.Id(), EnglishText(TextKey::InsertMediaDesc));
        ASSERT_NE(request_, nullptr) << "the disk request did not appear";
        loading_ = test::WaitForTopWindow(setup_.Id(), "", kDialogClass, request_);
        ASSERT_NE(loading_, nullptr) << "the loading dialog did not appear";
    }

    test::TempDir dir_;
    std::string stub_;
    std::string picture_ = test::FixtureBytes(2000, 8, true);
    std::string setupPath_;
    std::string diskFolder_;
    test::ChildProcess setup_;
    HWND request_ = nullptr;
    HWND loading_ = nullptr;
};

TEST_F(LoadingDialogGuiTest, ShowsItsTextIgnoresEnterAndEscapeAndEndsByItself) {
    BuildSplitSet();
    StartAndWaitForBoth();
    if (HasFatalFailure()) return;

    // A borderless message without caption or owner, with the language file's text.
    EXPECT_EQ(test::ItemText(loading_, IDC_LOADING_TEXT),
              EnglishText(TextKey::LoadingInstallFiles));
    EXPECT_EQ(GetWindowLongA(loading_, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindow(loading_, GW_OWNER), nullptr);
    // The picture is taken from the screen: move the disk request out of the way first.
    RECT frame{};
    GetWindowRect(loading_, &frame);
    SetWindowPos(request_, nullptr, 0, frame.bottom + 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(loading_);
    ASSERT_TRUE(test::Settle(loading_));
    EXPECT_TRUE(test::Screenshot(loading_, "LoadingDialog.bmp"));
    // The picture before the split is unpacked already, under a stamped name in the run's folder.
    EXPECT_EQ(TempFilesEndingIn(kPicture), std::vector<std::string>{picture_});

    // Enter, Escape and their commands change nothing.
    EXPECT_TRUE(test::PressKey(loading_, VK_RETURN));
    EXPECT_TRUE(test::PressKey(loading_, VK_ESCAPE));
    EXPECT_TRUE(PostMessageA(loading_, WM_COMMAND, IDOK, 0));
    EXPECT_TRUE(PostMessageA(loading_, WM_COMMAND, IDCANCEL, 0));
    ASSERT_TRUE(test::Settle(loading_));
    EXPECT_TRUE(IsWindowVisible(loading_));

    // With the second volume the unpacking completes; the dialog closes itself and the wizard
    // follows.
    ASSERT_TRUE(test::TypeIntoItem(request_, IDC_INSERT_MEDIA_LOCATION, diskFolder_));
    ASSERT_TRUE(test::ClickItem(request_, IDC_INSERT_MEDIA_CONFIRM));
    EXPECT_TRUE(test::WaitForWindowGone(loading_));
    EXPECT_TRUE(test::LeaveWizard(setup_.Id()));
    EXPECT_EQ(setup_.WaitForExit(), 2);
    EXPECT_TRUE(TempFilesEndingIn(kPicture).empty()) << "the start-up files were not removed";
}

TEST_F(LoadingDialogGuiTest, CancelOnTheDiskRequestEndsTheSetupWithFailure) {
    BuildSplitSet();
    StartAndWaitForBoth();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(test::ClickItem(request_, IDC_INSERT_MEDIA_CANCEL));
    EXPECT_TRUE(test::WaitForWindowGone(loading_));
    EXPECT_EQ(setup_.WaitForExit(), 1);
    EXPECT_TRUE(TempFilesEndingIn(kPicture).empty()) << "the start-up files were not removed";
}

TEST_F(LoadingDialogGuiTest, SetupsInOneVolumeEndWellWhateverFollowsTheLanguageFile) {
    struct Case {
        const char* name;
        std::vector<test::FixtureBody> startup;  // the entries after the language file
    };
    const std::string picture = std::string("[TempFileDir]\\") + kPicture;
    const Case cases[] = {
        {"only the language file", {}},
        {"a start-up picture", {{picture_, false, 'K', picture}}},
        {"an ordinary file first", {{"a", false, 'A', ""}, {picture_, false, 'K', picture}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<test::FixtureBody> bodies = {{DefaultLanguageFile(), false}};
        bodies.insert(bodies.end(), c.startup.begin(), c.startup.end());
        test::FixtureSet set =
            test::BuildFixtureSetWithStub(dir_ / "One.exe", stub_, 1 << 30, bodies);
        ASSERT_EQ(set.volumePaths.size(), 1u);
        test::ChildProcess setup;
        ASSERT_TRUE(setup.Start(set.setupPath));
        EXPECT_TRUE(test::LeaveWizard(setup.Id()));
        EXPECT_EQ(setup.WaitForExit(), 2);
        EXPECT_TRUE(TempFilesEndingIn(kPicture).empty());
    }
}

}  // namespace
}  // namespace vesk
