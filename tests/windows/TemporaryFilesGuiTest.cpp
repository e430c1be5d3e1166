// What the real engine does in the temporary folder, tried as an attacker would: files planted
// under the names a run used to write are neither written through nor removed, start-up files
// aimed outside the run's folder stop the setup before any window but the loading dialog, and
// before anything is unpacked, and a preparatory program
// swapped after it was unpacked is never run.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "GuiDriver.h"
#include "RunFolders.h"
#include "ScopedEnvironment.h"
#include "resources/ResourceIds.h"
#include "support/BmpBuilder.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr char kLanguage[] = "[Language=409]\r\nSureDesc=OK\r\n";
constexpr char kPreparatoryName[] = "~VeskInstall-ProvideForInstall.exe";

using test::ScopedEnvironment;

// The time stamp text a run puts into its temporary names: the year, month, day, hour, minute and
// second (two digits each but the year), then the milliseconds without leading zeros.
std::string StampText(const SYSTEMTIME& t) {
    char text[32];
    wsprintfA(text, "%u%02u%02u%02u%02u%02u%u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
              t.wSecond, t.wMilliseconds);
    return text;
}

// Every stamp from now on for `seconds` seconds, one per millisecond.
std::vector<std::string> StampsAhead(int seconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME start;
    SystemTimeToFileTime(&now, &start);
    ULARGE_INTEGER at{};
    at.LowPart = start.dwLowDateTime;
    at.HighPart = start.dwHighDateTime;
    constexpr ULONGLONG kMillisecond = 10000;  // in 100-nanosecond units
    std::vector<std::string> stamps;
    for (int ms = 0; ms < seconds * 1000; ++ms, at.QuadPart += kMillisecond) {
        FILETIME time{at.LowPart, at.HighPart};
        SYSTEMTIME step;
        FileTimeToSystemTime(&time, &step);
        stamps.push_back(StampText(step));
    }
    return stamps;
}

struct ProcessWindowQuery {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<ProcessWindowQuery*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // The loading dialog is on screen from the start, before the setup is checked and read.
    const bool loading = GetDlgItem(window, IDC_LOADING_BAR) != nullptr;
    if (owner == query->processId && IsWindowVisible(window) && !loading) {
        query->found = true;
        return FALSE;
    }
    return TRUE;
}

// Whether the process shows any window but the loading dialog before it ends (within a minute).
bool ShowsAWindowBeforeItEnds(test::ChildProcess& process) {
    const DWORD start = GetTickCount();
    while (process.WaitForExit(20) == -1 && GetTickCount() - start < 60000) {
        ProcessWindowQuery query{process.Id(), false};
        EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found) return true;
    }
    return false;
}

struct SizedWindowQuery {
    DWORD processId;
    int width, height;
    HWND found;
};

BOOL CALLBACK FindSizedWindow(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<SizedWindowQuery*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT frame{};
    if (owner == query->processId && IsWindowVisible(window) && GetWindowRect(window, &frame) &&
        frame.right - frame.left == query->width && frame.bottom - frame.top == query->height) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// The first visible window of the process with that outer size (the advertising picture's);
// null when none comes within ten seconds.
HWND FirstWindowOfSize(DWORD processId, int width, int height) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < test::kGuiTimeoutMs) {
        SizedWindowQuery query{processId, width, height, nullptr};
        EnumWindows(&FindSizedWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found) return query.found;
        Sleep(20);
    }
    return nullptr;
}

// Files planted in the temporary folder, removed whatever becomes of the test.
struct PlantedFiles {
    std::vector<std::string> paths;
    ~PlantedFiles() {
        for (const std::string& path : paths) DeleteFileA(path.c_str());
    }
};

class TemporaryFilesGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
        stub_ = test::ReadWholeFile(VESK_STUB_PATH);
        ASSERT_GT(stub_.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
    }

    std::string Build(const std::vector<test::FixtureBody>& bodies,
                      const std::string& properties = "") {
        return test::BuildFixtureSetWithStub(dir_ / "Setup.exe", stub_, 1 << 30, bodies, "20261207",
                                             properties)
            .setupPath;
    }

    std::string stub_;
    test::TempDir dir_;
};

