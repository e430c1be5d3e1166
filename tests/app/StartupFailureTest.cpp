// A start-up that fails says why: the reason PrepareSetup returns is the one the setup logs
// after "cannot read the setup: ".
#include <gtest/gtest.h>

#include <filesystem>

#include "app/SetupPreparation.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr std::size_t kStubSize = 1000;
constexpr std::int32_t kOneVolume = 1 << 30;
const std::string kLanguage = "[Language=409]\r\nSureDesc=OK\r\n";

TEST(StartupFailureTest, EveryFailedStepGivesItsReason) {
    struct Case {
        const char* name;
        const char* tempFolder;  // below the test's folder
        bool build;
        std::vector<test::FixtureBody> bodies;
        const char* reason;  // the reason starts with this
        bool namesTheSetup;  // and names the setup file
    };
    const Case cases[] = {
        {"no run folder",
         "missing\\",
         true,
         {{kLanguage, false}},
         "cannot make the run's folder in ",
         false},
        {"no setup file", "t\\", false, {}, "cannot open ", true},
        {"no file list", "t\\", true, {}, "the project lists no files", false},
        {"an empty language file",
         "t\\",
         true,
         {{"", false}},
         "the language file cannot be read",
         false},
        {"a language file past its bound",
         "t\\",
         true,
         {{kLanguage + std::string(kMaxLanguageFile, ';'), false}},
         "the setup is damaged: ",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        std::filesystem::create_directory(dir / "t");
        test::FakeSystemFacts facts;
        test::MemoryRegistry registry;
        facts.tempPath = dir / c.tempFolder;
        facts.moduleFileName = dir / "Setup.exe";
        if (c.build) test::BuildFixtureSet(facts.moduleFileName, kStubSize, kOneVolume, c.bodies);
        SetupSession session(facts, registry);
        const Status prepared = PrepareSetup(session);
        EXPECT_FALSE(prepared.Ok());
        EXPECT_EQ(prepared.Reason().rfind(c.reason, 0), 0u) << prepared.Reason();
        if (c.namesTheSetup) {
            EXPECT_NE(prepared.Reason().find(facts.moduleFileName), std::string::npos)
                << prepared.Reason();
        }
        session.runFolder.Remove();
    }
}

}  // namespace
}  // namespace vesk
