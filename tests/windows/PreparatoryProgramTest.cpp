// The real engine stub runs the project's preparatory program after the start-up files are
// unpacked, in the run's own temporary folder, and only reads the product's registry key for an
// earlier install folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "GuiDriver.h"
#include "RunFolders.h"
#include "ScopedEnvironment.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr char kProductKey[] = "SOFTWARE\\VeskSoft\\VeskInstall\\Fixture";

using test::ScopedEnvironment;

bool ProductKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

class PreparatoryProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";  // the loading dialog shows
        stub_ = test::ReadWholeFile(VESK_STUB_PATH);
        program_ = test::ReadWholeFile(VESK_EXIT_WITH_PATH);
        ASSERT_GT(stub_.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
        ASSERT_GT(program_.size(), 1000u) << "helper not found at " << VESK_EXIT_WITH_PATH;
    }

    // A setup whose start-up files hold the helper as the preparatory program.
    std::string BuildSetup(const std::string& name) {
        std::vector<test::FixtureBody> bodies = {
            {"[Language=409]\r\nSureDesc=OK\r\n", false},
            {program_, false, 'K', "[TempFileDir]\\~VeskInstall-ProvideForInstall.exe"}};
        return test::BuildFixtureSetWithStub(dir_ / name, stub_, 1 << 30, bodies, "20261207",
                                             "<ProvideForInstall>1</ProvideForInstall>\r\n")
            .setupPath;
    }

    // Runs the setup with the helper told to exit with `code`; the setup's exit code. The
    // wizard, when it comes, is left at once; `wizardShown` tells whether it came.
    long RunSetup(const std::string& setupPath, const std::string& code, bool& wizardShown) {
        ScopedEnvironment exitCode("VESK_TEST_EXIT_CODE", code);
        ScopedEnvironment marker("VESK_TEST_MARKER", dir_ / "marker.txt");
        test::ChildProcess setup;
        if (!setup.Start(setupPath)) return -2;
        // The program runs before the wizard: a setup it ends is gone before a wizard could be.
        wizardShown = false;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 60000 && !wizardShown) {
            if (setup.WaitForExit(100) != -1) return setup.WaitForExit();
            wizardShown = test::WaitForWizard(setup.Id(), 100) != nullptr;
        }
        if (wizardShown) test::LeaveWizard(setup.Id());
        return setup.WaitForExit(60000);
    }

    std::string stub_;
    std::string program_;
    test::TempDir dir_;
};

TEST_F(PreparatoryProgramTest, ExitCodeZeroEndsTheSetupAfterTheProgramRanInItsFolder) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
    std::string setupPath = BuildSetup("Setup.exe");
    bool wizardShown = true;
    EXPECT_EQ(RunSetup(setupPath, "0", wizardShown), 0);
    EXPECT_FALSE(wizardShown) << "exit code 0 ends the setup before the wizard";
    // The program ran with the run's own folder, inside the temporary folder, as current folder.
    const std::string ranIn = test::ReadWholeFile(dir_ / "marker.txt");
    const std::string runFolders = test::TempFolder() + "\\~VeskInstall-";
    EXPECT_EQ(lstrcmpiA(ranIn.substr(0, runFolders.size()).c_str(), runFolders.c_str()), 0)
        << ranIn;
    EXPECT_EQ(ranIn.find('\\', runFolders.size()), std::string::npos) << ranIn;
    // The product's key was only read: a run that wrote nothing leaves no key behind.
    EXPECT_FALSE(ProductKeyExists());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
}

TEST_F(PreparatoryProgramTest, OtherExitCodesGoOnToTheWizardAndEveryTemporaryFileIsRemoved) {
    std::string setupPath = BuildSetup("Setup.exe");
    struct Case {
        const char* code;
        bool wizard;
        long setupExit;  // 2: the wizard was left before an install
    };
    for (const Case& c : {Case{"0", false, 0}, Case{"1", true, 2}, Case{"7", true, 2}}) {
        const char* code = c.code;
        DeleteFileA((dir_ / "marker.txt").c_str());
        const std::set<std::string> before = test::TempFolderEntries();
        bool wizardShown = !c.wizard;
        EXPECT_EQ(RunSetup(setupPath, code, wizardShown), c.setupExit) << code;
        EXPECT_EQ(wizardShown, c.wizard) << code;
        EXPECT_TRUE(test::ReadWholeFile(dir_ / "marker.txt").size() > 0) << code;
        // The run's folder with the unpacked program is gone again.
        EXPECT_TRUE(test::RunFilesEndingIn("~VeskInstall-ProvideForInstall.exe").empty()) << code;
        EXPECT_EQ(test::TempFolderEntries(), before) << code;
    }
}

}  // namespace
}  // namespace vesk
