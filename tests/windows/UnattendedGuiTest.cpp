// Setup.exe's command line under Wine: /S installs the demo without a single window of its own,
// exactly as the wizard does, into the /D= folder, and writes the /LOG= file; the exit code
// tells a missing volume, a damaged volume, a missing payload and a user who left apart; an
// unknown switch or /? shows the help; a restart the product asks for is left to the caller.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DemoInstall.h"
#include "EnglishTexts.h"
#include "GuiDriver.h"
#include "platform/Utf8.h"
#include "resources/ResourceIds.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using namespace test;  // the demo's helpers and constants

const std::string kFolder = kTestRoot + "\\Silent Demo\\Here";
constexpr std::size_t kTimeColumns = 9;  // "   0.125 " before the kind of a log line
constexpr int kRestartBoxId = 999;

struct WindowQuery {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<WindowQuery*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query->processId && IsWindowVisible(window)) query->found = true;
    return !query->found;
}

// Whether the process has a visible top-level window now.
bool ShowsAWindow(DWORD processId) {
    WindowQuery query{processId, false};
    EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The lines of a log file without their times.
std::vector<std::string> LogLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string bytes = ReadWholeFile(path);
    StripUtf8ByteOrderMark(bytes);  // the log is UTF-8, marked so
    std::istringstream text(bytes);
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.size() > kTimeColumns ? line.substr(kTimeColumns) : line);
    }
    return lines;
}

// The last line of a log; "" for an empty or missing log.
std::string LastLine(const std::vector<std::string>& lines) {
    return lines.empty() ? std::string() : lines.back();
}

bool HasLine(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

class UnattendedGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!DisplayAvailable()) return;
        setupDir_ = new TempDir();
        setup_ = BuildDemoVariant(*setupDir_);
        // The same product whose finish page is the restart page.
        restartDir_ = new TempDir();
        restartSetup_ = BuildDemoVariant(*restartDir_, [](std::string& project) {
            const std::string finish = "<Task ID=\"2010\"";
            project.replace(project.find(finish), finish.size(), "<Task ID=\"2009\"");
        });
    }
    static void TearDownTestSuite() {
        if (DisplayAvailable()) RemoveTheDemo();
        delete setupDir_;
        delete restartDir_;
        setupDir_ = restartDir_ = nullptr;
    }
    void SetUp() override {
        if (!DisplayAvailable()) GTEST_SKIP() << "no display";
        ASSERT_FALSE(setup_.empty());
        ASSERT_FALSE(restartSetup_.empty());
        RemoveTheDemo();
        SetEnvironment("VESK_TEST_MARKER", dir_ / "ran-in.txt");
    }
    void TearDown() override { SetEnvironment("VESK_TEST_MARKER", ""); }

    // Runs the setup to its end with `arguments`; the exit code. A window of its own fails the
    // test and ends the run (-1).
    long RunUnseen(const std::string& setup, const std::string& arguments) {
        ChildProcess process;
        if (!process.Start(setup, arguments)) return -2;
        const DWORD start = GetTickCount();
        long code = -1;
        while ((code = process.WaitForExit(20)) == -1 &&
               GetTickCount() - start < kInstallTimeoutMs) {
            if (ShowsAWindow(process.Id())) {
                ADD_FAILURE() << "a window appeared during " << arguments;
                return -1;
            }
        }
        return code;
    }

    static TempDir* setupDir_;
    static TempDir* restartDir_;
    static std::string setup_;
    static std::string restartSetup_;
    TempDir dir_;
};

TempDir* UnattendedGuiTest::setupDir_ = nullptr;
TempDir* UnattendedGuiTest::restartDir_ = nullptr;
std::string UnattendedGuiTest::setup_;
std::string UnattendedGuiTest::restartSetup_;

