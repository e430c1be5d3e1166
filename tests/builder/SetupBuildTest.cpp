// Whole builds: init, build, list and extract through the commands; repeatable bytes; volumes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "builder/veskbuild/Commands.h"
#include "resources/LanguageFile.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::BuildTestKit;
using test::FilesBelow;
using test::ReadWholeFile;
using test::TempDir;

int Build(const std::string& project, const std::string& out, const std::string& stub,
          tool::Arguments more = {}) {
    tool::Arguments args = {project, "-o", out, "--stub", stub, "--quiet"};
    args.insert(args.end(), more.begin(), more.end());
    return tool::BuildCommand(args);
}

class StarterBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(tool::InitCommand({dir / "demo"}), 0);
        test::WriteWholeFile(dir / "stub.exe", BuildTestKit::StubBytes());
        // Enough incompressible data to spread over several small volumes.
        test::WriteWholeFile(dir / "demo/product/Docs/noise.bin",
                             test::FixtureBytes(40000, 7, false));
    }
    TempDir dir;
};

TEST_F(StarterBuildTest, InitBuildListExtractGivesTheSourcesBack) {
    ASSERT_EQ(Build(dir / "demo/project.xml", dir / "out", dir / "stub.exe"), 0);
    EXPECT_FALSE(fs::exists(dir / "out/Setup2.Cab"));
    EXPECT_EQ(tool::ListCommand({dir / "out/Setup.exe"}), 0);
    ASSERT_EQ(tool::ExtractCommand({dir / "out/Setup.exe", dir / "x"}), 0);

    EXPECT_EQ(FilesBelow(dir / "x/InstallDir"), FilesBelow(dir / "demo/product"));
    std::map<std::string, std::string> startup = {
        {"~VeskInstall-Language.ini", DefaultLanguageFile()},
        {"~VeskInstall-TopFramePicture.bmp", ReadWholeFile(dir / "demo/pictures/header.bmp")},
        {"~VeskInstall-WelcomeWndPicture.bmp", ReadWholeFile(dir / "demo/pictures/welcome.bmp")},
        {"~VeskInstall-SoftDoc.HTM", ReadWholeFile(dir / "demo/licence.htm")},
        {"~VeskInstall-SoftReadme.HTM", ReadWholeFile(dir / "demo/readme.htm")},
    };
    EXPECT_EQ(FilesBelow(dir / "x/TempFileDir"), startup);
    EXPECT_TRUE(fs::is_directory(dir / "x/InstallDir/Docs"));
}

TEST_F(StarterBuildTest, SameInputsGiveTheSameBytes) {
    ASSERT_EQ(Build(dir / "demo/project.xml", dir / "one", dir / "stub.exe"), 0);
    ASSERT_EQ(Build(dir / "demo/project.xml", dir / "two", dir / "stub.exe"), 0);
    EXPECT_EQ(ReadWholeFile(dir / "one/Setup.exe"), ReadWholeFile(dir / "two/Setup.exe"));
    ASSERT_EQ(
        Build(dir / "demo/project.xml", dir / "three", dir / "stub.exe", {"--disk-size", "20K"}),
        0);
    ASSERT_EQ(
        Build(dir / "demo/project.xml", dir / "four", dir / "stub.exe", {"--disk-size", "20K"}), 0);
    EXPECT_EQ(FilesBelow(dir / "three"), FilesBelow(dir / "four"));
    // The identity follows the content unless it is given.
    SetupInspector one, three;
    ASSERT_TRUE(one.Open(dir / "one/Setup.exe"));
    ASSERT_TRUE(three.Open(dir / "three/Setup.exe"));
    EXPECT_NE(one.Reader().Identity(), three.Reader().Identity());
    ASSERT_EQ(
        Build(dir / "demo/project.xml", dir / "five", dir / "stub.exe", {"--identity", "20040305"}),
        0);
    SetupInspector five;
    ASSERT_TRUE(five.Open(dir / "five/Setup.exe"));
    EXPECT_EQ(five.Reader().Identity(), "20040305");
}

TEST_F(StarterBuildTest, SmallDiskSizeGivesVolumesThatExtractReads) {
    ASSERT_EQ(
        Build(dir / "demo/project.xml", dir / "out", dir / "stub.exe", {"--disk-size", "20K"}), 0);
    ASSERT_TRUE(fs::exists(dir / "out/Setup3.Cab"));
    {
        SetupInspector setup;  // closed again before the rebuild below replaces the files
        ASSERT_TRUE(setup.Open(dir / "out/Setup.exe"));
        EXPECT_EQ(setup.DiskSize(), 20480);
        int lastVolume = 1;
        for (const FileEntry& entry : setup.Entries()) {
            EXPECT_GE(setup.VolumeOf(entry), lastVolume) << entry.rawPath;
            lastVolume = setup.VolumeOf(entry);
        }
    }
    // Every volume but the last carries exactly DiskSize stream bytes, plus its tail.
    for (int n = 2; fs::exists(dir / ("out/Setup" + std::to_string(n + 1) + ".Cab")); ++n) {
        EXPECT_EQ(fs::file_size(dir / ("out/Setup" + std::to_string(n) + ".Cab")), 20480u + 76u);
    }
    ASSERT_EQ(tool::ExtractCommand({dir / "out/Setup.exe", dir / "x"}), 0);
    EXPECT_EQ(FilesBelow(dir / "x/InstallDir"), FilesBelow(dir / "demo/product"));

    // A later, smaller build into the same folder leaves no stale volume behind.
    ASSERT_EQ(Build(dir / "demo/project.xml", dir / "out", dir / "stub.exe"), 0);
    EXPECT_FALSE(fs::exists(dir / "out/Setup2.Cab"));
    EXPECT_FALSE(fs::exists(dir / "out/Setup3.Cab"));
}

TEST(InitCommandTest, WritesOnlyIntoANewOrEmptyFolder) {
    TempDir dir;
    test::WriteWholeFile(dir / "keep.txt", "mine");
    EXPECT_EQ(tool::InitCommand({dir.Path()}), 1);
    EXPECT_EQ(ReadWholeFile(dir / "keep.txt"), "mine");
    EXPECT_FALSE(fs::exists(dir / "project.xml"));
    fs::create_directories(dir / "empty");
    EXPECT_EQ(tool::InitCommand({dir / "empty"}), 0);
    EXPECT_TRUE(fs::exists(dir / "empty/project.xml"));
    EXPECT_EQ(tool::InitCommand({}), 2);
}

TEST(BuildCommandTest, ReportsUsageErrors) {
    const tool::Arguments cases[] = {
        {}, {"a.xml", "b.xml"}, {"a.xml", "--frobnicate"}, {"a.xml", "-o"}, {"a.xml", "--stub"},
    };
    for (const tool::Arguments& args : cases) EXPECT_EQ(tool::BuildCommand(args), 2);
}

}  // namespace
}  // namespace vesk
