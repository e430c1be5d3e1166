// Fonts: the name Windows lists a font under, read from real and made-up font files, and what
// AddFont adds, registers and announces.
#include <gtest/gtest.h>

#include <vector>

#include "install/FontRegistryName.h"
#include "install/Fonts.h"
#include "support/RecordingFonts.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

const std::string kDemoFont =
    std::string(VESK_SOURCE_DIR) + "/examples/demo/fonts/DejaVuSansMono.ttf";

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kOtto = 0x4F54544F;

std::string Be16(std::uint32_t n) {
    return {char(n >> 8 & 0xFF), char(n & 0xFF)};
}
std::string Be32(std::uint32_t n) {
    return Be16(n >> 16) + Be16(n & 0xFFFF);
}
std::string Utf16(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) bytes += Be16(unit);
    return bytes;
}

struct Name {
    std::uint16_t platform, encoding, language, id;
    std::string bytes;
};
Name Win(std::uint16_t id, const std::u16string& text, std::uint16_t language = 0x0409) {
    return {3, 1, language, id, Utf16(text)};
}

std::string NameTable(const std::vector<Name>& names) {
    std::string records, strings;
    for (const Name& n : names) {
        records += Be16(n.platform) + Be16(n.encoding) + Be16(n.language) + Be16(n.id) +
                   Be16(std::uint32_t(n.bytes.size())) + Be16(std::uint32_t(strings.size()));
        strings += n.bytes;
    }
    return Be16(0) + Be16(std::uint32_t(names.size())) + Be16(std::uint32_t(6 + records.size())) +
           records + strings;
}

// A font with one table at file offset `at` (collections place fonts behind their header).
std::string Font(std::uint32_t version, const std::string& table, std::uint32_t at = 0,
                 const char* tag = "name") {
    constexpr std::uint32_t kHeaderAndOneRecord = 12 + 16;
    return Be32(version) + Be16(1) + Be16(0) + Be16(0) + Be16(0) + tag + Be32(0) +
           Be32(at + kHeaderAndOneRecord) + Be32(std::uint32_t(table.size())) + table;
}

std::string Collection(const std::vector<std::string>& tables) {
    std::uint32_t at = 12 + 4 * std::uint32_t(tables.size());
    std::string offsets, fonts;
    for (const std::string& table : tables) {
        offsets += Be32(at);
        std::string font = Font(kTrueType, table, at);
        at += std::uint32_t(font.size());
        fonts += font;
    }
    return "ttcf" + Be32(0x00010000) + Be32(std::uint32_t(tables.size())) + offsets + fonts;
}

// ASCII and Latin-1 as single bytes, nothing else: the same on every build.
std::string Latin1(std::uint32_t codePoint) {
    return codePoint < 0x100 ? std::string(1, char(codePoint)) : std::string();
}

std::string NameOf(const std::string& file) {
    return FontRegistryName(
        [&file](std::uint64_t offset, std::size_t size, std::string& bytes) {
            if (offset > file.size() || size > file.size() - offset) return false;
            bytes = file.substr(std::size_t(offset), size);
            return true;
        },
        Latin1);
}

