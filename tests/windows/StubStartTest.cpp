// The real engine stub, run under Windows with a payload appended: it must find and read it.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "GuiDriver.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// Runs a program and returns its exit code; -1 when it cannot be started.
long RunAndWait(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return long(code);
}

// The names of the files in the temporary folder.
std::set<std::string> TempFolderFiles() {
    char folder[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof folder, folder);
    std::set<std::string> names;
    if (length == 0 || length >= sizeof folder) return names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST(StubStartTest, FindsItsPayloadAcrossVolumes) {
    if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
    std::string stub = test::ReadWholeFile(VESK_STUB_PATH);
    ASSERT_GT(stub.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
    test::TempDir dir;

    // The bare stub holds no payload: it ends quietly with a failure.
    test::WriteWholeFile(dir / "Bare.exe", stub);
    EXPECT_EQ(RunAndWait(dir / "Bare.exe"), 1);

    // Language file first; the set continues in a second volume.
    std::vector<test::FixtureBody> bodies = {{"[Language=409]\r\nSureDesc=OK\r\n", false},
                                             {test::FixtureBytes(50000, 3, false), true}};
    test::FixtureSet set = test::BuildFixtureSetWithStub(dir / "Setup.exe", stub,
                                                         std::int32_t(stub.size() + 20000), bodies);
    ASSERT_EQ(set.volumePaths.size(), 2u);
    std::set<std::string> before = TempFolderFiles();
    test::ChildProcess setup;
    ASSERT_TRUE(setup.Start(set.setupPath));
    EXPECT_TRUE(test::LeaveWizard(setup.Id())) << "the wizard did not appear";
    EXPECT_EQ(setup.WaitForExit(60000), 2);
    // The unpacked project and language file are gone again.
    EXPECT_EQ(TempFolderFiles(), before);

    // A damaged project section is refused.
    std::string damaged = test::ReadWholeFile(set.setupPath);
    damaged[damaged.size() - 16] = char(0xFF);  // project offset beyond the file
    damaged[damaged.size() - 13] = char(0x7F);
    test::WriteWholeFile(dir / "Damaged.exe", damaged);
    EXPECT_EQ(RunAndWait(dir / "Damaged.exe"), 1);
}

// The engine is built without exceptions; one library call that throws (or its type
// information) pulls the unwinder, the terminate handler and its demangler back into every setup,
// which carries both programs.
TEST(StubStartTest, TheEngineProgramsCarryNoExceptionRuntime) {
    for (const char* program : {VESK_STUB_PATH, VESK_UNINSTALLER_PATH}) {
        SCOPED_TRACE(program);
        const std::string image = test::ReadWholeFile(program);
        ASSERT_GT(image.size(), 1000u);
        EXPECT_EQ(image.find("terminate called after throwing"), std::string::npos);
        EXPECT_EQ(image.find("__gxx_personality"), std::string::npos);
    }
}

}  // namespace
}  // namespace vesk
