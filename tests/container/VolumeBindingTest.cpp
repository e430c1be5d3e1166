// What binds a set to its Setup.exe against deliberate change: SHA-256 of every volume and of the
// project section, the decoded length of every body, and how sets of earlier builders (CRC-32
// only, or no block) still read.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "codec/lzma/LzmaBodyEncoder.h"
#include "container/ContainerReader.h"
#include "container/Crc32.h"
#include "container/Sha256.h"
#include "support/CrcForgery.h"
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

std::string Hex(const Sha256Digest& digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

TEST(VolumeBindingTest, Sha256GivesTheStandardDigests) {
    struct Case {
        std::string message;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56: the length spills
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.substr(0, 60));
        const auto* data = reinterpret_cast<const std::uint8_t*>(c.message.data());
        EXPECT_EQ(Hex(Sha256::Of(data, c.message.size())), c.digest);
        // Fed in uneven pieces, and with zeros fed as zeros.
        Sha256 pieces;
        for (std::size_t at = 0, step = 1; at < c.message.size();
             at += step, step = step * 3 % 97) {
            pieces.Update(data + at, std::min(step, c.message.size() - at));
        }
        EXPECT_EQ(Hex(pieces.Final()), c.digest);
    }
    Sha256 zeros;
    zeros.UpdateZeros(1000);
    const std::string thousand(1000, '\0');
    EXPECT_EQ(zeros.Final(),
              Sha256::Of(reinterpret_cast<const std::uint8_t*>(thousand.data()), thousand.size()));
}

const std::vector<FixtureBody>& Bodies() {
    return test::ThreeVolumeBodies();
}

struct Reading {
    std::atomic<bool> finished{false};
    ContainerReader reader{finished};
};

