// The reader against setups made by the writer: volumes, the disk request, damaged sets.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "container/ContainerReader.h"
#include "platform/FileTimes.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::FixtureBody;
using test::FixtureBytes;
using test::FixtureSet;
using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

// Answers the disk request from a script of paths; an empty answer means Cancel.
class ScriptedPrompt : public VolumePrompt {
public:
    explicit ScriptedPrompt(std::vector<std::string> answers) : answers_(std::move(answers)) {}
    std::string AskForVolume(const std::string& expected, int volumeNumber) override {
        expectedPaths.push_back(expected);
        volumes.push_back(volumeNumber);
        if (asked_ >= answers_.size()) return std::string();
        return answers_[asked_++];
    }
    std::vector<std::string> expectedPaths;
    std::vector<int> volumes;

private:
    std::vector<std::string> answers_;
    std::size_t asked_ = 0;
};

struct Reading {
    std::atomic<bool> finished{false};
    ContainerReader reader{finished};
};

bool OpenSet(Reading& r, const FixtureSet& set, std::int32_t diskSize) {
    std::string project;
    if (!r.reader.OpenContainer(set.setupPath) || !r.reader.ReadProjectText(project)) return false;
    EXPECT_EQ(project, set.projectXml);
    r.reader.SetVolumeSize(diskSize);
    return true;
}

std::string Extract(Reading& r, const test::FixtureEntry& e, bool* ok = nullptr) {
    StringSink sink;
    bool done = r.reader.ExtractTo(sink, e.offset, e.size, e.raw);
    if (ok) *ok = done;
    return sink.bytes;
}

TEST(ContainerReaderTest, RoundTripsBodiesAcrossVolumes) {
    struct Case {
        const char* name;
        std::size_t stubSize;
        std::int32_t diskSize;
        std::size_t expectedVolumes;
    };
    const Case cases[] = {
        {"one volume", 3000, 100000000, 1},
        {"small volumes", 3000, 4000, 0},  // 0: more than two, counted below
        {"disk size just above the stub", 3000, 3001, 0},
    };
    std::vector<FixtureBody> bodies = {
        {FixtureBytes(20000, 1, true), false}, {"", false},
        {FixtureBytes(5000, 2, false), true},  {FixtureBytes(12000, 3, false), false},
        {"", true},                            {FixtureBytes(9000, 4, true), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", c.stubSize, c.diskSize, bodies);
        if (c.expectedVolumes) {
            EXPECT_EQ(set.volumePaths.size(), c.expectedVolumes);
        } else {
            EXPECT_GT(set.volumePaths.size(), 2u);
        }
        Reading r;
        ASSERT_TRUE(OpenSet(r, set, c.diskSize)) << r.reader.LastError();
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            bool ok = false;
            EXPECT_EQ(Extract(r, set.entries[i], &ok), bodies[i].content) << "entry " << i;
            EXPECT_TRUE(ok) << r.reader.LastError();
        }
        EXPECT_EQ(int(set.volumePaths.size()), r.reader.CurrentVolume());
        EXPECT_FALSE(r.finished);
    }
}

TEST(ContainerReaderTest, BodySplitAtTheEndOfTheFirstVolume) {
    // DiskSize 1000000: a raw body of 8 bytes starting 4 bytes before the end of volume 1's share.
    TempDir dir;
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 999996, 1000000, {{"ABCDEFGH", true}});
    ASSERT_EQ(set.entries[0].offset, 999996);
    ASSERT_EQ(set.volumePaths.size(), 2u);
    EXPECT_EQ(ReadWholeFile(set.volumePaths[1]).substr(0, 4), "EFGH");
    Reading r;
    ASSERT_TRUE(OpenSet(r, set, 1000000));
    EXPECT_EQ(Extract(r, set.entries[0]), "ABCDEFGH");
    EXPECT_EQ(r.reader.CurrentVolume(), 2);
    EXPECT_EQ(r.reader.Tail().volumeNumber, 2u);
    EXPECT_EQ(r.reader.Tail().volumeCounter, 2u);
}

