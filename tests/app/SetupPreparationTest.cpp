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
        // The run's folder is made in the test's subfolder "t" (natively too: the engine's own
        // files take a backslash as a folder separator there).
        std::filesystem::create_directory(dir / "t");
        facts.tempPath = dir / "t\\";
        facts.moduleFileName = dir / "Setup.exe";
    }
};

TEST(SetupPreparationTest, LoadsProjectAndLanguageFromTheDecodedBytesIntoItsOwnFolder) {
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
    // The run's folder is new, inside the temporary folder, and "[TempFileDir]" leads there.
    const std::string folder = session.runFolder.Path();
    const std::string prefix = p.dir / "t\\~VeskInstall-2004030514030745-";
    ASSERT_EQ(folder.compare(0, prefix.size(), prefix), 0) << folder;
    EXPECT_GE(folder.size(), prefix.size() + 16) << "too few random characters: " << folder;
    EXPECT_EQ(session.Resolve("[TempFileDir]\\x.bmp"), folder + "\\x.bmp");
    // Neither the project nor the language file was written anywhere.
    EXPECT_EQ(test::FilesBelow(p.dir / "t").size(), 0u);
    EXPECT_TRUE(session.records.TempFiles().empty());
    // A second run gets a folder of its own.
    SetupSession second(p.facts, p.registry);
    ASSERT_TRUE(PrepareSetup(second));
    EXPECT_NE(second.runFolder.Path(), folder);
    second.runFolder.Remove();
    session.runFolder.Remove();
    EXPECT_TRUE(std::filesystem::is_empty(p.dir / "t")) << "the run folders stayed";
}

TEST(SetupPreparationTest, RefusesStartupFilesThatGoAnywhereButIntoTheRunFolder) {
    struct Case {
        const char* path;
        bool accepted;
    };
    const Case cases[] = {
        {"[TempFileDir]\\~VeskInstall-AdPicture.bmp", true},
        {"[tempfiledir]\\~VeskInstall-AdPicture.bmp", true},
        {"[TempFileDir]\\sub\\x.bmp", true},
        {"C:\\windows\\x.dll", false},
        {"[Windows Directory]\\x.dll", false},
        {"[TempFileDir]\\..\\..\\x", false},
        {"[TempFileDir]\\sub\\..\\..\\x", false},
        {"[TempFileDir]\\x.exe:stream", false},
        {"[TempFileDir]\\x/../../y", false},
        {"[TempFileDir]\\\\x", false},
        {"[TempFileDir]x", false},
        {"[Absolute Directory]C:\\x", false},
    };
    for (const Case& c : cases) {
        Preparation p;
        test::BuildFixtureSet(p.facts.moduleFileName, kStubSize, kOneVolume,
                              {{"[Language=409]\r\nSureDesc=OK\r\n", false},
                               {"picture", false, 'K', c.path},
                               {"data", false}});
        SetupSession session(p.facts, p.registry);
        EXPECT_EQ(PrepareSetup(session), c.accepted) << c.path;
        session.runFolder.Remove();
    }
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
        session.runFolder.Remove();
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
