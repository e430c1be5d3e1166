// Setups built with LZMA bodies, read back the engine's way: every kind across volume boundaries,
// the method's choice, and a default build that stays what it was before LZMA existed.
#include <gtest/gtest.h>

#include <map>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "codec/lzss/LzssEncoder.h"
#include "resources/LanguageFile.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

using test::BuildTestKit;
using test::FixtureBytes;
using test::ReadWholeFile;

// Bytes of 16 symbols: LZMA halves them, so a large file makes a large body.
std::string HalfCompressible(std::size_t size) {
    std::string bytes;
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += char('a' + (state >> 27));
    }
    return bytes;
}

// Every kind: start-up picture (K), ordinary text, an empty file, noise that is stored raw, a file
// marked N, a program (L), a registry data file (R), the uninstaller (U), and a large body.
void WriteProduct(const BuildTestKit& kit, const std::string& properties = "") {
    kit.Write("pictures/top.bmp", BuildTestKit::BitmapBytes());
    kit.Write("product/a.txt", FixtureBytes(30000, 1, true));
    kit.Write("product/empty.txt", "");
    kit.Write("product/noise.bin", FixtureBytes(5000, 2, false));
    kit.Write("product/stored.txt", FixtureBytes(2000, 3, true));
    kit.Write("product/big.dat", HalfCompressible(120000));
    kit.Write("product/setup/prepare.exe", "MZ" + std::string(300, 'p'));
    kit.Write("product/settings.reg",
              "[HKEY_CURRENT_USER\\Software\\Vesk Test]\r\n\"Path\"=\"C:\\x\"\r\n");
    kit.Write("uninstaller.exe", "MZ" + FixtureBytes(3000, 4, true));
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
        "<TopFramePicture>pictures/top.bmp</TopFramePicture>\n" + properties);
}

BuildOptions LzmaOptions(const BuildTestKit& kit, const std::string& output = "out") {
    BuildOptions options = kit.Options(output);
    options.uninstallerPath = kit.Path("uninstaller.exe");
    options.compression = "lzma";
    options.sourceDateEpoch = 1700000000;
    return options;
}

// What every entry must decode to, by its target.
std::map<std::string, std::string> ExpectedContents(const BuildTestKit& kit) {
    return {
        {"[TempFileDir]\\~VeskInstall-Language.ini", DefaultLanguageFile()},
        {"[TempFileDir]\\~VeskInstall-TopFramePicture.bmp", BuildTestKit::BitmapBytes()},
        {"[InstallDir]\\a.txt", ReadWholeFile(kit.Path("product/a.txt"))},
        {"[InstallDir]\\big.dat", ReadWholeFile(kit.Path("product/big.dat"))},
        {"[InstallDir]\\empty.txt", ""},
        {"[InstallDir]\\noise.bin", ReadWholeFile(kit.Path("product/noise.bin"))},
        {"[InstallDir]\\settings.reg", ReadWholeFile(kit.Path("product/settings.reg"))},
        {"[InstallDir]\\setup\\prepare.exe", ReadWholeFile(kit.Path("product/setup/prepare.exe"))},
        {"[InstallDir]\\stored.txt", ReadWholeFile(kit.Path("product/stored.txt"))},
        {"[Windows Directory]\\Vesk-UnInstall.exe", ReadWholeFile(kit.Path("uninstaller.exe"))},
    };
}

const FileEntry& EntryFor(const SetupInspector& setup, const std::string& target) {
    for (const FileEntry& entry : setup.Entries()) {
        if (entry.rawPath == target) return entry;
    }
    static const FileEntry none;
    ADD_FAILURE() << "no entry " << target;
    return none;
}

TEST(LzmaSetupTest, EveryKindRoundTripsAcrossVolumeBoundaries) {
    BuildTestKit kit;
    WriteProduct(kit);
    // One build in one volume finds where the bodies lie; they lie there whatever the volume size.
    SetupBuilder first;
    ASSERT_TRUE(first.Build(LzmaOptions(kit, "one"))) << first.LastError();
    SetupInspector layout;
    ASSERT_TRUE(layout.Open(kit.Path("one/Setup.exe"))) << layout.LastError();
    const FileEntry& text = EntryFor(layout, "[InstallDir]\\a.txt");
    const FileEntry& big = EntryFor(layout, "[InstallDir]\\big.dat");
    ASSERT_GT(big.size, 2 * big.offset) << "the large body must be able to span three volumes";

    struct Case {
        const char* name;
        std::int32_t diskSize;  // 0: one volume
        int volumesOfBig;       // volumes the large body touches
    };
    const Case cases[] = {
        {"one volume", 0, 1},
        {"a body ends at a volume's end", text.offset + text.size, 0},
        {"a body spans three volumes", big.offset + big.size / 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildOptions options = LzmaOptions(kit, c.name);
        if (c.diskSize) options.diskSize = std::to_string(c.diskSize);
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(options)) << builder.LastError();
        EXPECT_EQ(builder.Summary().method, BodyMethod::Lzma);
        SetupInspector setup;
        ASSERT_TRUE(setup.Open(kit.Path(std::string(c.name) + "/Setup.exe"))) << setup.LastError();
        EXPECT_EQ(setup.Reader().Method(), BodyMethod::Lzma);
        const std::map<std::string, std::string> expected = ExpectedContents(kit);
        ASSERT_EQ(setup.Entries().size(), expected.size());
        for (const FileEntry& entry : setup.Entries()) {
            SCOPED_TRACE(entry.rawPath);
            std::string body;
            ASSERT_TRUE(setup.ReadBody(entry, body)) << setup.LastError();
            EXPECT_EQ(body, expected.at(entry.rawPath));
            EXPECT_EQ(entry.size == 0, body.empty());
        }
        // The layout each case is about.
        const FileEntry& bigHere = EntryFor(setup, "[InstallDir]\\big.dat");
        if (c.volumesOfBig) {
            EXPECT_EQ(setup.VolumeOfPosition(bigHere.offset + bigHere.size - 1) -
                          setup.VolumeOf(bigHere) + 1,
                      c.volumesOfBig);
        } else {
            EXPECT_EQ((text.offset + text.size) % setup.DiskSize(), 0);
        }
        // Kinds keep their letters: N stays N, noise that LZMA does not shrink is stored raw.
        EXPECT_EQ(EntryFor(setup, "[InstallDir]\\stored.txt").letter, 'N');
        EXPECT_EQ(EntryFor(setup, "[InstallDir]\\noise.bin").letter, 'N');
        EXPECT_EQ(EntryFor(setup, "[InstallDir]\\setup\\prepare.exe").letter, 'L');
        EXPECT_EQ(EntryFor(setup, "[Windows Directory]\\Vesk-UnInstall.exe").letter, 'U');
    }
}

