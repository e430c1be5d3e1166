// Setups built with solid LZMA blocks, read back the engine's way: every kind, blocks across
// volumes, one huge file and thousands of tiny ones, files read in any order, and damage to the
// block index or a block, which makes the set damaged and never crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "container/Crc32.h"
#include "container/SolidBlocks.h"
#include "platform/LittleEndian.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

using test::BuildTestKit;
using test::FixtureBytes;
using test::ReadWholeFile;

// Every kind: start-up picture (K), text, an empty file, noise, a file marked N, a program (L),
// registry data (R), the uninstaller (U); plus what `extra` adds to the product folder.
struct Product {
    std::map<std::string, std::string> files;  // below product/, by name
};

BuildOptions SolidOptions(const BuildTestKit& kit, const std::string& output) {
    BuildOptions options = kit.Options(output);
    options.uninstallerPath = kit.Path("uninstaller.exe");
    options.compression = "lzma-solid";
    options.sourceDateEpoch = 1700000000;
    return options;
}

void WriteProduct(const BuildTestKit& kit, const Product& extra) {
    kit.Write("pictures/top.bmp", BuildTestKit::BitmapBytes());
    kit.Write("product/a.txt", FixtureBytes(30000, 1, true));
    kit.Write("product/empty.txt", "");
    kit.Write("product/noise.bin", FixtureBytes(5000, 2, false));
    kit.Write("product/stored.txt", FixtureBytes(2000, 3, true));
    kit.Write("product/lib/b.dll", "MZ" + FixtureBytes(20000, 5, true));
    kit.Write("product/setup/prepare.exe", "MZ" + std::string(300, 'p'));
    kit.Write("product/settings.reg",
              "[HKEY_CURRENT_USER\\Software\\Vesk Test]\r\n\"Path\"=\"C:\\x\"\r\n");
    kit.Write("uninstaller.exe", "MZ" + FixtureBytes(3000, 4, true));
    for (const auto& file : extra.files) kit.Write("product/" + file.first, file.second);
    kit.WriteProject(
        "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\n"
        "<SubTask ID=\"1\" Type=\"GetValue\">\n<CreateUnInstall1>1</CreateUnInstall1>\n"
        "</SubTask>\n</Task>\n"
        "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\n"
        "<SubTask ID=\"2\" Type=\"FileList\">\n"
        "<File>[InstallDir]\\setup\\prepare.exe,,,L,</File>\n"
        "<File>[InstallDir]\\settings.reg,,,R,</File>\n"
        "<File>[InstallDir]\\stored.txt,,,N,</File>\n"
        "</SubTask>\n</Task>\n",
        "<TopFramePicture>pictures/top.bmp</TopFramePicture>\n");
}

// Every body of the set read in `order` (the file list's, or backwards) must be its file's.
void ExpectEveryFile(const BuildTestKit& kit, SetupInspector& setup, bool backwards) {
    std::vector<FileEntry> entries = setup.Entries();
    if (backwards) std::reverse(entries.begin(), entries.end());
    for (const FileEntry& entry : entries) {
        SCOPED_TRACE(entry.rawPath);
        std::string body;
        ASSERT_TRUE(setup.ReadBody(entry, body)) << setup.LastError();
        const std::string& path = entry.rawPath;
        if (path.rfind("[InstallDir]\\", 0) == 0) {
            std::string name = path.substr(13);
            std::replace(name.begin(), name.end(), '\\', '/');
            EXPECT_EQ(body, ReadWholeFile(kit.Path("product/" + name)));
        } else if (path.find("Vesk-UnInstall") != std::string::npos) {
            EXPECT_EQ(body, ReadWholeFile(kit.Path("uninstaller.exe")));
        } else if (path.find("TopFramePicture") != std::string::npos) {
            EXPECT_EQ(body, BuildTestKit::BitmapBytes());
        }
    }
}

TEST(SolidSetupTest, EveryFileRoundTripsThroughItsBlockInAnyOrder) {
    Product tiny;
    for (int i = 0; i < 1000; ++i) {
        tiny.files["tiny/f" + std::to_string(i) + ".txt"] = "file " + std::to_string(i * 7);
    }
    Product noisy;  // a block larger than what lies before it: it can span three volumes
    noisy.files["noise2.bin"] = FixtureBytes(30000, 8, false);
    Product huge;
    huge.files["huge.dat"] = FixtureBytes((1 << 20) + 4097, 9, true);  // past every buffer
    struct Case {
        const char* name;
        const Product* extra;
        int blockVolumes;  // volumes the largest block is to span; 1: one volume
    };
    const Product none;
    const Case cases[] = {
        {"every kind, one volume", &none, 1},
        {"a block across three volumes", &noisy, 3},
        {"thousands of tiny files", &tiny, 1},
        {"one huge file", &huge, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        WriteProduct(kit, *c.extra);
        BuildOptions options = SolidOptions(kit, "one");
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(options)) << builder.LastError();
        std::string setupPath = kit.Path("one/Setup.exe");
        if (c.blockVolumes > 1) {
            // The largest block, cut in thirds by the volume size.
            SetupInspector layout;
            ASSERT_TRUE(layout.Open(setupPath)) << layout.LastError();
            const std::vector<SolidBlock>& blocks = layout.Reader().Blocks().blocks;
            const SolidBlock largest = *std::max_element(
                blocks.begin(), blocks.end(),
                [](const SolidBlock& a, const SolidBlock& b) { return a.stored < b.stored; });
            ASSERT_GT(largest.stored, largest.offset + 3);
            options = SolidOptions(kit, "volumes");
            options.diskSize =
                std::to_string(largest.offset + (largest.stored - largest.offset) / 3);
            SetupBuilder split;
            ASSERT_TRUE(split.Build(options)) << split.LastError();
            SetupInspector parts;
            ASSERT_TRUE(parts.Open(kit.Path("volumes/Setup.exe"))) << parts.LastError();
            const SolidBlock& cut = parts.Reader().Blocks().blocks[std::size_t(
                std::find_if(blocks.begin(), blocks.end(),
                             [&largest](const SolidBlock& b) { return b.crc == largest.crc; }) -
                blocks.begin())];
            EXPECT_EQ(parts.VolumeOfPosition(cut.offset + cut.stored - 1) -
                          parts.VolumeOfPosition(cut.offset) + 1,
                      3);
            setupPath = kit.Path("volumes/Setup.exe");
        }
        for (bool backwards : {false, true}) {
            SetupInspector setup;
            ASSERT_TRUE(setup.Open(setupPath)) << setup.LastError();
            EXPECT_EQ(setup.Reader().Method(), BodyMethod::LzmaSolid);
            EXPECT_FALSE(setup.Reader().Blocks().blocks.empty());
            ExpectEveryFile(kit, setup, backwards);
        }
    }
}

