// A product's life under Wine, unattended as an administrator runs it: 1.0 then 2.0 of one
// product, two products sharing a system file, a system file that was there before, a log a user
// edited, and a log path taken by a folder. Each setup and uninstall runs with /S.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DemoInstall.h"
#include "GuiDriver.h"
#include "MachineSnapshot.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using namespace test;

const std::string kUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kSharedKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Replaces the first `from` of the project with `to`.
void Replace(std::string& project, const std::string& from, const std::string& to) {
    const std::size_t at = project.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    project.replace(at, from.size(), to);
}

// The demo named `name` at `version`, with the real uninstaller, and the files `extra` (project
// path below the demo's product folder, or "system\..." for the system folder) added.
std::string BuildProduct(const TempDir& dir, const std::string& name, const std::string& version,
                         const std::vector<std::string>& extra) {
    return BuildDemoVariant(
        dir,
        [&](std::string& project) {
            Replace(project, "<ProjectName>Vesk Demo</ProjectName>",
                    "<ProjectName>" + name + "</ProjectName>");
            Replace(project, "<ProductVersion>1.2</ProductVersion>",
                    "<ProductVersion>" + version + "</ProductVersion>");
            Replace(project, "<PathDesc>[TempFileDir]</PathDesc>",
                    "<PathDesc>[System Directory]</PathDesc>\n<PathValue>system</PathValue>\n"
                    "<PathDesc>[TempFileDir]</PathDesc>");
            fs::create_directories(dir / "demo\\system");
            for (const std::string& file : extra) {
                const std::string target = file.rfind("system\\", 0) == 0
                                               ? dir / ("demo\\" + file)
                                               : dir / ("demo\\product\\" + file);
                WriteWholeFile(target, name + " " + version + ": " + file);
            }
        },
        "", VESK_UNINSTALLER_PATH);
}

long RunSetup(const std::string& program, const std::string& arguments) {
    ChildProcess process;
    if (!process.Start(program, arguments)) return -2;
    return process.WaitForExit(kInstallTimeoutMs);
}

// Runs the quiet uninstall command of the entry `title`; its exit code.
long Uninstall(const std::string& title) {
    const std::string command =
        ReadRegistryString(kMachine, kUninstallKey + title, "QuietUninstallString");
    ChildProcess process;
    if (!process.StartCommandLine(command)) return -2;
    return process.WaitForExit(kInstallTimeoutMs);
}

long SharedCount(const std::string& path) {
    return ReadDword(kMachine, kSharedKey, path);
}

class ProductLifeGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DisplayAvailable()) GTEST_SKIP() << "no display";
        Clean();
    }
    void TearDown() override {
        if (DisplayAvailable()) Clean();
    }
    static void Clean() {
        RemoveTheDemo();
        for (const char* title :
             {"Vesk Demo 1.0", "Vesk Demo 2.0", "Vesk Alpha 1.2", "Vesk Beta 1.2"}) {
            DeleteRegistryTree(kMachine, kUninstallKey.substr(1), title);
        }
        for (const char* product : {"Vesk Alpha", "Vesk Beta"}) {
            DeleteRegistryTree(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", product);
        }
        std::error_code ec;
        for (const char* file : {"vesk-shared.dat", "vesk-canary.dll", "vesk-existing.dll"}) {
            fs::remove(SystemFolder() + "\\" + file, ec);
        }
    }
    TempDir dir_;
};