TEST_F(UnattendedGuiTest, SlashSInstallsWhatTheWizardDoesAndLogsEveryItem) {
    const std::set<std::string> tempBefore = RunFilesInTemp();
    const std::string log = dir_ / "setup log.txt";
    const std::string arguments = "/S \"/LOG=" + log + "\" /D=" + kFolder;
    ASSERT_EQ(RunUnseen(setup_, arguments), 0);
    ExpectTheDemoInstalled(kFolder, *setupDir_);
    EXPECT_EQ(ReadWholeFile(dir_ / "ran-in.txt"), kFolder);
    EXPECT_EQ(RunFilesInTemp(), tempBefore) << "files of the run left in the temporary folder";

    const std::vector<std::string> lines = LogLines(log);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines.front(), "Setup     unattended, command line: " + arguments);
    EXPECT_EQ(LastLine(lines), "Result    installed (exit code 0)");
    const std::string expected[] = {
        "Setup     Vesk Demo 1.2 from " + setup_,
        "Setup     install folder " + kFolder + ", program folder Vesk Demo",
        "Phase     files",
        "File      " + kFolder + "\\Readme.txt",
        "File      ran " + kFolder + "\\hold.exe, exit code 0",
        "File      applied the registry data file ",
        "Font      " + WindowsFolder() + "\\Fonts\\DejaVuSansMono.ttf",
        "Registry  HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk Demo Company\\Vesk Demo: Version = \"1.2\"",
        "Registry  HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk Demo Company\\Vesk Demo: UserName = ",
        "Removed   " + kFolder + "\\data\\first-run.tmp",
        "Shortcut  " + ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vesk Demo Readme.Lnk -> ",
        "Record    uninstall entry HKEY_LOCAL_MACHINE" + kDemoUninstallKey,
        "Record    log " + kFolder + "\\VeskInstall Vesk Demo 1.2.xml",
    };
    for (const std::string& line : expected) EXPECT_TRUE(HasLine(lines, line)) << line;
    EXPECT_FALSE(HasLine(lines, "Error")) << ReadWholeFile(log);

    // Again without /D=: the folder of the earlier install.
    ASSERT_TRUE(fs::remove(kFolder + "\\Readme.txt"));
    ASSERT_EQ(RunUnseen(setup_, "/S"), 0);
    EXPECT_TRUE(FileExists(kFolder + "\\Readme.txt"));
}

TEST_F(UnattendedGuiTest, TheExitCodeTellsHowTheRunEnded) {
    // Volume 1 alone; with a volume 2 cut short (its tail, which names the set, lost); with a
    // volume 2 whose files are cut short (its tail kept).
    for (const std::string folder : {"alone", "cut", "damaged"}) {
        fs::create_directories(dir_ / folder);
        ASSERT_TRUE(CopyFileA(setup_.c_str(), (dir_ / folder + "\\Setup.exe").c_str(), FALSE));
    }
    const std::string volume2 =
        ReadWholeFile(fs::path(setup_).parent_path().string() + "\\Setup2.Cab");
    const std::size_t half = volume2.size() / 2;
    constexpr std::size_t kTailSize = 76;
    ASSERT_TRUE(WriteWholeFile(dir_ / "cut\\Setup2.Cab", volume2.substr(0, half)));
    ASSERT_TRUE(
        WriteWholeFile(dir_ / "damaged\\Setup2.Cab",
                       volume2.substr(0, half) + volume2.substr(volume2.size() - kTailSize)));
    struct Case {
        const char* what;
        std::string setup;
        const char* logLine;  // a line of the log starts so
        bool installing;      // the failure came in the file phase, after volume 1's files
        long exitCode;        // 1 failed, 4 damaged
        const char* result;   // the log's last line
    };
    const char* failed = "Result    failed (exit code 1)";
    const char* damaged = "Result    the setup is damaged (exit code 4)";
    const Case cases[] = {
        {"missing volume", dir_ / "alone\\Setup.exe", "Error     volume 2 is missing: cannot open",
         true, 1, failed},
        {"foreign volume", dir_ / "cut\\Setup.exe", "Error     volume 2 is missing: ", true, 1,
         failed},
        {"damaged volume", dir_ / "damaged\\Setup.exe", "Error     The setup is damaged: ", true, 4,
         damaged},
        {"no payload", VESK_STUB_PATH, "Error     cannot read the setup", false, 1, failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::set<std::string> tempBefore = RunFilesInTemp();
        const std::string log = dir_ / "setup.log";
        EXPECT_EQ(RunUnseen(c.setup, "/S /LOG=" + log + " /D=" + kFolder), c.exitCode);
        const std::vector<std::string> lines = LogLines(log);
        EXPECT_TRUE(HasLine(lines, c.logLine)) << ReadWholeFile(log);
        EXPECT_EQ(HasLine(lines, "File      " + kFolder + "\\Readme.txt"), c.installing);
        EXPECT_EQ(LastLine(lines), c.result);
        // Rolled back: nothing of the product, nothing of the run.
        EXPECT_FALSE(fs::exists(kFolder));
        EXPECT_FALSE(fs::exists(kTestRoot + "\\Silent Demo"));
        EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vesk Demo"));
        EXPECT_EQ(ReadRegistryString(kMachine, kDemoUninstallKey, "DisplayName"), "(no key)");
        EXPECT_EQ(RunFilesInTemp(), tempBefore);
    }

    // The user leaves the wizard.
    ChildProcess wizard;
    ASSERT_TRUE(wizard.Start(setup_));
    EXPECT_TRUE(LeaveWizard(wizard.Id()));
    EXPECT_EQ(wizard.WaitForExit(), 2);
}

TEST_F(UnattendedGuiTest, AnUnknownSwitchOrSlashQuestionShowsTheHelpAndInstallsNothing) {
    struct Case {
        const char* arguments;
        const char* shown;  // the message names this
        const char* screenshot;
    };
    const Case cases[] = {
        {"/Quiet", "Unknown switch: /Quiet", "Unattended-1-RefusedSwitch.bmp"},
        {"/?", "/D=FOLDER", "Unattended-2-Help.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ChildProcess process;
        ASSERT_TRUE(process.Start(setup_, c.arguments));
        HWND box = WaitForMessageBox(process.Id(), nullptr);
        ASSERT_NE(box, nullptr) << "no help";
        const std::string text = MessageBoxText(box);
        EXPECT_NE(text.find(c.shown), std::string::npos) << text;
        EXPECT_NE(text.find("/NORESTART"), std::string::npos) << text;
        EXPECT_TRUE(Screenshot(box, c.screenshot));
        ASSERT_TRUE(ClickItem(box, IDOK));
        EXPECT_EQ(process.WaitForExit(), 3);
        EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey, "Path"), "(no key)");
    }
}

