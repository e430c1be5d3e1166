// What a build leaves on disk: left-out sources, volumes that appear together or not at all, no
// trace of a stopped or failed build, the same bytes from checkouts with other file times, and
// the stream commands on inputs larger than their blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <limits>
#include <optional>

#include "BuildTestKit.h"
#include "builder/plan/SourceDateEpoch.h"
#include "builder/veskbuild/Commands.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/FileEntry.h"
#include "project/TaskSlots.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::BuildTestKit;
using test::FilesBelow;
using test::FixtureBytes;
using test::ReadWholeFile;

// Names of files in `folder` that a finished or failed build must not leave.
std::vector<std::string> Leftovers(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 5 &&
            (name.rfind(".part") == name.size() - 5 || name.rfind(".old") == name.size() - 4)) {
            found.push_back(name);
        }
    }
    return found;
}

TEST(BuildOutputTest, DefaultAndProjectExcludesLeaveFilesOut) {
    struct Case {
        const char* path;  // below product/
        bool packed;
    };
    const Case cases[] = {
        {"app.exe", true},
        {".git/config", false},
        {"sub/.svn/entries", false},
        {"Thumbs.db", false},
        {"sub/THUMBS.DB", false},
        {".DS_Store", false},
        {"notes.txt~", false},
        {"desktop.ini", true},  // taken back by "!desktop.ini"
        {"logs/run.log", false},
        {"run.log", false},
        {"drafts/plan.txt", false},
        {"docs/drafts/plan.txt", true},  // the path pattern names [InstallDir]\drafts only
        {"docs/manual.txt", true},
    };
    BuildTestKit kit;
    for (const Case& c : cases) kit.Write(std::string("product/") + c.path, c.path);
    kit.WriteProject("", "",
                     "<File>*.log</File>\n<File>[InstallDir]\\drafts</File>\n"
                     "<File>!desktop.ini</File>\n");
    // Listing the project plans without writing anything.
    EXPECT_EQ(tool::ListCommand({kit.Path("project.xml"), "--verbose"}), 0);
    EXPECT_FALSE(fs::exists(kit.Path("out")));
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
    std::string project = builder.Project().ToText();
    std::size_t packed = 0;
    for (const Case& c : cases) {
        std::string target = "[InstallDir]\\" + std::string(c.path);
        for (char& ch : target) ch = ch == '/' ? '\\' : ch;
        EXPECT_EQ(project.find(target + ",") != std::string::npos, c.packed) << c.path;
        packed += c.packed;
    }
    EXPECT_EQ(builder.Summary().installedFiles, packed);
    // Left-out folders are listed once, not file by file, with the rule that left them out.
    std::vector<std::string> excluded;
    for (const ExcludedSource& e : builder.Summary().excluded) {
        excluded.push_back(
            fs::path(e.hostPath).lexically_relative(kit.Path("product")).generic_string() + " | " +
            e.reason);
    }
    std::vector<std::string> expected = {
        ".DS_Store | left out by default (.DS_Store)",
        ".git | left out by default (.git)",
        "Thumbs.db | left out by default (Thumbs.db)",
        "notes.txt~ | left out by default (*~)",
        "run.log | left out by the pattern \"*.log\" of task 2402",
        "drafts | left out by the pattern \"[InstallDir]\\drafts\" of task 2402",
        "logs/run.log | left out by the pattern \"*.log\" of task 2402",
        "sub/.svn | left out by default (.svn)",
        "sub/THUMBS.DB | left out by default (Thumbs.db)",
    };
    std::sort(excluded.begin(), excluded.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(excluded, expected);
    EXPECT_TRUE(builder.Summary().warnings.empty());
}

TEST(BuildOutputTest, VolumesReplaceAnEarlierSetTogetherOrNotAtAll) {
    BuildTestKit kit;
    kit.Write("product/noise.bin", FixtureBytes(30000, 5, false));
    kit.WriteProject();
    BuildOptions options = kit.Options();
    options.diskSize = "12K";
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    const int volumes = builder.Summary().volumes;
    ASSERT_GE(volumes, 3);
    const auto before = FilesBelow(kit.Path("out"));
    const std::string blocked = "Setup" + std::to_string(volumes + 1) + ".Cab";

    // A volume of the new set cannot be put into place: the old set stays whole.
    kit.Write("product/more.bin", FixtureBytes(20000, 6, false));
    kit.Write("out/" + blocked + "/in-the-way.txt", "a folder where a volume goes");
    EXPECT_FALSE(builder.Build(options));
    EXPECT_NE(builder.LastError().find(blocked + ": it is a folder"), std::string::npos)
        << builder.LastError();
    auto after = FilesBelow(kit.Path("out"));
    after.erase(blocked + "/in-the-way.txt");
    EXPECT_EQ(after, before);
    EXPECT_TRUE(Leftovers(kit.Path("out")).empty());

    // Once it can, the new set replaces all of the old one.
    fs::remove_all(kit.Path("out/" + blocked));
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    EXPECT_GT(builder.Summary().volumes, volumes);
    EXPECT_EQ(FilesBelow(kit.Path("out")).size(), std::size_t(builder.Summary().volumes));
    EXPECT_TRUE(Leftovers(kit.Path("out")).empty());
}

TEST(BuildOutputTest, AStoppedOrFailedBuildLeavesNoFolderItMade) {
    struct Case {
        const char* name;
        bool stop;  // stopped from the progress handler once bytes are written
        std::int64_t streamLimit;
    };
    const Case cases[] = {
        {"stopped", true, std::numeric_limits<std::int32_t>::max()},
        {"failed while writing", false, 4096 + 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/a.bin", FixtureBytes(3 << 20, 7, true));
        kit.Write("product/b.bin", FixtureBytes(100000, 8, false));
        kit.WriteProject();
        BuildOptions options = kit.Options("new/deeper/out");
        std::atomic<bool> stop{false};
        options.stop = &stop;
        options.streamLimit = c.streamLimit;
        SetupBuilder builder;
        bool sawPart = false;
        builder.SetProgressHandler([&](const BuildProgress& progress) {
            sawPart = sawPart || fs::exists(kit.Path("new/deeper/out/Setup.exe.part"));
            if (c.stop && progress.bytesDone > 0) stop = true;
        });
        EXPECT_FALSE(builder.Build(options));
        EXPECT_TRUE(sawPart);
        EXPECT_EQ(builder.Summary().interrupted, c.stop) << builder.LastError();
        EXPECT_FALSE(fs::exists(kit.Path("new")));
    }
}

TEST(BuildOutputTest, ProgressNeverGoesBack) {
    // Bytes that LZSS does not shrink are read twice, the second time to be stored raw.
    BuildTestKit kit;
    kit.Write("product/noise.bin", FixtureBytes(3 << 20, 4, false));
    kit.WriteProject();
    SetupBuilder builder;
    std::vector<BuildProgress> seen;
    builder.SetProgressHandler([&](const BuildProgress& progress) { seen.push_back(progress); });
    ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
    ASSERT_GT(seen.size(), 3u);
    EXPECT_EQ(builder.Summary().rawFiles, 1u);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].bytesDone, seen[i - 1].bytesDone) << i;
        EXPECT_GE(seen[i].entry, seen[i - 1].entry) << i;
    }
    EXPECT_EQ(seen.back().bytesDone, seen.back().bytesTotal);
    EXPECT_EQ(seen.back().entry, seen.back().entryCount);
}

