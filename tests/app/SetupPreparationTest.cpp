// Preparing the session from a setup made by the container writer: project, lists, language
// file and the records of what was unpacked.
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

struct Preparation {
    test::TempDir dir;
    test::FakeSystemFacts facts;
    test::MemoryRegistry registry;

    Preparation() {
        // Unpacked files land in the test's folder: in its subfolder "t" on Windows, under names
        // starting "t\" natively.
        std::filesystem::create_directory(dir / "t");
        facts.tempPath = dir / "t\\";
        facts.moduleFileName = dir / "Setup.exe";
    }
};

TEST(SetupPreparationTest, LoadsProjectAndLanguageAndRecordsWhatItUnpacked) {
    Preparation p;
    test::BuildFixtureSet(p.facts.moduleFileName, kStubSize, kOneVolume,
                          {{"[Language=409]\r\nProjectName=x\r\nSureDesc=OK\r\n", false, 'K',
                            "[TempFileDir]\\~VeskInstall-Language.ini"},
                           {"data", false}});
    SetupSession session(p.facts, p.registry);
    ASSERT_TRUE(PrepareSetup(session));
    EXPECT_EQ(session.project.ProjectName(), "Fixture");
    EXPECT_EQ(session.files.Count(), 2u);
    EXPECT_EQ(session.texts.GetText(TextKey::SureDesc), "OK");
    EXPECT_EQ(session.texts.GetText(TextKey::ProjectName), "Fixture 1.0");
    EXPECT_EQ(session.start.startStamp, "2004030514030745");
    // The project and the language file, both to be removed at the end.
    const std::vector<std::string> temp = session.records.TempFiles();
    ASSERT_EQ(temp.size(), 2u);
    for (const std::string& path : temp) EXPECT_TRUE(test::FileExists(path)) << path;
    EXPECT_NE(temp[1].find("2004030514030745"), std::string::npos) << temp[1];
}

TEST(SetupPreparationTest, FailsSilentlyWhenThePayloadCannotBeRead) {
    struct Case {
        const char* name;
        bool build;
        std::vector<test::FixtureBody> bodies;
    };
    const Case cases[] = {
        {"no setup file", false, {}},
        {"no file list", true, {}},
        {"an empty language file", true, {{"", false}}},
    };
    for (const Case& c : cases) {
        Preparation p;
        if (c.build) test::BuildFixtureSet(p.facts.moduleFileName, kStubSize, kOneVolume, c.bodies);
        SetupSession session(p.facts, p.registry);
        EXPECT_FALSE(PrepareSetup(session)) << c.name;
    }
}

TEST(SetupPreparationTest, RefusesBombsBeforeUnpackingThem) {
    // A start-up body listed 40000 times, and a language file that decodes past its bound: the
    // set is damaged, and no start-up file and no more than the bound reach the disk.
    const std::string language = "[Language=409]\r\nSureDesc=OK\r\n";
    struct Case {
        const char* name;
        std::vector<test::FixtureBody> bodies;
    };
    const Case cases[] = {
        {"one start-up body listed 40000 times",
         {{language, false, 'K', "[TempFileDir]\\~VeskInstall-Language.ini"},
          {std::string(100000, 'x'), false, 'K', "[TempFileDir]\\~VeskInstall-Bomb", 40000}}},
        {"a language file past its bound",
         {{language + std::string(kMaxLanguageFile, ';'), false, 'K',
           "[TempFileDir]\\~VeskInstall-Language.ini"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Preparation p;
        test::BuildFixtureSet(p.facts.moduleFileName, kStubSize, kOneVolume, c.bodies);
        SetupSession session(p.facts, p.registry);
        EXPECT_FALSE(PrepareSetup(session));
        EXPECT_EQ(session.reader.DamagedVolume(), p.facts.moduleFileName);
        std::uint64_t unpacked = 0;
        for (const auto& file : std::filesystem::recursive_directory_iterator(p.dir.Path())) {
            if (file.is_regular_file() && file.path().filename() != "Setup.exe") {
                unpacked += file.file_size();
            }
        }
        EXPECT_LE(unpacked, kMaxLanguageFile + 100000) << "bytes unpacked";
    }
}

}  // namespace
}  // namespace vesk
