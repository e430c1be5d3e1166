// Texts of any script under Wine on an English prefix: a product named in Latin, Greek and CJK
// letters shows its name exactly in the wizard (read through the W messages), and the demo asked
// for in Simplified Chinese (/LANG=804) shows its Chinese texts, decoded from GB2312, though the
// system's code page is 1252.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "DemoInstall.h"
#include "GuiDriver.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// "Hafenstraße Ωμέγα 中文"
const std::string kMixedName =
    "Hafenstra\xC3\x9F\x65 \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE4\xB8\xAD\xE6\x96\x87";

class UnicodeGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
    }
};

TEST_F(UnicodeGuiTest, AMixedScriptProductNameShowsExactly) {
    test::TempDir dir;
    const std::string setup = test::BuildDemoVariant(dir, [](std::string& project) {
        const std::string name = "<ProjectName>Vesk Demo</ProjectName>";
        project.replace(project.find(name), name.size(),
                        "<ProjectName>" + kMixedName + "</ProjectName>");
    });
    ASSERT_FALSE(setup.empty());
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup));
    HWND frame = test::WaitForWizard(process.Id(), 30000);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    EXPECT_EQ(test::TextOf(frame), kMixedName + " 1.2 Setup");
    test::Settle(frame);
    EXPECT_TRUE(test::Screenshot(frame, "Unicode-1-MixedScriptName.bmp"));
    EXPECT_TRUE(test::LeaveWizard(process.Id()));
    EXPECT_NE(process.WaitForExit(), -1);
}

TEST_F(UnicodeGuiTest, TheDemoSpeaksChineseWhenAskedOnAWesternSystem) {
    test::TempDir dir;
    const std::string setup = test::BuildDemoVariant(dir);
    ASSERT_FALSE(setup.empty());
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup, "/LANG=804"));
    HWND frame = test::WaitForWizard(process.Id(), 30000);
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    // "下一步(&N) >", "< 上一步(&B)": the 804 section's own words.
    EXPECT_EQ(test::ItemText(frame, IDC_WIZARD_NEXT), "\xE4\xB8\x8B\xE4\xB8\x80\xE6\xAD\xA5(&N) >");
    EXPECT_EQ(test::ItemText(frame, IDC_WIZARD_BACK), "< \xE4\xB8\x8A\xE4\xB8\x80\xE6\xAD\xA5(&B)");
    test::Settle(frame);
    EXPECT_TRUE(test::Screenshot(frame, "Unicode-2-DemoInChinese.bmp"));
    EXPECT_TRUE(test::LeaveWizard(process.Id()));
    EXPECT_NE(process.WaitForExit(), -1);
}

}  // namespace
}  // namespace vesk
