// What veskbuild try refuses before it starts anything: the command line, a machine without Wine
// or Xvfb (it names the Debian packages and installs nothing), a missing walk program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BuildTestKit.h"
#include "builder/veskbuild/Commands.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// PATH set for the test's lifetime, put back when it ends.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& path) {
        const char* old = std::getenv("PATH");
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath() {
        if (had_) {
            setenv("PATH", old_.c_str(), 1);
        } else {
            unsetenv("PATH");
        }
    }

private:
    bool had_ = false;
    std::string old_;
};

TEST(TryCommandTest, RefusedBeforeAnythingRuns) {
    test::TempDir dir;
    struct Case {
        std::vector<std::string> args;
        const char* path;  // PATH for the run; nullptr: the test's own
        int exitCode;
        const char* message;
    };
    const std::string empty = dir.Path();
    // Stand-ins for the host programs, so the check after them is reached.
    const std::string hosts = dir / "hosts";
    std::filesystem::create_directory(hosts);
    for (const char* program : {"wine", "wineserver", "Xvfb"}) {
        ASSERT_TRUE(test::WriteWholeFile(hosts + "/" + program, "#!/bin/sh\nexit 1\n"));
        std::filesystem::permissions(hosts + "/" + program, std::filesystem::perms::owner_all);
    }
    const Case cases[] = {
        {{}, nullptr, tool::kExitUsage, "a project or a setup is needed"},
        {{"a.xml", "b.xml"}, nullptr, tool::kExitUsage, "give one project or setup"},
        {{"a.xml", "--dpi", "50"},
         nullptr,
         tool::kExitUsage,
         "--dpi takes a number from 96 to 480"},
        {{"a.xml", "--dpi=12o"}, nullptr, tool::kExitUsage, "not \"12o\""},
        {{"a.xml", "--dpi", "4800"}, nullptr, tool::kExitUsage, "--dpi takes a number"},
        {{"a.xml", "--lang=1033"}, nullptr, tool::kExitUsage, "--lang"},
        {{"a.xml"},
         empty.c_str(),
         tool::kExitUsage,
         "lacks wine, wineserver, Xvfb.\nOn Debian: sudo dpkg --add-architecture i386"},
        {{"a.xml", "--walker", "/no/walk_setup.exe"},
         hosts.c_str(),
         tool::kExitUsage,
         "the walk program /no/walk_setup.exe is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
        std::unique_ptr<ScopedPath> path;
        if (c.path) path = std::make_unique<ScopedPath>(c.path);
        const test::CommandOutcome run = test::CaptureCommand(tool::TryCommand, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // The missing packages are named, and nothing is made.
    ScopedPath none(empty);
    const test::CommandOutcome run =
        test::CaptureCommand(tool::TryCommand, {"a.xml", "-o", dir / "run"});
    EXPECT_NE(run.err.find("apt-get install wine wine32 xvfb"), std::string::npos) << run.err;
    EXPECT_FALSE(test::FileExists(dir / "run"));
}

}  // namespace
}  // namespace vesk
