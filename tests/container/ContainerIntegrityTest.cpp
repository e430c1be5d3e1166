// The reader's defences: the checksum block against damaged and mixed volumes, the tail of a
// signed setup, the bounds on what the project section and the language file decode to, and the
// layout of the file list.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerReader.h"
#include "container/FileEntry.h"
#include "support/PeProbe.h"
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

constexpr std::int32_t kDiskSize = test::kThreeVolumeDiskSize;

struct Reading {
    std::atomic<bool> finished{false};
    ContainerReader reader{finished};
};

std::uint32_t U32At(const std::string& bytes, std::size_t at) {
    return std::uint32_t(std::uint8_t(bytes[at])) |
           std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char(value >> (8 * i));
}

void FlipByte(const std::string& path, std::size_t at) {
    std::string bytes = ReadWholeFile(path);
    ASSERT_LT(at, bytes.size());
    bytes[at] = char(bytes[at] ^ 0x20);
    ASSERT_TRUE(WriteWholeFile(path, bytes));
}

const std::vector<FixtureBody>& Bodies() {
    return test::ThreeVolumeBodies();
}

// Opens the set and reads every body; false at the first failure.
bool ReadWholeSet(Reading& r, const FixtureSet& set) {
    return test::ReadWholeSet(r.reader, set, kDiskSize, &Bodies());
}

TEST(ContainerIntegrityTest, DamageAndMixedVolumesAreNamed) {
    struct Case {
        const char* name;
        // Spoils the set in `dir`; gives the volume (0 for Setup.exe) that must be named.
        std::function<void(const FixtureSet& set, const std::string& dir)> spoil;
        int damagedVolume;  // -1: the set reads whole
    };
    auto tailOf = [](const FixtureSet& set) {
        const std::string bytes = ReadWholeFile(set.setupPath);
        return std::make_pair(U32At(bytes, bytes.size() - 16), U32At(bytes, bytes.size() - 12));
    };
    const Case cases[] = {
        {"untouched", [](const FixtureSet&, const std::string&) {}, -1},
        {"a body byte in Setup.exe",
         [](const FixtureSet& set, const std::string&) {
             FlipByte(set.setupPath, std::size_t(set.entries[0].offset) + 100);
         },
         0},
        {"a byte of the stub",
         [](const FixtureSet& set, const std::string&) { FlipByte(set.setupPath, 1500); }, 0},
        {"the project section",
         [&](const FixtureSet& set, const std::string&) {
             FlipByte(set.setupPath, tailOf(set).first + 5);
         },
         0},
        {"the checksum block",
         [&](const FixtureSet& set, const std::string&) {
             const auto [offset, size] = tailOf(set);
             FlipByte(set.setupPath, offset + size + 21);
         },
         0},
        {"a byte in Setup2.Cab",
         [](const FixtureSet& set, const std::string&) { FlipByte(set.volumePaths[1], 700); }, 2},
        {"the last byte before the tail of Setup3.Cab",
         [](const FixtureSet& set, const std::string&) {
             FlipByte(set.volumePaths[2], ReadWholeFile(set.volumePaths[2]).size() - kTailSize - 1);
         },
         3},
        {"Setup2.Cab of another build with the same identity",
         [](const FixtureSet& set, const std::string& dir) {
             std::vector<FixtureBody> other = Bodies();
             other[2].content[100] = char(other[2].content[100] ^ 1);  // lies in Setup2.Cab
             FixtureSet foreign =
                 test::BuildFixtureSet(dir + "/other/Setup.exe", 3000, kDiskSize, other);
             WriteWholeFile(set.volumePaths[1], ReadWholeFile(foreign.volumePaths[1]));
         },
         2},
        {"Setup3.Cab renamed Setup2.Cab",
         [](const FixtureSet& set, const std::string&) {
             WriteWholeFile(set.volumePaths[1], ReadWholeFile(set.volumePaths[2]));
         },
         2},
        {"Setup2.Cab one stream byte short",
         [](const FixtureSet& set, const std::string&) {
             std::string bytes = ReadWholeFile(set.volumePaths[1]);
             bytes.erase(100, 1);
             WriteWholeFile(set.volumePaths[1], bytes);
         },
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::filesystem::create_directory(dir / "other");
        FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, kDiskSize, Bodies());
        ASSERT_EQ(set.volumePaths.size(), 3u);
        c.spoil(set, dir.Path());
        Reading r;
        const bool read = ReadWholeSet(r, set);
        if (c.damagedVolume < 0) {
            EXPECT_TRUE(read) << r.reader.LastError();
            EXPECT_TRUE(r.reader.Checked());
            EXPECT_TRUE(r.reader.DamagedVolume().empty());
            continue;
        }
        EXPECT_FALSE(read);
        const std::string expected = c.damagedVolume == 0
                                         ? set.setupPath
                                         : set.volumePaths[std::size_t(c.damagedVolume - 1)];
        EXPECT_EQ(r.reader.DamagedVolume(), expected);
        EXPECT_EQ(r.reader.LastError().rfind(DamagedSetupMessage(expected), 0), 0u)
            << r.reader.LastError();
        // A later volume ends the run as a volume the user gave up on would.
        EXPECT_EQ(bool(r.finished), c.damagedVolume > 1);
    }
}

