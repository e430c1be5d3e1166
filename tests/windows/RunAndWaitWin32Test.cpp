// Starting a program and waiting for its exit code; a program that cannot start is reported.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "install/RunAndWait.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// Keeps this process's current folder and restores it, since RunAndWait changes it.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper() { GetCurrentDirectoryA(sizeof folder_, folder_); }
    ~CurrentFolderKeeper() { SetCurrentDirectoryA(folder_); }

private:
    char folder_[MAX_PATH + 1] = {};
};

class RunAndWaitWin32Test : public ::testing::Test {
protected:
    void TearDown() override { SetEnvironmentVariableA("VESK_TEST_EXIT_CODE", nullptr); }

    std::uint32_t Run(const std::string& path) {
        return RunAndWait(HostProcesses(), path, kShowNormal,
                          [this](const std::string& text) { notices_.push_back(text); });
    }

    CurrentFolderKeeper keeper_;
    std::vector<std::string> notices_;
    test::TempDir dir_;
};

TEST_F(RunAndWaitWin32Test, ReturnsTheExitCodeAndLeavesTheProgramsFolderCurrent) {
    // A folder with a space: the path must name the program, not a prefix of it.
    std::string folder = dir_ / "my tools";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string program = folder + "\\exit with.exe";
    ASSERT_TRUE(CopyFileA(VESK_EXIT_WITH_PATH, program.c_str(), FALSE));
    for (const char* code : {"0", "1", "42", "781205"}) {
        SetEnvironmentVariableA("VESK_TEST_EXIT_CODE", code);
        EXPECT_EQ(Run(program), std::uint32_t(std::atol(code))) << code;
    }
    char current[MAX_PATH + 1];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(lstrcmpiA(current, folder.c_str()), 0) << current;
    EXPECT_TRUE(notices_.empty());
}

TEST_F(RunAndWaitWin32Test, AProgramThatCannotStartIsReported) {
    const std::string missing[] = {dir_ / "absent.exe", dir_ / "no folder\\absent.exe", ""};
    for (const std::string& path : missing) {
        notices_.clear();
        EXPECT_EQ(Run(path), kCreateProcessFailed) << path;
        EXPECT_EQ(notices_, std::vector<std::string>{"Create process failed"}) << path;
    }
}

}  // namespace
}  // namespace vesk
