// The real engine started from a folder where someone planted libraries under the names of
// system libraries (a downloads folder): none of them is ever loaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "GuiDriver.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

TEST(LibrarySearchGuiTest, LibrariesPlantedBesideTheSetupAreNeverLoaded) {
    if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
    const std::string stub = test::ReadWholeFile(VESK_STUB_PATH);
    ASSERT_GT(stub.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
    test::TempDir dir;
    const std::string setup = test::BuildFixtureSetWithStub(
                                  dir / "Setup.exe", stub, 1 << 30,
                                  {{"[Language=409]\r\nSureDesc=OK\r\n", false}, {"data", false}})
                                  .setupPath;
    // Libraries the stub's own imports and the libraries they load later pull in by name, and
    // the classic targets of such planting.
    const char* const names[] = {"shcore.dll",   "shlwapi.dll",   "shell32.dll", "ole32.dll",
                                 "oleaut32.dll", "propsys.dll",   "uxtheme.dll", "version.dll",
                                 "dwmapi.dll",   "cryptbase.dll", "userenv.dll", "winmm.dll",
                                 "msimg32.dll",  "oleacc.dll",    "atl.dll",     "urlmon.dll"};
    for (const char* name : names) {
        ASSERT_TRUE(CopyFileA(VESK_PLANTED_LIBRARY_PATH, (dir / name).c_str(), FALSE)) << name;
    }

    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup));
    HWND frame = test::WaitForWizard(process.Id());
    EXPECT_NE(frame, nullptr) << "the wizard did not appear";
    if (frame) test::Screenshot(frame, "LibrarySearch-Wizard.bmp");
    EXPECT_TRUE(test::LeaveWizard(process.Id()));
    EXPECT_EQ(process.WaitForExit(60000), 2);
    for (const char* name : names) {
        EXPECT_FALSE(test::FileExists(dir / (std::string(name) + ".loaded"))) << name << " loaded";
    }
}

}  // namespace
}  // namespace vesk