TEST_F(TemporaryFilesGuiTest, FilesPlantedUnderTheNamesARunUsedToWriteAreLeftAlone) {
    const std::string picture = test::FixtureBytes(3000, 5, true);
    const std::string setup =
        Build({{kLanguage, false, 'K', "[TempFileDir]\\~VeskInstall-Language.ini"},
               {picture, false, 'K', "[TempFileDir]\\~VeskInstall-TopFramePicture.bmp"}});
    const std::set<std::string> before = test::TempFolderEntries();

    // A run wrote its project to "VeskInstall" + stamp + ".xml" in the temporary folder, first
    // of all its files: a file is planted under every such name a run started in the next
    // seconds would have used, before its first instruction. (It takes about half of them.)
    PlantedFiles planted;
    test::ChildProcess process;
    const std::vector<std::string> stamps = StampsAhead(6);
    ASSERT_TRUE(process.StartSuspended(setup));
    const std::string temp = test::TempFolder() + "\\";
    for (const std::string& stamp : stamps) {
        const std::string path = temp + "VeskInstall" + stamp + ".xml";
        if (test::WriteWholeFile(path, "planted")) planted.paths.push_back(path);
    }
    ASSERT_TRUE(process.Resume());

    HWND frame = test::WaitForWizard(process.Id());
    ASSERT_NE(frame, nullptr) << "the wizard did not appear";
    test::Screenshot(frame, "TemporaryFiles-Wizard.bmp");
    // All the run wrote is one new folder of its own, which holds the start-up picture.
    std::vector<std::string> added;
    for (const std::string& name : test::TempFolderEntries()) {
        if (!before.count(name) &&
            GetFileAttributesA((temp + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            added.push_back(name);
        }
    }
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].rfind("~VeskInstall-", 0), 0u) << added[0];
    std::vector<std::string> unpacked = test::RunFilesEndingIn("~VeskInstall-TopFramePicture.bmp");
    ASSERT_EQ(unpacked.size(), 1u);
    EXPECT_EQ(unpacked[0].compare(0, temp.size() + added[0].size(), temp + added[0]), 0);
    EXPECT_EQ(test::ReadWholeFile(unpacked[0]), picture);

    EXPECT_TRUE(test::LeaveWizard(process.Id()));
    EXPECT_EQ(process.WaitForExit(60000), 2);
    std::size_t changed = 0;
    for (const std::string& path : planted.paths) {
        if (test::ReadWholeFile(path) != "planted") ++changed;
    }
    EXPECT_EQ(changed, 0u) << "planted files written through or removed";
    std::set<std::string> after = test::TempFolderEntries();
    for (const std::string& path : planted.paths) after.erase(path.substr(temp.size()));
    EXPECT_EQ(after, before) << "the run left something behind";
}

