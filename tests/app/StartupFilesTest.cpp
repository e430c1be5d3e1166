// Unpacking the start-up files from setups made by the container writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/StartupFiles.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::FixtureBody;
using test::FixtureSet;
using test::TempDir;

constexpr std::size_t kStubSize = 1000;
constexpr std::int32_t kOneVolume = 1 << 30;

// Four distinct start-up bodies after the language file, in one volume.
std::vector<FixtureBody> Bodies() {
    std::vector<FixtureBody> bodies = {{"[Language=409]\r\nSureDesc=OK\r\n", false}};
    for (std::uint32_t i = 1; i <= 4; ++i)
        bodies.push_back({test::FixtureBytes(900 * i, i, true), false});
    return bodies;
}

// File list line for body `i` listed under the name "s<i>" with kind `letter`.
std::string Line(const FixtureSet& set, std::size_t i, char letter) {
    const test::FixtureEntry& e = set.entries[i];
    return "s" + std::to_string(i) + "," + std::to_string(e.offset) + "," + std::to_string(e.size) +
           "," + letter + ",2003-7-28 20:34:2";
}

// The engine writes Windows paths; natively a backslash is a folder separator as well.
std::string HostPath(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

// A reader over the set and a run folder in a fresh test folder, whose start-up files are
// named "~" + the entry's path.
struct Unpacking {
    std::atomic<bool> finished{false};
    ContainerReader reader{finished};
    TempDir out;
    RunFolder folder{HostPrivateFiles()};

    bool Open(const FixtureSet& set, std::int32_t diskSize) {
        std::string project;
        if (!reader.OpenContainer(set.setupPath) || !reader.ReadProjectText(project)) return false;
        reader.SetVolumeSize(diskSize);
        const std::string parent = out.Path().substr(0, out.Path().size() - 1);
        return folder.Create(parent, "~run-");
    }
    std::string Target(const std::string& name) const { return folder.Path() + "\\~" + name; }
    std::vector<StartupFile> RunOf(const TextLineList& files) const {
        return StartupRun(files, [this](const std::string& raw) { return Target(raw); });
    }
    bool Run(const TextLineList& files) {
        return ExtractStartupFiles(reader, RunOf(files), folder);
    }
    // The names of the files in the run folder.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& file : test::FilesBelow(HostPath(folder.Path()))) {
            names.push_back(file.first);
        }
        return names;
    }
};

TEST(StartupFilesTest, UnpacksTheRunOfStartupEntriesAfterTheLanguageFile) {
    TempDir dir;
    std::vector<FixtureBody> bodies = Bodies();
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", kStubSize, kOneVolume, bodies);
    ASSERT_EQ(set.entries.size(), 5u);

    // Letters of entries 1.. ('x' stands for a malformed line); the entries unpacked; the result.
    struct Case {
        const char* kinds;
        std::vector<std::size_t> unpacked;
        bool ok;
    };
    const Case cases[] = {
        {"", {}, true},      // only the language file
        {"AKKK", {}, true},  // entry 1 is no start-up file: nothing at all
        {"KKKK", {1, 2, 3, 4}, true},
        {"KAKK", {1}, true},  // K entries after the first other one stay packed
        {"KKNK", {1, 2}, true},
        {"kK", {1, 2}, true},        // the letter is read case-insensitively
        {"KxKK", {1}, true},         // a malformed entry ends the run as well
        {"KKFK", {1, 2, 3}, false},  // 'F': a K entry whose body lies beyond the set
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kinds);
        TextLineList files;
        files.Add(Line(set, 0, 'A'));
        std::string kinds = c.kinds;
        for (std::size_t i = 1; i <= kinds.size(); ++i) {
            if (kinds[i - 1] == 'x') {
                files.Add("s" + std::to_string(i) + ",K");
            } else if (kinds[i - 1] == 'F') {
                files.Add("s" + std::to_string(i) + ",2000000000," +
                          std::to_string(set.entries[i].size) + ",K,2003-7-28 20:34:2");
            } else {
                files.Add(Line(set, i, kinds[i - 1]));
            }
        }
        Unpacking u;
        ASSERT_TRUE(u.Open(set, kOneVolume));
        EXPECT_EQ(u.Run(files), c.ok);

        // Every target was made, the failed one too; nothing else is in the folder.
        std::vector<std::string> expected;
        for (std::size_t i : c.unpacked) expected.push_back("~s" + std::to_string(i));
        EXPECT_EQ(u.Names(), expected);
        for (std::size_t i = 1; i <= 4; ++i) {
            std::string target = HostPath(u.Target("s" + std::to_string(i)));
            bool inRun = std::find(c.unpacked.begin(), c.unpacked.end(), i) != c.unpacked.end();
            if (!inRun) {
                EXPECT_FALSE(test::FileExists(target)) << target;
            } else if (kinds[i - 1] != 'F') {
                EXPECT_EQ(test::ReadWholeFile(target), bodies[i].content) << target;
            }
        }
    }
}