// The bytes of a built Setup.exe, its checksum block's magic cleared so that the reader's own
// checks of the blocks are what finds the damage (a checked set is refused at its volume's
// digest already).
struct UncheckedSet {
    std::string bytes;
    std::size_t index = 0;  // where the block index starts
    BlockIndex blocks;
};

UncheckedSet ReadUnchecked(const std::string& path) {
    UncheckedSet set;
    set.bytes = ReadWholeFile(path);
    set.index = set.bytes.find(std::string(kBlockIndexMagic, sizeof kBlockIndexMagic));
    const std::size_t sums = set.bytes.find("VeskSha2");
    if (sums != std::string::npos) set.bytes[sums] = 'X';
    std::string why;
    const auto* at = reinterpret_cast<const std::uint8_t*>(set.bytes.data()) + set.index;
    DecodeBlockIndex(at, ClaimedBlockIndexSize(at, kBlockIndexHead), set.blocks, why);
    return set;
}

// Rewrites block `b`'s record with `change` applied, the index's CRC made good again.
void ChangeBlock(UncheckedSet& set, std::size_t b, void (*change)(std::uint8_t* record)) {
    auto* index = reinterpret_cast<std::uint8_t*>(&set.bytes[set.index]);
    const std::size_t size = BlockIndexSize(set.blocks.blocks.size());
    change(index + kBlockIndexHead + kBlockRecordSize * b);
    Put32(index + size - 4, Crc32::Of(index, size - 4));
}

TEST(SolidSetupTest, DamageToTheIndexOrABlockMakesTheSetDamaged) {
    BuildTestKit kit;
    WriteProduct(kit, Product());
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(SolidOptions(kit, "out"))) << builder.LastError();
    const UncheckedSet clean = ReadUnchecked(kit.Path("out/Setup.exe"));
    ASSERT_NE(clean.index, std::string::npos);
    ASSERT_GE(clean.blocks.blocks.size(), 2u);
    const std::size_t last = clean.blocks.blocks.size() - 1;  // the files the install acts on

    struct Case {
        const char* name;
        void (*damage)(UncheckedSet& set, std::size_t last);
        bool refusedAtOpen;  // else when the block is read
    };
    const Case cases[] = {
        {"the index's checksum", [](UncheckedSet& s, std::size_t) { s.bytes[s.index + 20] ^= 1; },
         true},
        {"an unknown filter",
         [](UncheckedSet& s, std::size_t b) {
             ChangeBlock(s, b, [](std::uint8_t* r) { Put32(r + 12, 7); });
         },
         true},
        {"a block that overlaps the one before",
         [](UncheckedSet& s, std::size_t b) {
             ChangeBlock(s, b, [](std::uint8_t* r) { Put32(r, Get32(r) - 1); });
         },
         true},
        {"a block decoding to fewer bytes than its files",
         [](UncheckedSet& s, std::size_t b) {
             ChangeBlock(s, b, [](std::uint8_t* r) { Put32(r + 8, Get32(r + 8) - 100); });
         },
         true},
        {"a block's decoded bytes' checksum",
         [](UncheckedSet& s, std::size_t b) {
             ChangeBlock(s, b, [](std::uint8_t* r) { Put32(r + 16, Get32(r + 16) ^ 1); });
         },
         false},
        {"a block cut short",
         [](UncheckedSet& s, std::size_t b) {
             ChangeBlock(s, b, [](std::uint8_t* r) { Put32(r + 4, Get32(r + 4) - 10); });
         },
         false},
        {"a block's data",
         [](UncheckedSet& s, std::size_t b) {
             const SolidBlock& block = s.blocks.blocks[b];
             s.bytes[block.offset + block.stored / 2] ^= 0x55;
             s.bytes[block.offset + block.stored / 2 + 1] ^= 0x55;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UncheckedSet set = clean;
        c.damage(set, last);
        const std::string path = kit.Path("damaged.exe");
        ASSERT_TRUE(test::WriteWholeFile(path, set.bytes));
        SetupInspector setup;
        const bool opened = setup.Open(path);
        EXPECT_EQ(opened, !c.refusedAtOpen) << setup.LastError();
        if (opened) {
            bool all = true;
            for (const FileEntry& entry : setup.Entries()) {
                std::string body;
                all = setup.ReadBody(entry, body) && all;
            }
            EXPECT_FALSE(all);
        }
        EXPECT_FALSE(setup.Reader().DamagedVolume().empty()) << setup.LastError();
        EXPECT_NE(setup.LastError().find("the setup is damaged"), std::string::npos)
            << setup.LastError();
    }
}

}  // namespace
}  // namespace vesk
