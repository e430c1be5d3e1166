// The product's icon and version information in the built Setup.exe, read back by the tests' own
// PE reader: the stub's resources stay, its code stays where it was, the headers add up.
#include <gtest/gtest.h>

#include <filesystem>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "builder/pe/VersionResource.h"
#include "support/PeProbe.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::BuildTestKit;
using test::ProbedImage;
using test::ProbePe;
using test::ReadWholeFile;

const std::string kProperties =
    "<CompanyDesc>Vesk Works</CompanyDesc>\n<ProductVersion>2.5.1 beta</ProductVersion>\n";

// The raw bytes of a section of `image` read from `file`.
std::string SectionBytes(const std::string& file, const ProbedImage& image,
                         const std::string& name) {
    for (const auto& s : image.sections) {
        if (s.name == name) return file.substr(s.rawOffset, s.virtualSize);
    }
    return "(no section " + name + ")";
}

TEST(StubBrandingTest, SetupCarriesTheProductsIconAndVersionBesideTheStubsResources) {
    struct Case {
        const char* name;
        bool resources, resourcesLast, icon;
        std::optional<std::int64_t> epoch;
    };
    const Case cases[] = {
        {"resources before .reloc, icon", true, false, true, std::nullopt},
        {"resources before .reloc, no icon", true, false, false, 1700000000},
        {"resources last, icon", true, true, true, 1700000000},
        {"no resources, icon", false, false, true, std::nullopt},
    };
    const std::string icon = test::MakeIconFile({{16, 0xFF0000FF}, {32, 0xFF00FF00}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        const std::string stub = test::MakeTestStub(c.resources, c.resourcesLast);
        const ProbedImage before = ProbePe(stub);
        ASSERT_EQ(before.problem, "");
        kit.Write("stub.exe", stub);
        kit.Write("art/app.ico", icon);
        kit.Write("product/a.txt", std::string(3000, 'a'));
        kit.WriteProject("",
                         kProperties + (c.icon ? "<AppFileIcon>art/app.ico</AppFileIcon>\n" : ""));
        BuildOptions options = kit.Options();
        options.sourceDateEpoch = c.epoch;
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(options)) << builder.LastError();
        EXPECT_TRUE(builder.Summary().warnings.empty());

        const std::string setup = ReadWholeFile(kit.Path("out/Setup.exe"));
        const ProbedImage image = ProbePe(setup);
        ASSERT_EQ(image.problem, "");
        EXPECT_EQ(image.checksum, image.computedChecksum);  // over the whole file, payload too
        EXPECT_EQ(image.timeStamp, c.epoch ? std::uint32_t(*c.epoch) : before.timeStamp);
        // Code and data stay byte for byte at their addresses.
        for (const char* name : {".text", ".reloc"}) {
            EXPECT_EQ(SectionBytes(setup, image, name), SectionBytes(stub, before, name)) << name;
        }
        // The stub's own resources stay.
        for (const auto& own : before.resources) {
            const auto* kept = image.Find(own.type, own.name);
            ASSERT_TRUE(kept) << own.type << "/" << own.name;
            EXPECT_EQ(kept->data, own.data);
        }
        // Version information.
        const auto* version = image.Find(16, 1);
        ASSERT_TRUE(version);
        std::array<std::uint16_t, 4> numbers{};
        auto strings = test::VersionStrings(version->data, numbers);
        EXPECT_EQ(strings[std::string("ProductName")], u"Test");
        EXPECT_EQ(strings[std::string("CompanyName")], u"Vesk Works");
        EXPECT_EQ(strings[std::string("ProductVersion")], u"2.5.1 beta");
        EXPECT_EQ(strings[std::string("FileVersion")], u"2.5.1 beta");
        EXPECT_EQ(strings[std::string("FileDescription")], u"Test Setup");
        EXPECT_EQ(numbers, (std::array<std::uint16_t, 4>{2, 5, 1, 0}));
        // The product's icon: group 1, the first group (the file's icon), its images intact.
        const auto* group = image.Find(14, 1);
        ASSERT_EQ(group != nullptr, c.icon);
        if (c.icon) {
            const test::ProbedResource* firstGroup = nullptr;
            for (const auto& r : image.resources) {
                if (r.type == 14 && !firstGroup) firstGroup = &r;
            }
            EXPECT_EQ(firstGroup, group);
            ASSERT_EQ(group->data.size(), 6u + 2 * 14);
            for (int i = 0; i < 2; ++i) {
                std::size_t entry = 6 + 14 * std::size_t(i);
                auto id = std::uint16_t(static_cast<unsigned char>(group->data[entry + 12]) |
                                        static_cast<unsigned char>(group->data[entry + 13]) << 8);
                const auto* picture = image.Find(3, id);
                ASSERT_TRUE(picture);
                std::size_t at = 6 + 16 * std::size_t(i) + 12;  // the image's offset in the file
                std::size_t offset = std::size_t(static_cast<unsigned char>(icon[at])) |
                                     std::size_t(static_cast<unsigned char>(icon[at + 1])) << 8;
                EXPECT_EQ(picture->data, icon.substr(offset, picture->data.size()));
            }
        }
        // The payload behind the image still reads.
        SetupInspector setupReader;
        EXPECT_TRUE(setupReader.Open(kit.Path("out/Setup.exe"))) << setupReader.LastError();
    }
}