TEST(LzmaSetupTest, MethodComesFromTheOptionElseTheProject) {
    struct Case {
        const char* name;
        const char* compressType;  // nullptr: no field
        const char* option;
        const char* written;  // CompressType in the built project; "" none; nullptr: refused
    };
    const Case cases[] = {
        {"neither", nullptr, "", ""},
        {"option lzss", nullptr, "lzss", ""},
        {"option lzma", nullptr, "lzma", "LZMA"},
        {"project LZMA", "LZMA", "", "LZMA"},
        {"project lzma in small letters", "lzma", "", "LZMA"},
        {"project LZMA, option lzss", "LZMA", "lzss", "LZSS"},
        {"project LZSS", "LZSS", "", "LZSS"},
        {"unknown option", nullptr, "zip", nullptr},
        {"unknown project value", "LZ77", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/a.txt", FixtureBytes(3000, 1, true));
        kit.WriteProject("", c.compressType ? "<CompressType>" + std::string(c.compressType) +
                                                  "</CompressType>\n"
                                            : "");
        BuildOptions options = kit.Options();
        options.compression = c.option;
        SetupBuilder builder;
        const bool built = builder.Build(options);
        if (!c.written) {
            EXPECT_FALSE(built);
            const std::string named = c.compressType ? c.compressType : c.option;
            EXPECT_NE(builder.LastError().find("\"" + named + "\""), std::string::npos)
                << builder.LastError();
            continue;
        }
        ASSERT_TRUE(built) << builder.LastError();
        EXPECT_EQ(
            builder.Project().GetValue("2401", SubTaskType::GetAllVar, FieldKind::CompressType),
            c.written);
        SetupInspector setup;
        ASSERT_TRUE(setup.Open(kit.Path("out/Setup.exe"))) << setup.LastError();
        std::string body;
        ASSERT_TRUE(setup.ReadBody(EntryFor(setup, "[InstallDir]\\a.txt"), body));
        EXPECT_EQ(body, ReadWholeFile(kit.Path("product/a.txt")));
    }
}

// A project without CompressType, built without --compression, gives what the builder gave before
// the method could be chosen: no new field, and every compressed body the LZSS encoder's stream of
// its file (the bytes of a set from before were checked against this build by hand, identical).
TEST(LzmaSetupTest, TheDefaultBuildIsTheLzssBuildOfBefore) {
    BuildTestKit kit;
    WriteProduct(kit);
    BuildOptions options = LzmaOptions(kit, "default");
    options.compression.clear();
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    const std::string setBytes = test::SetBytes(builder.Summary());
    EXPECT_EQ(builder.Project().ToText().find("CompressType"), std::string::npos);

    options.outputDir = kit.Path("lzss");
    options.compression = "lzss";
    SetupBuilder explicitLzss;
    ASSERT_TRUE(explicitLzss.Build(options)) << explicitLzss.LastError();
    EXPECT_EQ(test::SetBytes(explicitLzss.Summary()), setBytes);

    SetupInspector setup;
    ASSERT_TRUE(setup.Open(kit.Path("default/Setup.exe"))) << setup.LastError();
    EXPECT_EQ(setup.Reader().Method(), BodyMethod::Lzss);
    const std::map<std::string, std::string> expected = ExpectedContents(kit);
    for (const FileEntry& entry : setup.Entries()) {
        SCOPED_TRACE(entry.rawPath);
        const std::string& content = expected.at(entry.rawPath);
        const std::string stored = setBytes.substr(std::size_t(entry.offset), entry.size);
        if (entry.IsRaw()) {
            EXPECT_EQ(stored, content);
            continue;
        }
        std::vector<std::uint8_t> lzss;
        LzssEncode(reinterpret_cast<const std::uint8_t*>(content.data()), content.size(), lzss);
        EXPECT_EQ(stored, std::string(lzss.begin(), lzss.end()));
    }
}

}  // namespace
}  // namespace vesk
