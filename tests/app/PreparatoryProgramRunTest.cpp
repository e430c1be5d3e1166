// The preparatory program runs only as the run unpacked it into its own folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/PreparatoryProgram.h"
#include "app/StartupChoices.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingProcesses.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

TEST(PreparatoryProgramRunTest, OnlyTheProgramTheRunUnpackedItselfIsStarted) {
    enum class There { Unpacked, Planted, Nothing };
    struct Case {
        const char* label;
        There there;
        bool started;
    };
    const Case cases[] = {
        {"unpacked by the run", There::Unpacked, true},
        {"planted under its name", There::Planted, false},
        {"none at all", There::Nothing, false},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::FakeSystemFacts facts;
        facts.tempPath = dir.Path();
        test::MemoryRegistry registry;
        SetupSession session(facts, registry);
        session.start.startStamp = "2004030514030745";
        ASSERT_TRUE(session.runFolder.Create(dir.Path().substr(0, dir.Path().size() - 1), "~r-"));
        session.paths.SetTempFolder(session.runFolder.Path());
        const std::string program = session.TempNameFor(kPreparatoryProgram);
        if (c.there == There::Unpacked) {
            ASSERT_TRUE(session.runFolder.WriteNewFile(program, [](ByteSink& sink) {
                return sink.Write(reinterpret_cast<const std::uint8_t*>("MZ"), 2);
            }));
        }
        if (c.there == There::Planted) {
            std::string host = program;
#ifndef _WIN32
            std::replace(host.begin(), host.end(), '\\', '/');
#endif
            ASSERT_TRUE(test::WriteWholeFile(host, "MZ planted"));
        }

        test::RecordingProcesses processes;
        processes.exitCode = 7;
        std::vector<std::string> notices;
        const std::uint32_t result = RunPreparatoryProgram(
            session, processes, [&notices](const std::string& text) { notices.push_back(text); });
        if (c.started) {
            EXPECT_EQ(result, 7u) << c.label;
            EXPECT_EQ(processes.Log(),
                      std::vector<std::string>{"wait " + program + " | \"" + program + "\" | " +
                                               session.runFolder.Path() + " | 1"})
                << c.label;
            EXPECT_TRUE(notices.empty()) << c.label;
        } else {
            EXPECT_EQ(result, kCreateProcessFailed) << c.label;
            EXPECT_TRUE(processes.calls.empty()) << c.label;
            EXPECT_EQ(notices, std::vector<std::string>{kCreateProcessFailedText}) << c.label;
        }
        session.runFolder.Remove();
    }
}

}  // namespace
}  // namespace vesk