TEST(BuildOutputTest, SourceDateEpochGivesTheSameBytesFromEveryCheckout) {
    // Two checkouts of one project whose files carry different times.
    BuildTestKit one, two;
    for (BuildTestKit* kit : {&one, &two}) {
        kit->Write("product/a.txt", std::string(5000, 'a'));
        kit->Write("product/sub/b.bin", FixtureBytes(3000, 9, false));
        kit->Write("welcome.bmp", BuildTestKit::BitmapBytes());
        kit->WriteProject(
            "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
            "<SubTask ID=\"1\" Type=\"ShowBitmap\">\n<File>welcome.bmp</File>\n</SubTask>\n"
            "</Task>\n");
    }
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const char* file : {"product/a.txt", "product/sub/b.bin", "welcome.bmp", "project.xml"}) {
        fs::last_write_time(two.Path(file), old);
    }
    auto build = [](const BuildTestKit& kit, std::optional<std::int64_t> epoch) {
        BuildOptions options = kit.Options();
        options.sourceDateEpoch = epoch;
        SetupBuilder builder;
        EXPECT_TRUE(builder.Build(options)) << builder.LastError();
        return std::make_pair(test::SetBytes(builder.Summary()), builder.Project().ToText());
    };
    // Without it the file times differ, and so do the setups.
    EXPECT_NE(build(one, std::nullopt).first, build(two, std::nullopt).first);
    auto [bytesOne, projectOne] = build(one, 1700000000);
    auto [bytesTwo, projectTwo] = build(two, 1700000000);
    EXPECT_TRUE(bytesOne == bytesTwo);
    // Every entry carries the epoch's time, in UTC.
    std::size_t entries = 0;
    for (std::size_t at = 0; (at = projectOne.find("<File>[", at)) != std::string::npos; ++at) {
        std::size_t end = projectOne.find("</File>", at);
        EXPECT_EQ(projectOne.substr(end - 20, 20), ",2023-11-14 22:13:20")
            << projectOne.substr(at, end - at);
        ++entries;
    }
    EXPECT_EQ(entries, 4u);  // the language file, the picture, the two files
}

