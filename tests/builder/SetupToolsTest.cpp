// list and extract on multi-volume setups made by the writer, and their refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "builder/inspection/SetupInspector.h"
#include "builder/veskbuild/Commands.h"
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
    test::WriteWholeFile(dir / "not-a-setup.exe",
                         "MZ this is no setup at all, just some bytes here");
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

struct Printed {
    int exitCode;
    std::string out, err;
};

Printed Listed(const std::string& path) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Printed printed;
    printed.exitCode = tool::ListCommand({path});
    printed.out = testing::internal::GetCapturedStdout();
    printed.err = testing::internal::GetCapturedStderr();
    return printed;
}

TEST(SetupToolsTest, ListShowsNoControlCharacterOfTheSetup) {
    TempDir dir;
    struct Case {
        std::string path;   // an entry's path in the setup
        std::string shown;  // how list prints it
    };
    const Case cases[] = {
        {"[InstallDir]\\\x1B]0;owned\x07title", "[InstallDir]\\\\x1B]0;owned\\x07title"},
        {"[InstallDir]\\a\nforged line", "[InstallDir]\\a\\x0Aforged line"},
        {"[InstallDir]\\b\rover", "[InstallDir]\\b\\x0Dover"},
        {"[InstallDir]\\\x1B[31mred", "[InstallDir]\\\\x1B[31mred"},
        {"[InstallDir]\\del\x7F", "[InstallDir]\\del\\x7F"},
    };
    std::vector<test::FixtureBody> bodies;
    for (const Case& c : cases) bodies.push_back({"x", false, 0, c.path});
    test::FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 1000, 1 << 20, bodies);
    Printed printed = Listed(set.setupPath);
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    for (unsigned char c : printed.out) {
        EXPECT_TRUE(c >= 0x20 || c == '\n') << "control character " << int(c);
    }
    for (const Case& c : cases) EXPECT_NE(printed.out.find(c.shown), std::string::npos) << c.shown;
    EXPECT_EQ(printed.out.find("\nforged line"), std::string::npos);
}

TEST(SetupToolsTest, ListNamesALaterVolume) {
    TempDir dir;
    test::FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 1000, 4000,
                                                 {{FixtureBytes(9000, 1, false), true}}, "set-42");
    ASSERT_GE(set.volumePaths.size(), 3u);
    Printed printed = Listed(set.volumePaths[1]);
    EXPECT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_NE(printed.out.find("Volume:          2 of a set"), std::string::npos) << printed.out;
    EXPECT_NE(printed.out.find("\"set-42\""), std::string::npos) << printed.out;
    EXPECT_EQ(Listed(set.setupPath).exitCode, 0);
}

TEST(SetupToolsTest, ExtractRefusesWhatWindowsCannotNameOrWouldMix) {
    TempDir dir;
    struct Case {
        std::string path;
        const char* written;  // below the extraction folder; nullptr: refused
    };
    const Case cases[] = {
        {"[InstallDir]\\ok.txt", "InstallDir/ok.txt"},
        {"[InstallDir]\\CON.txt", nullptr},
        {"[InstallDir]\\lpt1", nullptr},
        {"[InstallDir]\\CON .txt", nullptr},
        {"[InstallDir]\\AUX .ini", nullptr},
        {"[InstallDir]\\dot.", nullptr},
        {"[InstallDir]\\space ", nullptr},
        {"[InstallDir]\\Same.txt", "InstallDir/Same.txt"},
        {"[InstallDir]\\SAME.TXT", nullptr},
        {"[InstallDir]\\ok.txt\\below", nullptr},
        {"project.xml", nullptr},
        {"PROJECT.XML", nullptr},
        {"[InstallDir]\\sub\\file", "InstallDir/sub/file"},
        {"[InstallDir]\\sub", nullptr},
    };
    std::vector<test::FixtureBody> bodies;
    for (const Case& c : cases) bodies.push_back({"body of " + c.path, false, 0, c.path});
    test::FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 1000, 1 << 20, bodies);
    testing::internal::CaptureStderr();
    const int exitCode = tool::ExtractCommand({set.setupPath, dir / "out", "--quiet"});
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(err.find("11 entries refused"), std::string::npos) << err;
    std::size_t files = 0;
    for (const Case& c : cases) {
        if (!c.written) continue;
        ++files;
        EXPECT_EQ(ReadWholeFile(dir / ("out/" + std::string(c.written))), "body of " + c.path)
            << c.path;
    }
    EXPECT_EQ(ReadWholeFile(dir / "out/project.xml"), set.projectXml);
    EXPECT_EQ(test::FilesBelow(dir / "out").size(), files + 1);
}

}  // namespace
}  // namespace vesk