TEST(FontsTest, NamesFontsAsWindowsListsThem) {
    const std::string demo = test::ReadWholeFile(kDemoFont);
    ASSERT_GT(demo.size(), 300000u);
    const Name mac{1, 0, 0, 1, "Mac"};
    const Name unicode{0, 3, 0, 1, Utf16(u"Uni")};
    std::string beyond = NameTable({Win(1, u"Far")});
    beyond[6 + 8] = char(0x7F);  // the string's length now runs past the table
    struct Case {
        const char* name;
        std::string file;
        std::string expected;
    };
    const Case cases[] = {
        {"demo font", demo, "DejaVu Sans Mono (TrueType)"},
        {"full name first",
         Font(kTrueType, NameTable({Win(1, u"Vesk"), Win(2, u"Book"), Win(4, u"Vesk Book Face")})),
         "Vesk Book Face (TrueType)"},
        {"family and style without a full name",
         Font(kTrueType, NameTable({Win(1, u"Vesk Sans"), Win(2, u"Bold Italic")})),
         "Vesk Sans Bold Italic (TrueType)"},
        {"regular adds nothing", Font(kTrueType, NameTable({Win(2, u"Regular"), Win(1, u"Vesk")})),
         "Vesk (TrueType)"},
        {"PostScript outlines", Font(kOtto, NameTable({Win(1, u"Vesk")})), "Vesk (OpenType)"},
        {"US English Windows records first",
         Font(kTrueType, NameTable({mac, Win(1, u"Deutsch", 0x0407), unicode, Win(1, u"English")})),
         "English (TrueType)"},
        {"then other Windows records",
         Font(kTrueType, NameTable({mac, Win(1, u"Deutsch", 0x0407)})), "Deutsch (TrueType)"},
        {"Macintosh records last", Font(kTrueType, NameTable({mac})), "Mac (TrueType)"},
        {"characters the code page lacks",
         Font(kTrueType, NameTable({Win(1, u"Caf\u00e9 \u5b8b\u0001")})), "Caf\xE9 ?? (TrueType)"},
        {"collection",
         Collection({NameTable({Win(1, u"A")}), NameTable({Win(1, u"A"), Win(2, u"Bold")})}),
         "A & A Bold (TrueType)"},
        {"string beyond the table", Font(kTrueType, beyond), ""},
        {"no name table", Font(kTrueType, NameTable({Win(1, u"Vesk")}), 0, "head"), ""},
        {"no family", Font(kTrueType, NameTable({Win(2, u"Bold")})), ""},
        {"name longer than the registry takes",
         Font(kTrueType, NameTable({Win(1, std::u16string(17000, u'a'))})), ""},
        {"cut short", demo.substr(0, 300000), ""},
        {"no font", "hello, world", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NameOf(c.file), c.expected) << c.name;
    EXPECT_EQ(FontRegistryNameOfFile(kDemoFont), "DejaVu Sans Mono (TrueType)");
}

TEST(FontsTest, AddsRegistersAndAnnouncesFontsTheSystemTakes) {
    struct Case {
        std::string path;
        std::string fontsFolder;
        int fontsPerFile;
        std::map<std::string, std::string> registered;
    };
    const Case cases[] = {
        {kDemoFont, "C:\\WINDOWS\\Fonts", 1, {{"DejaVu Sans Mono (TrueType)", kDemoFont}}},
        // Files that name no font are listed under their own name.
        {"C:\\WINDOWS\\Fonts\\Vesk.ttf", "C:\\WINDOWS\\Fonts", 1, {{"Vesk", "Vesk.ttf"}}},
        {"c:\\windows\\fonts\\Vesk.TTF", "C:\\WINDOWS\\Fonts\\", 2, {{"Vesk", "Vesk.TTF"}}},
        {"D:\\Apps\\Fonts\\Vesk.ttf",
         "C:\\WINDOWS\\Fonts",
         1,
         {{"Vesk", "D:\\Apps\\Fonts\\Vesk.ttf"}}},
        {"C:\\WINDOWS\\Fonts\\Sub\\Vesk.fon",
         "C:\\WINDOWS\\Fonts",
         1,
         {{"Vesk", "C:\\WINDOWS\\Fonts\\Sub\\Vesk.fon"}}},
        {"C:\\WINDOWS\\Fonts\\Broken.ttf", "C:\\WINDOWS\\Fonts", 0, {}},
    };
    for (const Case& c : cases) {
        test::RecordingFonts fonts;
        fonts.fontsFolder = c.fontsFolder;
        fonts.fontsPerFile = c.fontsPerFile;
        AddFont(fonts, c.path);
        EXPECT_EQ(fonts.added, std::vector<std::string>{c.path}) << c.path;
        EXPECT_EQ(fonts.registered, c.registered) << c.path;
        EXPECT_EQ(fonts.announcements, c.registered.empty() ? 0 : 1) << c.path;
    }
}

}  // namespace
}  // namespace vesk