TEST(BuildOutputTest, SourceDateEpochIsReadAndTurnedIntoUtc) {
    struct Case {
        const char* text;
        bool valid;
        const char* time;  // the entry time, or part of the reason
    };
    const Case cases[] = {
        {"0", true, "1970-1-1 0:0:0"},
        {"951782400", true, "2000-2-29 0:0:0"},
        {"1700000000", true, "2023-11-14 22:13:20"},
        {"4107542399", true, "2100-2-28 23:59:59"},
        {"253402300799", true, "9999-12-31 23:59:59"},
        {"253402300800", false, "after the year 9999"},
        {"", false, "is empty"},
        {"-1", false, "digits only"},
        {"17e8", false, "digits only"},
        {" 1", false, "digits only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int64_t seconds = -1;
        std::string why;
        ASSERT_EQ(ParseSourceDateEpoch(c.text, seconds, why), c.valid);
        if (c.valid) {
            EXPECT_EQ(FormatEntryTime(CalendarTimeOfEpoch(seconds)), c.time);
        } else {
            EXPECT_NE(why.find(c.time), std::string::npos) << why;
        }
    }
}

TEST(BuildOutputTest, StreamCommandsRoundTripInputsLargerThanABlock) {
    test::TempDir dir;
    std::string input = FixtureBytes(5 << 20, 10, true) + FixtureBytes(300000, 11, false);
    test::WriteWholeFile(dir / "in.bin", input);
    ASSERT_EQ(tool::CompressCommand({dir / "in.bin", dir / "in.lzss"}), 0);
    std::vector<std::uint8_t> whole;
    LzssEncode(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), whole);
    EXPECT_TRUE(ReadWholeFile(dir / "in.lzss") == std::string(whole.begin(), whole.end()));
    ASSERT_EQ(tool::DecompressCommand({dir / "in.lzss", dir / "out.bin"}), 0);
    EXPECT_TRUE(ReadWholeFile(dir / "out.bin") == input);
}

}  // namespace
}  // namespace vesk