TEST(StartupFilesTest, MissingVolumeFailsAndLeavesThePartialTargetToTheFolder) {
    TempDir dir;
    std::vector<FixtureBody> bodies = Bodies();
    // Learn where the bodies lie, then cut volume 1 eight bytes into body 2.
    FixtureSet probe = test::BuildFixtureSet(dir / "Probe.exe", kStubSize, kOneVolume, bodies);
    std::int32_t diskSize = probe.entries[2].offset + 8;
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", kStubSize, diskSize, bodies);
    ASSERT_GE(set.volumePaths.size(), 2u);
    ASSERT_EQ(std::remove(set.volumePaths[1].c_str()), 0);

    TextLineList files;
    for (std::size_t i = 0; i <= 4; ++i) files.Add(Line(set, i, i == 0 ? 'A' : 'K'));
    Unpacking u;
    ASSERT_TRUE(u.Open(set, diskSize));
    EXPECT_FALSE(u.Run(files));
    EXPECT_EQ(u.Names(), (std::vector<std::string>{"~s1", "~s2"}));
    EXPECT_EQ(test::ReadWholeFile(HostPath(u.Target("s1"))), bodies[1].content);
}

TEST(StartupFilesTest, StopRequestEndsTheUnpacking) {
    TempDir dir;
    std::vector<FixtureBody> bodies = Bodies();
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", kStubSize, kOneVolume, bodies);
    TextLineList files;
    for (std::size_t i = 0; i <= 2; ++i) files.Add(Line(set, i, i == 0 ? 'A' : 'K'));
    Unpacking u;
    ASSERT_TRUE(u.Open(set, kOneVolume));
    u.finished = true;
    EXPECT_FALSE(u.Run(files));
    EXPECT_EQ(u.Names(), std::vector<std::string>{"~s1"});
}

TEST(StartupFilesTest, WritesNothingOutsideTheRunFolderNorThroughWhatIsThere) {
    TempDir dir;
    std::vector<FixtureBody> bodies = Bodies();
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", kStubSize, kOneVolume, bodies);
    const std::string victim = dir / "victim.txt";
    ASSERT_TRUE(test::WriteWholeFile(victim, "the user's"));

    // What lies at the name of start-up file 1 before the unpacking: nothing, a file, a link to
    // a file of the user's; or a target outside the folder altogether.
    enum class Planted { Nothing, File, Link, Outside };
    struct Case {
        const char* label;
        Planted planted;
        bool ok;
    };
    const Case cases[] = {
        {"fresh name", Planted::Nothing, true},
        {"a file there", Planted::File, false},
#ifndef _WIN32
        {"a link there", Planted::Link, false},
#endif
        {"outside the folder", Planted::Outside, false},
    };
    for (const Case& c : cases) {
        Unpacking u;
        ASSERT_TRUE(u.Open(set, kOneVolume));
        TextLineList files;
        for (std::size_t i = 0; i <= 2; ++i) files.Add(Line(set, i, i == 0 ? 'A' : 'K'));
        std::vector<StartupFile> run = u.RunOf(files);
        const std::string target = HostPath(run[0].target);
        if (c.planted == Planted::File) test::WriteWholeFile(target, "planted");
#ifndef _WIN32
        if (c.planted == Planted::Link) std::filesystem::create_symlink(victim, target);
#endif
        if (c.planted == Planted::Outside) run[0].target = victim;
        EXPECT_EQ(StartupRunStaysInside(run, u.folder), c.planted != Planted::Outside) << c.label;
        EXPECT_EQ(ExtractStartupFiles(u.reader, run, u.folder), c.ok) << c.label;
        EXPECT_EQ(test::ReadWholeFile(victim), "the user's") << c.label;
        if (c.planted == Planted::File) {
            EXPECT_EQ(test::ReadWholeFile(target), "planted");
        }
        if (c.ok) {
            EXPECT_EQ(test::ReadWholeFile(target), bodies[1].content) << c.label;
        }
        // Only what the run wrote itself counts as its start-up file.
        EXPECT_EQ(u.folder.Wrote(run[0].target), c.ok) << c.label;
    }
}

}  // namespace
}  // namespace vesk
