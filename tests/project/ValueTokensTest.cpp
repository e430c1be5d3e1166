// Path tokens in registry data: replaced wherever they stand, "[[" for a literal "[", and the
// builder's reading of what the install would keep as written.
#include <gtest/gtest.h>

#include "project/PathResolver.h"
#include "project/ValueTokens.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

TEST(ValueTokensTest, TokensAreReplacedWhereverTheyStand) {
    struct Case {
        const char* what;
        std::string installDir, value, expected;
    };
    const std::string app = "C:\\Program Files\\Vesk";
    const Case cases[] = {
        {"a path", app, "[InstallDir]\\app.exe", app + "\\app.exe"},
        {"a command", app, "\"[InstallDir]\\app.exe\" \"%1\"", "\"" + app + "\\app.exe\" \"%1\""},
        {"two tokens", app, "[InstallDir];[System Directory]\\x",
         app + ";C:\\WINDOWS\\System32\\x"},
        {"any letter case", app, "[installdir]", app},
        {"a drive root and a tail", "E:\\", "[InstallDir]\\app.exe", "E:\\app.exe"},
        {"a drive root alone", "E:\\", "x=[InstallDir]", "x=E:\\"},
        {"a doubled bracket is one", app, "[[InstallDir]] [[x", "[InstallDir]] [x"},
        {"a doubled bracket before a token", app, "[[[InstallDir]", "[" + app},
        {"an unknown word stays", app, "[General] [InstallDir", "[General] [InstallDir"},
        {"quick launch stays", app, "[QuickLaunch]\\a", "[QuickLaunch]\\a"},
        {"no bracket", app, "%ProgramFiles%\\x", "%ProgramFiles%\\x"},
        {"empty", app, "", ""},
    };
    test::FakeSystemFacts facts;
    test::MemoryRegistry registry;
    for (const Case& c : cases) {
        PathResolver paths(facts, registry, c.installDir);
        EXPECT_EQ(ExpandValueTokens(c.value, paths.Expander()), c.expected) << c.what;
    }
}

TEST(ValueTokensTest, TheBuilderRefusesWhatTheInstallWouldKeepAsWritten) {
    struct Case {
        std::string value;
        const char* problem;  // part of the problem; nullptr: accepted
    };
    const Case cases[] = {
        {"\"[InstallDir]\\app.exe\" \"%1\"", nullptr},
        {"[Program Files]\\x;[Windows Directory];[Start Menu];[Startup];[Desktop Directory]",
         nullptr},
        {"[[General]", nullptr},
        {"plain", nullptr},
        {"[General]", "holds \"[General]\", which is no path token"},
        {"[InstalDir]\\x", "holds \"[InstalDir]\""},
        {"a [ alone", "holds \"[ alone\""},
        {"[TempFileDir]\\x", "holds [TempFileDir], which names no folder"},
        {"[Absolute Directory]C:\\x", "holds [Absolute Directory]"},
        {"[QuickLaunch]", "holds [QuickLaunch]"},
    };
    for (const Case& c : cases) {
        const std::string problem = ValueTokenProblem(c.value);
        if (!c.problem) {
            EXPECT_EQ(problem, "") << c.value;
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.value << ": " << problem;
            EXPECT_NE(problem.find("write [[ for a literal ["), std::string::npos) << problem;
        }
    }
}

}  // namespace
}  // namespace vesk