TEST(ContainerReaderTest, NonPositiveDiskSizeMeansOneVolume) {
    TempDir dir;
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 100, 1 << 30,
                                           {{FixtureBytes(3000, 9, true), false}});
    for (std::int32_t diskSize : {0, -1}) {
        Reading r;
        ASSERT_TRUE(OpenSet(r, set, diskSize));
        EXPECT_EQ(Extract(r, set.entries[0]), FixtureBytes(3000, 9, true));
    }
}

class VolumeRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_ = test::BuildFixtureSet(dir_ / "Setup.exe", 1000, 5000,
                                     {{FixtureBytes(6000, 5, false), true}});
        ASSERT_EQ(set_.volumePaths.size(), 2u);
        // The real volume 2 moves to another "disk".
        std::filesystem::create_directory(dir_ / "disk2");
        std::filesystem::rename(set_.volumePaths[1], dir_ / "disk2/Setup2.Cab");
    }
    TempDir dir_;
    FixtureSet set_;
};

TEST_F(VolumeRequestTest, CancelEndsWithFalseAndStopsTheSetup) {
    Reading r;
    ScriptedPrompt prompt({});
    r.reader.SetPrompt(&prompt);
    ASSERT_TRUE(OpenSet(r, set_, 5000));
    bool ok = true;
    Extract(r, set_.entries[0], &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(r.finished);
    ASSERT_EQ(prompt.volumes.size(), 1u);
    EXPECT_EQ(prompt.volumes[0], 2);
    EXPECT_EQ(prompt.expectedPaths[0], dir_ / "Setup2.Cab");
}

TEST_F(VolumeRequestTest, WrongFolderAsksAgainThenTheRightOneContinues) {
    Reading r;
    ScriptedPrompt prompt({dir_ / "nowhere/Setup2.Cab", dir_ / "disk2/Setup2.Cab"});
    r.reader.SetPrompt(&prompt);
    ASSERT_TRUE(OpenSet(r, set_, 5000));
    EXPECT_EQ(Extract(r, set_.entries[0]), FixtureBytes(6000, 5, false));
    EXPECT_EQ(prompt.volumes.size(), 2u);
    EXPECT_FALSE(r.finished);
}

TEST_F(VolumeRequestTest, VolumeOfAnotherSetIsRefused) {
    // Same name, same size, identity differing in one character.
    std::string volume = ReadWholeFile(dir_ / "disk2/Setup2.Cab");
    std::string foreign = volume;
    std::size_t identityAt = foreign.size() - 76 + set_.identity.size() - 1;
    foreign[identityAt] = char(foreign[identityAt] + 1);
    WriteWholeFile(dir_ / "Setup2.Cab", foreign);
    Reading r;
    ScriptedPrompt prompt({dir_ / "Setup2.Cab", dir_ / "disk2/Setup2.Cab"});
    r.reader.SetPrompt(&prompt);
    ASSERT_TRUE(OpenSet(r, set_, 5000));
    EXPECT_EQ(Extract(r, set_.entries[0]), FixtureBytes(6000, 5, false));
    EXPECT_EQ(prompt.volumes.size(), 2u);  // the expected path and the first answer were refused
}

TEST_F(VolumeRequestTest, MissingVolumeWithoutPromptFailsAndLeavesNoFile) {
    // The body starts in volume 2 here: nothing may be created before the volume is found.
    TempDir dir;
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 1000, 1500,
                                           {{FixtureBytes(600, 1, false), true}, {"xyz", true}});
    std::filesystem::remove(dir / "Setup2.Cab");
    Reading r;
    ASSERT_TRUE(OpenSet(r, set, 1500));
    EXPECT_FALSE(r.reader.ExtractEntry(dir / "out.bin", set.entries[1].offset, 3, true));
    EXPECT_FALSE(test::FileExists(dir / "out.bin"));
    EXPECT_TRUE(r.finished);
    EXPECT_NE(r.reader.LastError().find("Setup2.Cab"), std::string::npos) << r.reader.LastError();
}