TEST(ContainerIntegrityTest, TheChecksumPassTellsHowFarItHasCome) {
    TempDir dir;
    const std::vector<FixtureBody> bodies = {{FixtureBytes(5000, 1, true), false},
                                             {FixtureBytes(2500000, 2, false), true}};
    const FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, 1 << 30, bodies);
    ASSERT_EQ(set.volumePaths.size(), 1u);
    Reading r;
    std::vector<std::pair<std::int64_t, std::int64_t>> reports;
    r.reader.SetCheckProgress(
        [&](std::int64_t done, std::int64_t total) { reports.emplace_back(done, total); });
    ASSERT_TRUE(r.reader.OpenContainer(set.setupPath)) << r.reader.LastError();
    ASSERT_TRUE(r.reader.Checked());
    // The project section, then volume 1's stream, each up to its end in steps of 1 MiB.
    const std::int64_t stream = std::int64_t(r.reader.Tail().projectOffset);
    const std::vector<std::pair<std::int64_t, std::int64_t>> expected = {
        {r.reader.Tail().projectSize, r.reader.Tail().projectSize},
        {1 << 20, stream},
        {2 << 20, stream},
        {stream, stream}};
    EXPECT_EQ(reports, expected);
}

TEST(ContainerIntegrityTest, NothingOfADamagedVolumeIsDelivered) {
    // The body that starts in Setup3.Cab is refused before any of its bytes reach the sink, and
    // the reader asks for no other disk: the set is damaged, not missing.
    TempDir dir;
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, kDiskSize, Bodies());
    FlipByte(set.volumePaths[2], ReadWholeFile(set.volumePaths[2]).size() - kTailSize - 1);
    struct CountingPrompt : VolumePrompt {
        int asked = 0;
        std::string AskForVolume(const std::string&, int) override {
            ++asked;
            return "";
        }
    } prompt;
    Reading r;
    r.reader.SetPrompt(&prompt);
    std::string project;
    ASSERT_TRUE(r.reader.OpenContainer(set.setupPath) && r.reader.ReadProjectText(project));
    r.reader.SetVolumeSize(kDiskSize);
    const test::FixtureEntry& last = set.entries[3];
    ASSERT_EQ(last.offset / kDiskSize + 1, 3) << "the last body starts in Setup3.Cab";
    StringSink sink;
    EXPECT_FALSE(r.reader.ExtractTo(sink, last.offset, last.size, last.raw));
    EXPECT_TRUE(sink.bytes.empty());
    EXPECT_EQ(r.reader.DamagedVolume(), set.volumePaths[2]);
    EXPECT_EQ(prompt.asked, 0);
}

