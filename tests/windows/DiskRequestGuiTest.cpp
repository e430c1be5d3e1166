// The real engine stub asks for its second volume with the disk request, driven from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include "GuiDriver.h"
#include "resources/LanguageFile.h"
#include "resources/ResourceIds.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// Before the language file is read the request shows the built-in English texts.
constexpr const char* kTitle = "Select location";
constexpr const char* kMessage = "Please insert the disk:  Fixture 1.0  Disk2 and click OK!";

// A two-volume setup whose language file (entry 0) starts 8 bytes before the end of volume 1
// and goes on in volume 2, so the stub needs the second volume at start-up. Volume 2 lies in the
// subfolder "disk2", not beside the setup executable.
class DiskRequestGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        std::string stub = test::ReadWholeFile(VESK_STUB_PATH);
        ASSERT_GT(stub.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
        std::vector<test::FixtureBody> bodies = {{DefaultLanguageFile(), false},
                                                 {test::FixtureBytes(3000, 5, false), true}};
        test::FixtureSet set = test::BuildFixtureSetWithStub(dir_ / "Setup.exe", stub,
                                                             std::int32_t(stub.size() + 8), bodies);
        ASSERT_EQ(set.volumePaths.size(), 2u);
        setupPath_ = set.setupPath;
        diskFolder_ = dir_ / "disk2";
        ASSERT_TRUE(CreateDirectoryA(diskFolder_.c_str(), nullptr));
        ASSERT_TRUE(MoveFileA(set.volumePaths[1].c_str(), (diskFolder_ + "\\Setup2.Cab").c_str()));
    }

    // Starts the setup and waits for its disk request.
    HWND StartAndWaitForRequest() {
        if (!setup_.Start(setupPath_)) return nullptr;
        return test::WaitForTopWindow(setup_.Id(), kTitle);
    }

    test::TempDir dir_;
    std::string setupPath_;
    std::string diskFolder_;
    test::ChildProcess setup_;
};

TEST_F(DiskRequestGuiTest, AsksAgainUntilTheRightFolderIsGiven) {
    HWND request = StartAndWaitForRequest();
    ASSERT_NE(request, nullptr) << "the disk request did not appear";
    EXPECT_EQ(test::ItemText(request, IDC_INSERT_MEDIA_MESSAGE), kMessage);
    EXPECT_EQ(test::ItemText(request, IDC_INSERT_MEDIA_CONFIRM), "&OK");
    EXPECT_TRUE(test::Screenshot(request, "DiskRequest.bmp"));

    // A folder without the volume: the request comes again, afresh.
    ASSERT_TRUE(test::TypeIntoItem(request, IDC_INSERT_MEDIA_LOCATION, dir_ / "nowhere"));
    ASSERT_TRUE(test::ClickItem(request, IDC_INSERT_MEDIA_CONFIRM));
    ASSERT_TRUE(test::WaitForWindowGone(request));
    request = test::WaitForTopWindow(setup_.Id(), kTitle);
    ASSERT_NE(request, nullptr) << "the disk request did not come again";
    EXPECT_EQ(test::ItemText(request, IDC_INSERT_MEDIA_LOCATION), "");

    // A cleared field is no answer: the request stays.
    ASSERT_TRUE(test::TypeIntoItem(request, IDC_INSERT_MEDIA_LOCATION, "x"));
    ASSERT_TRUE(test::SetItemText(request, IDC_INSERT_MEDIA_LOCATION, ""));
    ASSERT_TRUE(test::ClickItem(request, IDC_INSERT_MEDIA_CONFIRM));
    ASSERT_TRUE(test::Settle(request));
    EXPECT_TRUE(IsWindowVisible(request));

    // The folder holding the volume: the setup reads its language file and goes on to the
    // wizard.
    ASSERT_TRUE(test::TypeIntoItem(request, IDC_INSERT_MEDIA_LOCATION, diskFolder_));
    ASSERT_TRUE(test::ClickItem(request, IDC_INSERT_MEDIA_CONFIRM));
    EXPECT_TRUE(test::LeaveWizard(setup_.Id()));
    EXPECT_EQ(setup_.WaitForExit(), 2);
}

TEST_F(DiskRequestGuiTest, CancelEndsTheSetupWithFailure) {
    HWND request = StartAndWaitForRequest();
    ASSERT_NE(request, nullptr) << "the disk request did not appear";
    ASSERT_TRUE(test::ClickItem(request, IDC_INSERT_MEDIA_CANCEL));
    EXPECT_EQ(setup_.WaitForExit(), 1);
}

TEST_F(DiskRequestGuiTest, EscapeCancelsAndEnterConfirms) {
    HWND request = StartAndWaitForRequest();
    ASSERT_NE(request, nullptr) << "the disk request did not appear";
    HWND field = GetDlgItem(request, IDC_INSERT_MEDIA_LOCATION);
    ASSERT_TRUE(test::TypeIntoItem(request, IDC_INSERT_MEDIA_LOCATION, diskFolder_));
    ASSERT_TRUE(test::PressKey(field, VK_RETURN));
    EXPECT_TRUE(test::LeaveWizard(setup_.Id()));
    EXPECT_EQ(setup_.WaitForExit(), 2);

    test::ChildProcess second;
    ASSERT_TRUE(second.Start(setupPath_));
    request = test::WaitForTopWindow(second.Id(), kTitle);
    ASSERT_NE(request, nullptr);
    ASSERT_TRUE(test::PressKey(GetDlgItem(request, IDC_INSERT_MEDIA_LOCATION), VK_ESCAPE));
    EXPECT_EQ(second.WaitForExit(), 1);
}

}  // namespace
}  // namespace vesk