TEST(ContainerReaderTest, ShortVolumeFailsInsteadOfGivingGarbage) {
    TempDir dir;
    std::string content = FixtureBytes(9000, 6, false);
    for (bool raw : {true, false}) {
        SCOPED_TRACE(raw ? "raw" : "lzss");
        FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 1000, 5000, {{content, raw}});
        ASSERT_GE(set.volumePaths.size(), 2u);
        // Cut 100 stream bytes out of volume 2 but keep its tail.
        std::string volume = ReadWholeFile(set.volumePaths[1]);
        std::string tail = volume.substr(volume.size() - 76);
        WriteWholeFile(set.volumePaths[1], volume.substr(0, volume.size() - 76 - 100) + tail);
        Reading r;
        ASSERT_TRUE(OpenSet(r, set, 5000));
        bool ok = true;
        std::string got = Extract(r, set.entries[0], &ok);
        EXPECT_FALSE(ok);
        EXPECT_LT(got.size(), content.size());
        EXPECT_EQ(got, content.substr(0, got.size()));  // what came out is right, just short
    }
}

TEST(ContainerReaderTest, RejectsFilesThatAreNoSetup) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"shorter than a tail", std::string(75, 'x')},
        {"project beyond the end", std::string(60, '\0') + std::string("\xFF\xFF\x00\x00\x10\x00\x00\x00", 8) +
                                       std::string(8, '\0')},
        {"zero project size", std::string(200, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(dir / "bad.exe", c.bytes);
        Reading r;
        std::string project;
        bool opened = r.reader.OpenContainer(dir / "bad.exe");
        EXPECT_FALSE(opened && r.reader.ReadProjectText(project));
        EXPECT_FALSE(r.reader.LastError().empty());
    }
    Reading r;
    EXPECT_FALSE(r.reader.OpenContainer(dir / "missing.exe"));
}

TEST(ContainerReaderTest, ExtractsToFilesWithTheirTime) {
    TempDir dir;
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 500, 1 << 20,
                                           {{"hello", false}, {"", false}});
    Reading r;
    ASSERT_TRUE(OpenSet(r, set, 1 << 20));
    FileEntry entry;
    entry.path = dir / "hello.txt";
    entry.offset = set.entries[0].offset;
    entry.size = set.entries[0].size;
    entry.timeText = "2003-7-28 20:34:2";
    ASSERT_TRUE(r.reader.ExtractEntry(entry));
    ContainerReader::SetEntryTime(entry);
    EXPECT_EQ(ReadWholeFile(entry.path), "hello");
    CalendarTime written;
    ASSERT_TRUE(GetFileLocalWriteTime(entry.path, written));
    EXPECT_EQ(written.year, 2003);
    EXPECT_EQ(written.month, 7);
    EXPECT_EQ(written.day, 28);
    EXPECT_EQ(written.hour, 20);
    EXPECT_EQ(written.minute, 34);
    EXPECT_EQ(written.second, 2);

    // An empty body gives an empty file.
    ASSERT_TRUE(r.reader.ExtractEntry(dir / "empty.txt", set.entries[1].offset, 0, false));
    EXPECT_TRUE(test::FileExists(dir / "empty.txt"));
    EXPECT_EQ(ReadWholeFile(dir / "empty.txt"), "");
}

TEST(ContainerReaderTest, StopFlagEndsTheExtractionEarly) {
    // A stop request (the wizard closing) must not wait for a large body to be read through.
    TempDir dir;
    std::string big = FixtureBytes(1 << 20, 4, true);
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 500, 1 << 30, {{big, false}, {big, true}});
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "lzss" : "raw");
        Reading r;
        ASSERT_TRUE(OpenSet(r, set, 1 << 30));
        r.finished = true;
        bool ok = true;
        EXPECT_TRUE(Extract(r, set.entries[i], &ok).empty());
        EXPECT_FALSE(ok);
    }
}

TEST(ContainerReaderTest, VolumePathRules) {
    struct Case {
        const char* location;
        int volume;
        const char* path;
    };
    const Case cases[] = {
        {"D:\\", 2, "D:\\Setup2.Cab"},
        {"D:\\disk2", 2, "D:\\disk2\\Setup2.Cab"},
        {"C:\\setup\\", 12, "C:\\setup\\Setup12.Cab"},
        {"/tmp/x", 3, "/tmp/x/Setup3.Cab"},
        {"", 2, "Setup2.Cab"},
    };
    for (const Case& c : cases) EXPECT_EQ(VolumePath(c.location, c.volume), c.path);
}

}  // namespace
}  // namespace vesk