TEST(ContainerIntegrityTest, TailSitsBeforeTheCertificateTable) {
    // What a signing tool does: rewrite the CheckSum and the security directory, append a
    // certificate table. The set still reads, and its checksums still hold.
    struct Case {
        const char* name;
        std::size_t tableSize;
        bool spoilTable;  // the table's own bytes are not the set's business
    };
    const Case cases[] = {
        {"unsigned", 0, false}, {"signed", 1024, false}, {"signed, table bytes changed", 24, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string stub = test::MakeTestStub(true, true);
        FixtureSet set = test::BuildFixtureSetWithStub(dir / "Setup.exe", stub, kDiskSize,
                                                       {Bodies()[0], Bodies()[3]});
        std::string bytes = ReadWholeFile(set.setupPath);
        EXPECT_EQ(bytes.size() % 8, 0u) << "no padding needed before a certificate table";
        if (c.tableSize) {
            const ImageSigningFields fields = FindImageSigningFields(
                reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ASSERT_GT(fields.securityEntry, 0);
            PutU32(bytes, std::size_t(fields.securityEntry), std::uint32_t(bytes.size()));
            PutU32(bytes, std::size_t(fields.securityEntry) + 4, std::uint32_t(c.tableSize));
            PutU32(bytes, std::size_t(fields.checksumField), 0x12345678);
            bytes += std::string(c.tableSize, c.spoilTable ? '\x5A' : '\0');
            ASSERT_TRUE(WriteWholeFile(set.setupPath, bytes));
        }
        Reading r;
        std::string project;
        ASSERT_TRUE(r.reader.OpenContainer(set.setupPath)) << r.reader.LastError();
        ASSERT_TRUE(r.reader.ReadProjectText(project)) << r.reader.LastError();
        EXPECT_EQ(project, set.projectXml);
        EXPECT_EQ(r.reader.CertificateSize(), std::int64_t(c.tableSize));
        EXPECT_TRUE(r.reader.Checked());
        r.reader.SetVolumeSize(kDiskSize);
        StringSink sink;
        EXPECT_TRUE(r.reader.ExtractTo(sink, set.entries[1].offset, set.entries[1].size, false));
        EXPECT_EQ(sink.bytes, Bodies()[3].content);
    }
}

// A setup file: `stub`, a project section of `section` bytes and a tail that points at it.
std::string SetupWithSection(const std::string& stub, const std::vector<std::uint8_t>& section) {
    std::string file = stub + std::string(section.begin(), section.end());
    ContainerTail tail{};
    SetIdentityText(tail, "4711");
    tail.projectOffset = std::uint32_t(stub.size());
    tail.projectSize = std::uint32_t(section.size());
    tail.volumeCounter = kVolumeCounterValue;
    tail.volumeNumber = 1;
    std::uint8_t bytes[kTailSize];
    EncodeTail(tail, bytes);
    return file + std::string(reinterpret_cast<const char*>(bytes), kTailSize);
}

// An LZSS stream of `groups` whole groups of eight 18-byte references: 144 output bytes per 17
// stream bytes, the most the format gives.
constexpr std::uint64_t kGroupOutput = 8 * 18;
std::vector<std::uint8_t> ExpandingStream(std::uint64_t groups) {
    std::vector<std::uint8_t> stream;
    for (std::uint64_t group = 0; group < groups; ++group) {
        stream.push_back(0x00);
        for (int k = 0; k < 8; ++k) {
            stream.push_back(0xEE);  // window position 0xFEE = 4078 - the fresh window's spaces
            stream.push_back(0xFF);
        }
    }
    return stream;
}

TEST(ContainerIntegrityTest, ProjectAndLanguageFileStopAtTheirBounds) {
    TempDir dir;
    // The project section: a few megabytes that would decode past the bound.
    const std::vector<std::uint8_t> bomb = ExpandingStream(kMaxProjectText / kGroupOutput + 1);
    ASSERT_LT(bomb.size(), kMaxProjectText / 8);
    ASSERT_TRUE(
        WriteWholeFile(dir / "Bomb.exe", SetupWithSection("MZ" + std::string(98, 'x'), bomb)));
    Reading r;
    ASSERT_TRUE(r.reader.OpenContainer(dir / "Bomb.exe")) << r.reader.LastError();
    std::string text = "untouched";
    EXPECT_FALSE(r.reader.ReadProjectText(text));
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(r.reader.DamagedVolume(), dir / "Bomb.exe");
    // Just inside the bound it reads.
    const std::vector<std::uint8_t> fits = ExpandingStream(kMaxProjectText / kGroupOutput);
    ASSERT_TRUE(WriteWholeFile(dir / "Fits.exe", SetupWithSection("MZ", fits)));
    Reading r2;
    ASSERT_TRUE(r2.reader.OpenContainer(dir / "Fits.exe"));
    EXPECT_TRUE(r2.reader.ReadProjectText(text)) << r2.reader.LastError();

    // The language file: what lands on disk stops at the bound, and the set counts as damaged.
    const std::string language(kMaxLanguageFile + 4096, 'a');
    FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, 1 << 30, {{language, false}});
    Reading r3;
    std::string project;
    ASSERT_TRUE(r3.reader.OpenContainer(set.setupPath) && r3.reader.ReadProjectText(project));
    r3.reader.SetVolumeSize(1 << 30);
    const test::FixtureEntry& e = set.entries[0];
    EXPECT_FALSE(
        r3.reader.ExtractEntry(dir / "language.ini", e.offset, e.size, false, kMaxLanguageFile));
    EXPECT_LE(std::filesystem::file_size(dir / "language.ini"), kMaxLanguageFile);
    EXPECT_EQ(r3.reader.DamagedVolume(), set.setupPath);
    // Without a bound the same body is just a large file.
    Reading r4;
    ASSERT_TRUE(r4.reader.OpenContainer(set.setupPath) && r4.reader.ReadProjectText(project));
    r4.reader.SetVolumeSize(1 << 30);
    EXPECT_TRUE(r4.reader.ExtractEntry(dir / "big.bin", e.offset, e.size, false));
    EXPECT_EQ(std::filesystem::file_size(dir / "big.bin"), language.size());
}

TEST(ContainerIntegrityTest, FileListBodiesMustNotOverlap) {
    TempDir dir;
    FixtureSet set = test::BuildFixtureSet(
        dir / "Setup.exe", 3000, 1 << 30,
        {{FixtureBytes(5000, 1, true), false}, {FixtureBytes(5000, 2, false), true}});
    const test::FixtureEntry a = set.entries[0], b = set.entries[1];
    // Body a is an LZSS stream, b is stored raw.
    auto entry = [&b](std::int32_t offset, std::int32_t size) {
        const FileKind kind = offset == b.offset ? FileKind::Raw : FileKind::Ordinary;
        return FormatFileEntry("[InstallDir]\\x", offset, size, kind, "2003-7-28 1:2:3");
    };
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        bool accepted;
    };
    std::vector<std::string> bomb(40000, entry(a.offset, a.size));
    const Case cases[] = {
        {"as built", {entry(a.offset, a.size), entry(b.offset, b.size)}, true},
        {"in another order", {entry(b.offset, b.size), entry(a.offset, a.size)}, true},
        {"empty bodies anywhere, malformed entries",
         {entry(a.offset, a.size), entry(a.offset, 0), entry(a.offset - 1, 0), "no entry",
          entry(b.offset, b.size)},
         true},
        {"one byte shared", {entry(a.offset, a.size + 1), entry(b.offset, b.size)}, false},
        {"a body inside another", {entry(a.offset, a.size), entry(a.offset + 10, 20)}, false},
        {"one body listed twice", {entry(a.offset, a.size), entry(a.offset, a.size)}, false},
        {"40000 entries on one body", bomb, false},
        {"beyond the data stream", {entry(b.offset, b.size + 1)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r;
        ASSERT_TRUE(r.reader.OpenContainer(set.setupPath));
        EXPECT_EQ(r.reader.CheckFileList(c.entries), c.accepted) << r.reader.LastError();
        EXPECT_EQ(r.reader.DamagedVolume(), c.accepted ? "" : set.setupPath);
    }
}

}  // namespace
}  // namespace vesk