TEST_F(ProductLifeGuiTest, TheNewerVersionTakesOverAndItsRemovalKeepsOnlyTheUsersFile) {
    TempDir first, second;
    const std::string one = BuildProduct(first, "Vesk Demo", "1.0", {"dropped.txt"});
    const std::string two = BuildProduct(second, "Vesk Demo", "2.0", {"added.txt"});
    ASSERT_FALSE(one.empty());
    ASSERT_FALSE(two.empty());
    const std::string folder = kTestRoot + "\\Life";
    ASSERT_EQ(RunSetup(one, "/S /D=" + folder), 0);
    ASSERT_TRUE(FileExists(folder + "\\dropped.txt"));
    ASSERT_TRUE(WriteWholeFile(folder + "\\data\\mine.txt", "the user's"));

    // No /D=: the newer version takes over the installed one's folder.
    ASSERT_EQ(RunSetup(two, "/S"), 0);
    EXPECT_FALSE(RegistryKeyExists(kMachine, kUninstallKey + "Vesk Demo 1.0")) << "two entries";
    EXPECT_EQ(ReadRegistryString(kMachine, kUninstallKey + "Vesk Demo 2.0", "DisplayVersion"),
              "2.0");
    EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey, "Version"), "2.0");
    EXPECT_FALSE(RegistryKeyExists(kMachine, kDemoProductKey + "\\1.0"));
    EXPECT_FALSE(FileExists(folder + "\\dropped.txt")) << "the file 2.0 no longer ships";
    EXPECT_FALSE(FileExists(folder + "\\VeskInstall Vesk Demo 1.0.xml"));
    EXPECT_TRUE(FileExists(folder + "\\added.txt"));
    EXPECT_TRUE(FileExists(folder + "\\data\\mine.txt"));
    EXPECT_EQ(SharedCount(WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf"), 1);

    EXPECT_EQ(Uninstall("Vesk Demo 2.0"), 0);
    // Nothing of either version but the user's file (and its folders).
    EXPECT_EQ(FilesBelow(folder).size(), 1u);
    EXPECT_TRUE(FileExists(folder + "\\data\\mine.txt"));
    EXPECT_FALSE(FileExists(WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf"));
    EXPECT_FALSE(RegistryKeyExists(kMachine, kDemoProductKey));
    EXPECT_FALSE(RegistryKeyExists(kMachine, kUninstallKey + "Vesk Demo 2.0"));
    EXPECT_FALSE(RegistryKeyExists(kMachine, "\\SOFTWARE\\Vesk Demo Company"));
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
    EXPECT_EQ(SharedCount(WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf"), -1);
}

TEST_F(ProductLifeGuiTest, ASharedSystemFileGoesWithTheLastProductThatUsesIt) {
    TempDir alphaDir, betaDir;
    const std::string alpha =
        BuildProduct(alphaDir, "Vesk Alpha", "1.2", {"system\\vesk-shared.dat"});
    const std::string beta = BuildProduct(betaDir, "Vesk Beta", "1.2", {"system\\vesk-shared.dat"});
    const std::string shared = SystemFolder() + "\\vesk-shared.dat";
    ASSERT_EQ(RunSetup(alpha, "/S /D=" + kTestRoot + "\\Alpha"), 0);
    ASSERT_EQ(RunSetup(beta, "/S /D=" + kTestRoot + "\\Beta"), 0);
    EXPECT_EQ(SharedCount(shared), 2);

    EXPECT_EQ(Uninstall("Vesk Alpha 1.2"), 0);
    EXPECT_TRUE(FileExists(shared)) << "Beta still uses it";
    EXPECT_EQ(SharedCount(shared), 1);
    EXPECT_EQ(Uninstall("Vesk Beta 1.2"), 0);
    EXPECT_FALSE(FileExists(shared)) << "nobody uses it";
    EXPECT_EQ(SharedCount(shared), -1);
}

TEST_F(ProductLifeGuiTest, ASystemFileThatWasThereBeforeSurvivesTheUninstall) {
    const std::string existing = SystemFolder() + "\\vesk-existing.dll";
    ASSERT_TRUE(WriteWholeFile(existing, "the system's"));
    TempDir dir;
    const std::string setup = BuildProduct(dir, "Vesk Demo", "1.2", {"system\\vesk-existing.dll"});
    ASSERT_EQ(RunSetup(setup, "/S /D=" + kTestRoot + "\\Existing"), 0);
    EXPECT_EQ(SharedCount(existing), 2) << "counted for its unknown owner too";
    EXPECT_EQ(Uninstall("Vesk Demo 1.2"), 0);
    // The installed version stays in place of the earlier one: it is not deleted.
    EXPECT_TRUE(FileExists(existing));
    EXPECT_EQ(SharedCount(existing), 1);
}

TEST_F(ProductLifeGuiTest, ALogAUserEditedDeletesNoSystemFile) {
    const std::string canary = SystemFolder() + "\\vesk-canary.dll";
    ASSERT_TRUE(WriteWholeFile(canary, "a system file"));
    TempDir dir;
    const std::string setup = BuildProduct(dir, "Vesk Demo", "1.2", {});
    const std::string folder = kTestRoot + "\\Edited";
    ASSERT_EQ(RunSetup(setup, "/S /D=" + folder), 0);
    const std::string log = folder + "\\VeskInstall Vesk Demo 1.2.xml";
    std::string text = ReadWholeFile(log);
    const std::string entry = "<File>[InstallDir]\\Readme.txt,";
    ASSERT_NE(text.find(entry), std::string::npos);
    text.insert(text.find(entry),
                "<File>[System Directory]\\vesk-canary.dll,0,1,A,2004-3-5 14:3:7</File>\r\n");
    ASSERT_TRUE(WriteWholeFile(log, text));

    EXPECT_EQ(Uninstall("Vesk Demo 1.2"), 4) << "the documented refusal";
    EXPECT_TRUE(FileExists(canary));
    EXPECT_TRUE(FileExists(folder + "\\Readme.txt")) << "nothing is removed";
    EXPECT_TRUE(RegistryKeyExists(kMachine, kDemoUninstallKey));
}

TEST_F(ProductLifeGuiTest, ALogPathTakenByAFolderFailsTheInstallAndLeavesNothing) {
    TempDir dir;
    const std::string setup = BuildProduct(dir, "Vesk Demo", "1.2", {});
    const std::string folder = kTestRoot + "\\Blocked";
    fs::create_directories(folder + "\\VeskInstall Vesk Demo 1.2.xml");
    const MachineSnapshot before = MachineSnapshot::Take({dir.Path(), dir_.Path()});
    const std::string log = dir_ / "setup.log";
    EXPECT_EQ(RunSetup(setup, "/S /LOG=" + log + " /D=" + folder), 1);
    EXPECT_NE(ReadWholeFile(log).find("Error     cannot write the log " + folder +
                                      "\\VeskInstall Vesk Demo 1.2.xml: a folder"),
              std::string::npos)
        << ReadWholeFile(log);
    EXPECT_FALSE(RegistryKeyExists(kMachine, kDemoUninstallKey)) << "an entry that cannot work";
    EXPECT_EQ(before.DifferencesTo(MachineSnapshot::Take({dir.Path(), dir_.Path()})),
              std::vector<std::string>());
}

TEST_F(ProductLifeGuiTest, AnOlderVersionIsAskedForInTheWizardAndRefusedUnderSlashS) {
    TempDir newerDir, olderDir;
    const std::string newer = BuildProduct(newerDir, "Vesk Demo", "2.0", {});
    const std::string older = BuildProduct(olderDir, "Vesk Demo", "1.0", {});
    const std::string folder = kTestRoot + "\\Newer";
    ASSERT_EQ(RunSetup(newer, "/S /D=" + folder), 0);

    // Under /S: refused at once, with its own exit code and the reason in the log.
    const std::string log = dir_ / "older.log";
    EXPECT_EQ(RunSetup(older, "/S /LOG=" + log), 5);
    EXPECT_NE(ReadWholeFile(log).find("Error     not installed: Vesk Demo 2.0, a newer version"),
              std::string::npos)
        << ReadWholeFile(log);
    // In the wizard: asked before anything else; No keeps the newer version.
    ChildProcess setup;
    ASSERT_TRUE(setup.Start(older));
    HWND question = WaitForMessageBox(setup.Id(), nullptr, 30000);
    ASSERT_NE(question, nullptr) << "not asked";
    EXPECT_NE(MessageBoxText(question).find("Vesk Demo 2.0 is installed"), std::string::npos)
        << MessageBoxText(question);
    EXPECT_TRUE(Screenshot(question, "ProductLife-1-OlderOverNewer.bmp"));
    ASSERT_TRUE(ClickItem(question, IDNO));
    EXPECT_EQ(setup.WaitForExit(kInstallTimeoutMs), 2);
    EXPECT_EQ(ReadRegistryString(kMachine, kUninstallKey + "Vesk Demo 2.0", "DisplayVersion"),
              "2.0");
    EXPECT_FALSE(RegistryKeyExists(kMachine, kUninstallKey + "Vesk Demo 1.0"));
}

TEST_F(ProductLifeGuiTest, AnEditedLogRemovesOnlyTheEntryWhenAnAdministratorConfirms) {
    TempDir dir;
    const std::string setup = BuildProduct(dir, "Vesk Demo", "1.2", {});
    const std::string folder = kTestRoot + "\\Confirmed";
    ASSERT_EQ(RunSetup(setup, "/S /D=" + folder), 0);
    const std::string log = folder + "\\VeskInstall Vesk Demo 1.2.xml";
    ASSERT_TRUE(WriteWholeFile(log, ReadWholeFile(log) + "\r\n"));
    ChildProcess uninstall;
    ASSERT_TRUE(uninstall.StartCommandLine(
        ReadRegistryString(kMachine, kDemoUninstallKey, "UninstallString")));
    HWND question = WaitForMessageBox(uninstall.Id(), nullptr, 30000);
    ASSERT_NE(question, nullptr) << "no question";
    const std::string text = MessageBoxText(question);
    EXPECT_NE(text.find("nothing was removed"), std::string::npos) << text;
    EXPECT_NE(text.find("Remove Vesk Demo 1.2 from the list"), std::string::npos) << text;
    EXPECT_TRUE(Screenshot(question, "ProductLife-2-LogChanged.bmp"));
    ASSERT_TRUE(ClickItem(question, IDYES));
    EXPECT_EQ(uninstall.WaitForExit(kInstallTimeoutMs), 4);
    EXPECT_FALSE(RegistryKeyExists(kMachine, kDemoUninstallKey)) << "the entry stays";
    EXPECT_TRUE(FileExists(folder + "\\Readme.txt")) << "a file was removed";
}

TEST_F(ProductLifeGuiTest, AFileInUseIsReplacedWhenWindowsRestarts) {
    TempDir dir;
    const std::string setup = BuildProduct(dir, "Vesk Demo", "1.2", {});
    const std::string folder = kTestRoot + "\\InUse";
    ASSERT_EQ(RunSetup(setup, "/S /D=" + folder), 0);
    // A program holds the file open, sharing nothing: it can be neither renamed nor written.
    const std::string readme = folder + "\\Readme.txt";
    HANDLE held = CreateFileA(readme.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string log = dir_ / "in-use.log";
    EXPECT_EQ(RunSetup(setup, "/S /LOG=" + log), 3010);
    CloseHandle(held);
    EXPECT_NE(ReadWholeFile(log).find("File      " + readme +
                                      " is in use: replaced when Windows restarts"),
              std::string::npos)
        << ReadWholeFile(log);
    constexpr char kPendingKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    auto pending = HostRegistry().Open(kMachine, kPendingKey, RegistryAccess::All);
    ASSERT_TRUE(pending);
    const auto value = pending->QueryValue("PendingFileRenameOperations");
    ASSERT_TRUE(value);
    EXPECT_NE(value->data.find("Readme.txt.~VeskNew"), std::string::npos);
    // So the prefix's next start puts nothing in place.
    pending->DeleteValue("PendingFileRenameOperations");
}

}  // namespace
}  // namespace vesk