TEST(StubBrandingTest, UnusableIconsAndStubsAreRefused) {
    struct Case {
        const char* name;
        std::string icon;  // the icon file's bytes; empty: none written
        std::string stub;
        const char* error;
    };
    std::string signedStub = test::MakeTestStub(true, false);
    signedStub[0x80 + 24 + 96 + 4 * 8 + 4] = 8;  // a certificate table
    std::string outside = test::MakeIconFile({{16, 1}});
    outside[6 + 12] = char(0xF0);  // the image's offset beyond the end
    const std::string good = test::MakeTestStub(true, false);
    std::string wideAligned = good;
    // FileAlignment 1 GiB (a power of two): a new section would be padded to that.
    wideAligned.replace(0x80 + 24 + 36, 4, std::string("\0\0\0\x40", 4));
    const Case cases[] = {
        {"missing icon", "", good,
         "AppFileIcon of task 2401 names \"app.ico\", which does not exist"},
        {"a bitmap", BuildTestKit::BitmapBytes(), good, "no icon file"},
        {"no images", std::string("\0\0\1\0\0\0", 6), good, "0 images"},
        {"image outside", outside, good, "image 1 of the icon file lies outside the file"},
        {"signed stub", test::MakeIconFile({{16, 1}}), signedStub, "the engine stub is signed"},
        {"a file alignment of 1 GiB", test::MakeIconFile({{16, 1}}), wideAligned,
         "file alignment passes 64 KiB"},
        {"stand-in stub", test::MakeIconFile({{16, 1}}), BuildTestKit::StubBytes(),
         "cannot be given to the engine stub: no PE image"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("stub.exe", c.stub);
        if (!c.icon.empty()) kit.Write("app.ico", c.icon);
        kit.Write("product/a.txt", "a");
        kit.WriteProject("", "<AppFileIcon>app.ico</AppFileIcon>\n");
        SetupBuilder builder;
        EXPECT_FALSE(builder.Build(kit.Options()));
        EXPECT_NE(builder.LastError().find(c.error), std::string::npos) << builder.LastError();
        EXPECT_FALSE(fs::exists(kit.Path("out")));
    }
}

TEST(StubBrandingTest, VersionTextsGiveTheirNumbersAndProjectTextBecomesUtf16) {
    struct Case {
        const char* text;
        std::array<std::uint16_t, 4> numbers;
    };
    const Case cases[] = {
        {"1.2.3.4", {1, 2, 3, 4}},     {"2.1", {2, 1, 0, 0}},       {"v3.0.7", {3, 0, 7, 0}},
        {"5.6 beta", {5, 6, 0, 0}},    {"", {0, 0, 0, 0}},          {"x1", {0, 0, 0, 0}},
        {"70000.1", {65535, 1, 0, 0}}, {"1.2.3.4.5", {1, 2, 3, 4}},
    };
    for (const Case& c : cases) EXPECT_EQ(VersionNumbers(c.text), c.numbers) << c.text;

    // GB2312 "安装" in ProjectName arrives as U+5B89 U+88C5.
    BuildTestKit kit;
    kit.Write("stub.exe", test::MakeTestStub(true, false));
    kit.Write("product/a.txt", "a");
    kit.WriteProject("", "");
    std::string project = ReadWholeFile(kit.Path("project.xml"));
    project.replace(project.find("<ProjectName>Test"), 17, "<ProjectName>\xB0\xB2\xD7\xB0");
    kit.Write("project.xml", project);
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
    const ProbedImage image = ProbePe(ReadWholeFile(kit.Path("out/Setup.exe")));
    const auto* version = image.Find(16, 1);
    ASSERT_TRUE(version);
    std::array<std::uint16_t, 4> numbers{};
    auto strings = test::VersionStrings(version->data, numbers);
    EXPECT_EQ(strings[std::string("ProductName")], u"\u5B89\u88C5");
    EXPECT_EQ(strings[std::string("FileDescription")], u"\u5B89\u88C5 Setup");
    EXPECT_TRUE(builder.Summary().warnings.empty());
}

}  // namespace
}  // namespace vesk