std::uint32_t U32At(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

// Setup.exe as an earlier builder wrote it: the same stream and project section, then a block
// of CRC-32 only (`crcBlock`) or none, then the tail.
void RewriteAsEarlierBuild(const FixtureSet& set, bool crcBlock) {
    std::string setup = ReadWholeFile(set.setupPath);
    const std::string tail = setup.substr(setup.size() - kTailSize);
    const std::uint32_t projectOffset = U32At(tail, kIdentitySize);
    const std::uint32_t projectSize = U32At(tail, kIdentitySize + 4);
    setup.resize(projectOffset + projectSize);
    if (crcBlock) {
        ChecksumBlock block;
        block.kind = ChecksumKind::Crc32;
        block.projectCrc = test::Crc32Of(setup, projectOffset, setup.size());
        block.volumes.push_back({projectOffset, test::Crc32Of(setup, 0, projectOffset), {}});
        for (std::size_t v = 1; v < set.volumePaths.size(); ++v) {
            const std::string volume = ReadWholeFile(set.volumePaths[v]);
            const std::size_t stream = volume.size() - kTailSize;
            block.volumes.push_back({std::uint32_t(stream), test::Crc32Of(volume, 0, stream), {}});
        }
        const std::vector<std::uint8_t> bytes = EncodeChecksumBlock(block);
        setup.append(bytes.begin(), bytes.end());
        setup.append(
            (kVolumeAlignment - (setup.size() + kTailSize) % kVolumeAlignment) % kVolumeAlignment,
            '\0');
    }
    ASSERT_TRUE(WriteWholeFile(set.setupPath, setup + tail));
}

// Changes a byte of a body in Setup2.Cab and forges the volume's CRC-32 back with four bytes of
// another body in it: what the review did to a signed setup's volume.
void ChangeWithCrcForgedBack(const FixtureSet& set) {
    std::string volume = ReadWholeFile(set.volumePaths[1]);
    const std::size_t stream = volume.size() - kTailSize;
    const std::uint32_t crc = test::Crc32Of(volume, 0, stream);
    volume[700] = char(volume[700] ^ 0x41);
    ASSERT_TRUE(test::ForgeCrc32(volume, 0, stream, 900, crc));
    ASSERT_EQ(test::Crc32Of(volume, 0, stream), crc);
    ASSERT_TRUE(WriteWholeFile(set.volumePaths[1], volume));
}

TEST(VolumeBindingTest, AVolumeChangedWithItsCrcForgedBackIsRefusedUnlessTheSetPredatesSha256) {
    struct Case {
        const char* name;
        std::function<void(const FixtureSet&)> build;  // how the set was built
        bool checked;                                  // it carries a block
        bool forgeryDetected;
    };
    const Case cases[] = {
        {"as the builder writes it", [](const FixtureSet&) {}, true, true},
        {"an earlier build with CRC-32 only",
         [](const FixtureSet& set) { RewriteAsEarlierBuild(set, true); }, true, false},
        {"an earlier build without a block",
         [](const FixtureSet& set) { RewriteAsEarlierBuild(set, false); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, kDiskSize, Bodies());
        ASSERT_EQ(set.volumePaths.size(), 3u);
        c.build(set);
        {
            // Untouched, each reads as before.
            Reading r;
            EXPECT_TRUE(test::ReadWholeSet(r.reader, set, kDiskSize, &Bodies()))
                << r.reader.LastError();
            EXPECT_EQ(r.reader.Checked(), c.checked);
        }
        ChangeWithCrcForgedBack(set);
        Reading r;
        const bool read = test::ReadWholeSet(r.reader, set, kDiskSize, nullptr);
        EXPECT_EQ(read, !c.forgeryDetected) << r.reader.LastError();
        EXPECT_EQ(r.reader.DamagedVolume(), c.forgeryDetected ? set.volumePaths[1] : "");
    }
}

TEST(VolumeBindingTest, EveryBodyDecodesToExactlyItsRecordedLength) {
    const std::string text = FixtureBytes(40000, 5, true);
    struct Case {
        const char* name;
        std::int64_t recorded;
        bool raw;
        bool accepted;
    };
    const Case cases[] = {
        {"as recorded", -1, false, true},
        {"one byte more than recorded", 39999, false, false},
        {"far more than recorded", 100, false, false},
        {"fewer than recorded", 40001, false, false},
        {"raw, as recorded", -1, true, true},
        {"raw, recorded with another length", 39000, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        FixtureBody body{text, c.raw};
        body.recorded = c.recorded;
        const FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, 1 << 30, {body});
        Reading r;
        std::string project;
        ASSERT_TRUE(r.reader.OpenContainer(set.setupPath) && r.reader.ReadProjectText(project));
        r.reader.SetVolumeSize(1 << 30);
        const test::FixtureEntry& e = set.entries[0];
        const bool extracted = r.reader.ExtractEntry(dir / "out.bin", e.offset, e.size, e.raw);
        EXPECT_EQ(extracted, c.accepted) << r.reader.LastError();
        EXPECT_EQ(r.reader.DamagedVolume(), c.accepted ? "" : set.setupPath);
        EXPECT_EQ(r.finished.load(), !c.accepted) << "a damaged body stops the install";
        if (c.recorded >= 0 && c.recorded < std::int64_t(text.size()) &&
            std::filesystem::exists(dir / "out.bin")) {
            EXPECT_LE(std::int64_t(std::filesystem::file_size(dir / "out.bin")), c.recorded)
                << "nothing past the recorded length is written";
        }
    }
}

TEST(VolumeBindingTest, AnUnrecordedBodyIsDamageBeforeAnythingIsUnpacked) {
    TempDir dir;
    const FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 3000, 1 << 30, Bodies());
    const test::FixtureEntry a = set.entries[0], b = set.entries[1];
    auto entry = [](std::int32_t offset, std::int32_t size, FileKind kind) {
        return FormatFileEntry("[InstallDir]\\x", offset, size, kind, "2003-7-28 1:2:3");
    };
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        bool accepted;
    };
    const Case cases[] = {
        {"as built",
         {entry(a.offset, a.size, FileKind::Ordinary), entry(b.offset, b.size, FileKind::Raw)},
         true},
        {"an empty body anywhere", {entry(a.offset + 3, 0, FileKind::Ordinary)}, true},
        {"a body that starts inside a recorded one",
         {entry(a.offset + 1, 10, FileKind::Ordinary)},
         false},
        {"a raw body shorter than recorded", {entry(b.offset, b.size - 1, FileKind::Raw)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reading r;
        std::string project;
        ASSERT_TRUE(r.reader.OpenContainer(set.setupPath) && r.reader.ReadProjectText(project));
        EXPECT_EQ(r.reader.CheckFileList(c.entries), c.accepted) << r.reader.LastError();
        EXPECT_EQ(r.reader.DamagedVolume(), c.accepted ? "" : set.setupPath);
    }
}

// An LZMA body whose header claims far more than the set records for it: a few kilobytes that
// would decode to 4 MiB stop at the recorded length.
TEST(VolumeBindingTest, AnLzmaBombStopsAtItsRecordedLength) {
    class Zeros : public ByteSource {
    public:
        explicit Zeros(std::uint64_t length) : left_(length) {}
        bool Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
            got = std::size_t(std::min<std::uint64_t>(capacity, left_));
            std::memset(buffer, 0, got);
            left_ -= got;
            return true;
        }

    private:
        std::uint64_t left_;
    };
    constexpr std::uint64_t kClaimed = 4u << 20;
    Zeros source(kClaimed);
    StringSink bomb;
    LzmaBodyEncoder encoder(1u << 20);
    ASSERT_TRUE(encoder.Encode(source, kClaimed, bomb)) << encoder.LastError();
    ASSERT_LT(bomb.bytes.size(), kClaimed / 1000);

    TempDir dir;
    FixtureBody body{bomb.bytes, true, 'A'};
    body.recorded = 4096;
    const FixtureSet set =
        test::BuildFixtureSetWithStub(dir / "Setup.exe", std::string(3000, 'S'), 1 << 30, {body},
                                      "20261207", "<CompressType>LZMA</CompressType>\r\n");
    Reading r;
    std::string project;
    ASSERT_TRUE(r.reader.OpenContainer(set.setupPath) && r.reader.ReadProjectText(project));
    r.reader.SetVolumeSize(1 << 30);
    ASSERT_TRUE(r.reader.SetBodyMethod("LZMA"));
    const test::FixtureEntry& e = set.entries[0];
    EXPECT_FALSE(r.reader.ExtractEntry(dir / "bomb.bin", e.offset, e.size, false));
    EXPECT_LE(std::filesystem::file_size(dir / "bomb.bin"), 4096u);
    EXPECT_EQ(r.reader.DamagedVolume(), set.setupPath);
    EXPECT_NE(r.reader.LastError().find("more than its recorded 4096 bytes"), std::string::npos)
        << r.reader.LastError();
}

}  // namespace
}  // namespace vesk
