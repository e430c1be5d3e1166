// The real engine and uninstaller started from a folder where someone planted libraries under
// the names of system libraries (a downloads folder): none of them is ever loaded, also where
// the system is told to prefer a library beside the program to its own (Wine's native-first
// load order, which its own libraries follow when they load another by name).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "GuiDriver.h"
#include "platform/SystemLibrariesWin32.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// Libraries the programs' own imports and the libraries they load later pull in by name, the
// classic targets of such planting, and every library the programs load first thing.
std::vector<std::string> PlantedNames() {
    std::vector<std::string> names = {"shell32.dll", "comctl32.dll", "atl.dll", "mshtml.dll"};
    for (int i = 0; i < kPreloadedLibraryCount; ++i) names.push_back(kPreloadedLibraries[i]);
    return names;
}

// Tells Wine to take each preloaded library from beside the program named `program` rather than
// its own, wherever one of its libraries looks it up by name (per program, in Wine's registry;
// Windows reads nothing of it). version.dll stays out: Wine's own advapi32 imports it when the
// process starts, before any instruction of the program (Windows' advapi32 does not), so nothing
// the program does could keep a planted one out.
class NativeFirst {
public:
    explicit NativeFirst(const std::string& program)
        : key_("Software\\Wine\\AppDefaults\\" + program) {
        HKEY overrides = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &overrides, nullptr) != ERROR_SUCCESS) {
            return;
        }
        for (int i = 0; i < kPreloadedLibraryCount; ++i) {
            std::string name = kPreloadedLibraries[i];
            if (name == "version.dll") continue;
            name.resize(name.size() - 4);
            static const char kNativeFirst[] = "native,builtin";
            RegSetValueExA(overrides, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(kNativeFirst), sizeof kNativeFirst);
        }
        RegCloseKey(overrides);
    }
    ~NativeFirst() {
        RegDeleteKeyA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;

private:
    std::string key_;
};

class LibrarySearchGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        for (const std::string& name : PlantedNames()) {
            ASSERT_TRUE(CopyFileA(VESK_PLANTED_LIBRARY_PATH, (dir_ / name).c_str(), FALSE)) << name;
        }
    }

    void ExpectNoneLoaded() {
        for (const std::string& name : PlantedNames()) {
            EXPECT_FALSE(test::FileExists(dir_ / (name + ".loaded"))) << name << " loaded";
        }
    }

    test::TempDir dir_;
};

TEST_F(LibrarySearchGuiTest, LibrariesPlantedBesideTheSetupAreNeverLoaded) {
    NativeFirst nativeFirst("Setup.exe");
    const std::string stub = test::ReadWholeFile(VESK_STUB_PATH);
    ASSERT_GT(stub.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
    const std::string setup = test::BuildFixtureSetWithStub(
                                  dir_ / "Setup.exe", stub, 1 << 30,
                                  {{"[Language=409]\r\nSureDesc=OK\r\n", false}, {"data", false}})
                                  .setupPath;
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup));
    HWND frame = test::WaitForWizard(process.Id());
    EXPECT_NE(frame, nullptr) << "the wizard did not appear";
    if (frame) test::Screenshot(frame, "LibrarySearch-Wizard.bmp");
    EXPECT_TRUE(test::LeaveWizard(process.Id()));
    EXPECT_EQ(process.WaitForExit(60000), 2);
    ExpectNoneLoaded();
}

TEST_F(LibrarySearchGuiTest, LibrariesPlantedBesideTheUninstallerAreNeverLoaded) {
    NativeFirst nativeFirst("Vesk-UnInstall.exe");
    const std::string uninstaller = dir_ / "Vesk-UnInstall.exe";
    ASSERT_TRUE(CopyFileA(VESK_UNINSTALLER_PATH, uninstaller.c_str(), FALSE));
    // Without a log it says how it is used, in a window of its own.
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(uninstaller));
    HWND box = test::WaitForMessageBox(process.Id(), nullptr);
    ASSERT_NE(box, nullptr) << "no message";
    test::Screenshot(box, "LibrarySearch-Uninstaller.bmp");
    EXPECT_TRUE(test::ClickItem(box, IDOK));
    EXPECT_NE(process.WaitForExit(60000), -1);
    ExpectNoneLoaded();
}

}  // namespace
}  // namespace vesk