TEST_F(TemporaryFilesGuiTest, StartupFilesAimedOutsideTheRunFolderStopTheSetupBeforeAnyPage) {
    const std::string temp = test::TempFolder();
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    struct Case {
        std::string entry;   // the start-up file's path in the project
        std::string folder;  // where it would land, under a stamped name
    };
    const Case cases[] = {
        {std::string(windows) + "\\vesk-planted.dll", windows},
        {"[TempFileDir]\\..\\..\\vesk-escape.txt", temp + "\\..\\.."},
    };
    for (const Case& c : cases) {
        const std::string setup =
            Build({{kLanguage, false}, {"MZ planted", false, 'K', c.entry}, {"data", false}});
        const std::set<std::string> before = test::TempFolderEntries();
        test::ChildProcess process;
        ASSERT_TRUE(process.Start(setup));
        EXPECT_FALSE(ShowsAWindowBeforeItEnds(process)) << c.entry;
        EXPECT_EQ(process.WaitForExit(60000), 1) << c.entry;
        const std::string name = c.entry.substr(c.entry.find_last_of('\\') + 1);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((c.folder + "\\*" + name).c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << c.entry << " was written: " << found.cFileName;
        if (search != INVALID_HANDLE_VALUE) {
            DeleteFileA((c.folder + "\\" + found.cFileName).c_str());
            FindClose(search);
        }
        EXPECT_EQ(test::TempFolderEntries(), before) << c.entry;
    }
}

TEST_F(TemporaryFilesGuiTest, APreparatoryProgramSwappedAfterItWasUnpackedIsNeverRun) {
    const std::string program = test::ReadWholeFile(VESK_EXIT_WITH_PATH);
    ASSERT_GT(program.size(), 1000u) << "helper not found at " << VESK_EXIT_WITH_PATH;
    ASSERT_TRUE(CopyFileA(VESK_SWAPPED_PROGRAM_PATH, (dir_ / "swap.exe").c_str(), FALSE));
    // The advertising picture keeps the run for five seconds between unpacking the program and
    // starting it: time enough for any swap.
    test::BmpBuilder bitmap;
    bitmap.width = 40;
    bitmap.height = 30;
    bitmap.pixels = std::string(40 * 30 * 3, '\x60');
    const std::string setup =
        Build({{kLanguage, false},
               {bitmap.Bytes(), false, 'K', "[TempFileDir]\\~VeskInstall-AdPicture.bmp"},
               {program, false, 'K', std::string("[TempFileDir]\\") + kPreparatoryName}},
              "<AdPicture>1</AdPicture>\r\n<ProvideForInstall>1</ProvideForInstall>\r\n");
    ScopedEnvironment exitCode("VESK_TEST_EXIT_CODE", "1");
    ScopedEnvironment marker("VESK_TEST_MARKER", dir_ / "ran.txt");
    ScopedEnvironment swappedMarker("VESK_TEST_SWAPPED_MARKER", dir_ / "swapped.txt");

    // Every way to put another program under the unpacked one's name, tried without pause.
    std::atomic<bool> stop{false};
    std::atomic<int> swaps{0};
    std::thread swapper([&] {
        const std::string swap = dir_ / "swap.exe";
        while (!stop) {
            // In the run's folder, or where a run used to unpack it, the temporary folder.
            std::vector<std::string> targets = test::RunFilesEndingIn(kPreparatoryName);
            WIN32_FIND_DATAA found;
            const std::string temp = test::TempFolder() + "\\";
            HANDLE search = FindFirstFileA((temp + "*" + kPreparatoryName).c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                targets.push_back(temp + found.cFileName);
                FindClose(search);
            }
            for (const std::string& target : targets) {
                if (CopyFileA(swap.c_str(), target.c_str(), FALSE)) ++swaps;
                if (DeleteFileA(target.c_str()) && CopyFileA(swap.c_str(), target.c_str(), TRUE)) {
                    ++swaps;
                }
                const std::string aside = target + ".aside";
                if (MoveFileA(target.c_str(), aside.c_str()) &&
                    CopyFileA(swap.c_str(), target.c_str(), TRUE)) {
                    ++swaps;
                }
            }
            Sleep(1);
        }
    });
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup));
    HWND picture = FirstWindowOfSize(process.Id(), 40, 30);
    if (picture) test::Screenshot(picture, "TemporaryFiles-AdPicture.bmp");
    HWND frame = test::WaitForWizard(process.Id(), 60000);
    stop = true;
    swapper.join();
    EXPECT_FALSE(test::FileExists(dir_ / "swapped.txt")) << "the swapped program ran";
    if (frame) {
        test::Screenshot(frame, "TemporaryFiles-AfterPreparatoryProgram.bmp");
        EXPECT_TRUE(test::LeaveWizard(process.Id()));
        EXPECT_EQ(process.WaitForExit(60000), 2);
        EXPECT_EQ(swaps, 0) << "the unpacked program could be replaced";
        EXPECT_TRUE(test::FileExists(dir_ / "ran.txt")) << "the unpacked program did not run";
    } else {
        // A swap in the instant between writing the program and holding it is found out: the
        // run refuses its start-up files and ends without running anything.
        EXPECT_EQ(process.WaitForExit(60000), 1) << "the wizard did not appear";
        EXPECT_GT(swaps, 0);
        EXPECT_FALSE(test::FileExists(dir_ / "ran.txt"));
    }
}

}  // namespace
}  // namespace vesk
