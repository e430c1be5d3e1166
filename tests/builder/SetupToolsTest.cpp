// list and extract on multi-volume setups made by the writer, and their refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "Commands.h"
#include "SetupInspector.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::FixtureBytes;
using test::ReadWholeFile;
using test::TempDir;

TEST(SetupToolsTest, ExtractionPaths) {
    struct Case {
        const char* raw;
        const char* relative;  // nullptr: refused
    };
    const Case cases[] = {
        {"[InstallDir]\\a.txt", "InstallDir/a.txt"},
        {"[TempFileDir]\\~VeskInstall-Language.ini", "TempFileDir/~VeskInstall-Language.ini"},
        {"[Program Files]\\Vesk\\b,c\\d.dll", "Program Files/Vesk/b,c/d.dll"},
        {"C:\\Windows\\x.dll", "C/Windows/x.dll"},
        {"relative\\.\\file", "relative/file"},
        {"[InstallDir]\\..\\..\\etc\\passwd", nullptr},
        {"..", nullptr},
        {"", nullptr},
        {"[InstallDir]", "InstallDir"},
        {"a\\C:x", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        auto got = ExtractionPathFor(c.raw);
        if (c.relative) {
            ASSERT_TRUE(got.has_value());
            EXPECT_EQ(*got, c.relative);
        } else {
            EXPECT_FALSE(got.has_value()) << *got;
        }
    }
}

TEST(SetupToolsTest, ExtractReadsEveryVolume) {
    TempDir dir;
    std::vector<test::FixtureBody> bodies = {{FixtureBytes(7000, 1, true), false},
                                             {FixtureBytes(9000, 2, false), true},
                                             {FixtureBytes(3000, 3, false), false}};
    test::FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 1000, 4000, bodies);
    ASSERT_GE(set.volumePaths.size(), 3u);

    SetupInspector inspector;
    ASSERT_TRUE(inspector.Open(set.setupPath)) << inspector.LastError();
    ASSERT_EQ(inspector.Entries().size(), bodies.size());
    EXPECT_EQ(inspector.DiskSize(), 4000);
    EXPECT_EQ(inspector.VolumeOf(inspector.Entries()[0]), 1);
    EXPECT_GT(inspector.VolumeOf(inspector.Entries()[2]), 2);

    ASSERT_EQ(tool::ExtractCommand({set.setupPath, dir / "out"}), 0);
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_EQ(ReadWholeFile(dir / ("out/InstallDir/f" + std::to_string(i))), bodies[i].content);
    }
    EXPECT_EQ(ReadWholeFile(dir / "out/project.xml"), set.projectXml);
    EXPECT_EQ(tool::ListCommand({set.setupPath}), 0);

    // Without its last volume the set cannot be extracted, and the tool says so.
    std::filesystem::remove(set.volumePaths.back());
    EXPECT_EQ(tool::ExtractCommand({set.setupPath, dir / "out2"}), 1);
}

TEST(SetupToolsTest, CommandsReportBadInput) {
    TempDir dir;
    test::WriteWholeFile(dir / "not-a-setup.exe", "MZ this is no setup at all, just some bytes here");
    struct Case {
        tool::Arguments args;
        int (*command)(const tool::Arguments&);
        int exitCode;
    };
    const Case cases[] = {
        {{dir / "missing.exe"}, tool::ListCommand, 1},
        {{dir / "not-a-setup.exe"}, tool::ListCommand, 1},
        {{dir / "not-a-setup.exe", dir / "out"}, tool::ExtractCommand, 1},
        {{}, tool::ListCommand, 2},
        {{dir / "missing.bin", dir / "out.bin"}, tool::DecompressCommand, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args[0]);
        EXPECT_EQ(c.command(c.args), c.exitCode);
    }
}

}  // namespace
}  // namespace vesk