// Under /S nothing waits for a click, not even a refused line: the exit code and the log say it.
TEST_F(UnattendedGuiTest, ARefusedLineUnderSlashSReturnsAtOnceWithoutAWindow) {
    const std::string log = dir_ / "refused.log";
    for (const std::string& arguments :
         std::vector<std::string>{"/S /Quiet /LOG=" + log, "/S /?", "/LOG=" + log + " /S x"}) {
        SCOPED_TRACE(arguments);
        const DWORD start = GetTickCount();
        EXPECT_EQ(RunUnseen(setup_, arguments), 3);
        EXPECT_LT(GetTickCount() - start, 15000u) << "it waited";
        EXPECT_EQ(ReadRegistryString(kMachine, kDemoProductKey, "Path"), "(no key)");
    }
    const std::vector<std::string> lines = LogLines(log);
    EXPECT_TRUE(HasLine(lines, "Error     command line refused: Not a switch: x"))
        << ReadWholeFile(log);
    EXPECT_EQ(LastLine(lines), "Result    help shown, nothing installed (exit code 3)");
}

TEST_F(UnattendedGuiTest, ARestartTheProductAsksForIsLeftToTheCaller) {
    const std::string log = dir_ / "setup.log";
    EXPECT_EQ(RunUnseen(restartSetup_, "/S /LOG=" + log), 3010);
    EXPECT_EQ(LastLine(LogLines(log)),
              "Result    installed, a restart is required (exit code 3010)");
    RemoveTheDemo();

    // In the wizard, /NORESTART takes the restart off the finish page; /D= is proposed.
    ChildProcess process;
    ASSERT_TRUE(process.Start(restartSetup_, "/NORESTART /D=" + kFolder));
    HWND frame = WaitForWizard(process.Id(), 30000);
    ASSERT_NE(frame, nullptr);
    auto next = [&] { ASSERT_TRUE(PressItem(frame, IDC_WIZARD_NEXT)); };
    next();
    ASSERT_TRUE(PressItem(VisiblePage(frame), IDC_LICENCE_ACCEPT));
    for (int i = 0; i < 4; ++i) next();  // readme, user, program folder, destination
    EXPECT_EQ(ItemText(VisiblePage(frame), IDC_DESTINATION_PATH), kFolder);
    next();
    const std::string finish = EnglishText(TextKey::CompleteButtonDesc);
    const DWORD start = GetTickCount();
    while (ItemText(frame, IDC_WIZARD_NEXT) != finish &&
           GetTickCount() - start < kInstallTimeoutMs) {
        Sleep(50);
    }
    ASSERT_EQ(ItemText(frame, IDC_WIZARD_NEXT), finish) << "no finish page";
    HWND restart = GetDlgItem(VisiblePage(frame), kRestartBoxId);
    ASSERT_NE(restart, nullptr);
    EXPECT_FALSE(IsWindowEnabled(restart));
    EXPECT_EQ(SendMessageA(restart, BM_GETCHECK, 0, 0), LRESULT(BST_UNCHECKED));
    EXPECT_TRUE(Screenshot(frame, "Unattended-3-NoRestart.bmp"));
    // Should the box be there after all, Finish must not end the test's Wine session.
    SendMessageA(restart, BM_SETCHECK, BST_UNCHECKED, 0);
    next();
    EXPECT_EQ(process.WaitForExit(), 3010);
    EXPECT_TRUE(FileExists(kFolder + "\\Readme.txt"));
}

}  // namespace
}  // namespace vesk
