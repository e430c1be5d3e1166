// Components dispatched by extension: the registration program, programs run and waited for,
// documents opened through the shell.
#include <gtest/gtest.h>

#include "install/Components.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProcesses.h"

namespace vesk {
namespace {

using Kind = test::RecordingProcesses::Kind;

TEST(ComponentsTest, DispatchesByExtensionInAnyCase) {
    const std::string regsvr = "C:\\WINDOWS\\System32\\Regsvr32.exe";
    struct Case {
        const char* value;
        Kind kind;
        std::string program;
        std::string commandLine;
        std::string folder;
        bool opened;
    };
    const Case cases[] = {
        // Registered and waited for, so a rollback never meets a registration still running.
        {"[InstallDir]\\bin\\Grid.ocx", Kind::RunAndWait, regsvr,
         "\"" + regsvr + "\" \"D:\\My Apps\\bin\\Grid.ocx\" /s", "D:\\My Apps\\bin", false},
        {"[InstallDir]\\Lib.DlL", Kind::RunAndWait, regsvr,
         "\"" + regsvr + "\" \"D:\\My Apps\\Lib.DlL\" /s", "D:\\My Apps", false},
        {"[InstallDir]\\Set up.Exe", Kind::RunAndWait, "D:\\My Apps\\Set up.Exe",
         "\"D:\\My Apps\\Set up.Exe\"", "D:\\My Apps", false},
        {"[InstallDir]\\Read me.txt", Kind::Open, "D:\\My Apps\\Read me.txt", "", "", true},
        {"[InstallDir]\\Grid.ocx.bak", Kind::Open, "D:\\My Apps\\Grid.ocx.bak", "", "", true},
        {"[InstallDir]\\dll", Kind::Open, "D:\\My Apps\\dll", "", "", true},
    };
    for (const Case& c : cases) {
        test::FakeSystemFacts facts;
        test::MemoryRegistry registry;
        PathResolver paths(facts, registry, "D:\\My Apps");
        test::RecordingProcesses processes;
        std::vector<std::string> notices;
        const bool opened = RegisterComponent(
            c.value, paths, processes, [&](const std::string& text) { notices.push_back(text); });
        EXPECT_EQ(opened, c.opened) << c.value;
        ASSERT_EQ(processes.calls.size(), 1u) << c.value;
        const test::RecordingProcesses::Call& call = processes.calls[0];
        EXPECT_EQ(call.kind, c.kind) << c.value;
        EXPECT_EQ(call.program, c.program) << c.value;
        EXPECT_EQ(call.commandLine, c.commandLine) << c.value;
        EXPECT_EQ(call.folder, c.folder) << c.value;
        EXPECT_EQ(call.show, kShowNormal) << c.value;
        EXPECT_TRUE(notices.empty()) << c.value;
    }
}

TEST(ComponentsTest, OnlyAProgramThatCannotStartIsReported) {
    test::FakeSystemFacts facts;
    test::MemoryRegistry registry;
    PathResolver paths(facts, registry, "D:\\Apps");
    test::RecordingProcesses processes;
    processes.exitCode = std::nullopt;
    processes.startSucceeds = false;
    processes.openSucceeds = false;
    std::vector<std::string> notices;
    const FailureNotice notice = [&](const std::string& text) { notices.push_back(text); };
    EXPECT_FALSE(RegisterComponent("[InstallDir]\\a.ocx", paths, processes, notice));
    EXPECT_TRUE(RegisterComponent("[InstallDir]\\a.doc", paths, processes, notice));
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(RegisterComponent("[InstallDir]\\a.exe", paths, processes, notice));
    EXPECT_EQ(notices, std::vector<std::string>{kCreateProcessFailedText});
}

}  // namespace
}  // namespace vesk
