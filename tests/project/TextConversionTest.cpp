// UTF-8 and UTF-16 conversions, and stored code pages decoded to UTF-8: the same tables run
// natively (iconv) and under Wine (the system's converter).
#include <gtest/gtest.h>

#include "platform/AnsiText.h"
#include "platform/TextDecoding.h"
#include "platform/Utf8.h"

namespace vesk {
namespace {

const std::string kStandIn = "\xEF\xBF\xBD";

TEST(Utf8Test, ConvertsToUtf16AndBackReplacingWhatFormsNoCharacter) {
    const struct {
        std::string utf8;
        std::u16string utf16;
        std::string back;  // the UTF-8 the UTF-16 converts back to
    } cases[] = {
        {"", u"", ""},
        {"Setup", u"Setup", "Setup"},
        {"Hafenstra\xC3\x9F\x65 \xC2\xA9", u"Hafenstra\u00DFe \u00A9",
         "Hafenstra\xC3\x9F\x65 \xC2\xA9"},
        {"\xCE\xA9\xE4\xB8\xAD", u"\u03A9\u4E2D", "\xCE\xA9\xE4\xB8\xAD"},
        {"\xF0\x9F\x98\x80", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        // a lead byte without its continuation, a stray continuation, an overlong slash
        {"a\xC3", u"a\uFFFD", "a" + kStandIn},
        {"\x80z", u"\uFFFDz", kStandIn + "z"},
        {"\xC0\xAF", u"\uFFFD\uFFFD", kStandIn + kStandIn},
        // an encoded surrogate and a value beyond U+10FFFF
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", kStandIn + kStandIn + kStandIn},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD",
         kStandIn + kStandIn + kStandIn + kStandIn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.back);
        EXPECT_EQ(SanitizeUtf8(c.utf8), c.back);
        EXPECT_EQ(IsUtf8(c.utf8), c.utf8 == c.back);
    }
}

TEST(Utf8Test, ReplacesUnpairedSurrogatesOfUtf16) {
    const struct {
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {u"\xD800", kStandIn},
        {std::u16string(1, char16_t(0xDC00)) + u"x", kStandIn + "x"},
        {std::u16string(1, char16_t(0xD83D)) + u"x", kStandIn + "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
}

TEST(TextDecodingTest, DecodesStoredCodePagesToUtf8) {
    const struct {
        unsigned codePage;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {kAnsiCodePage, "Setup", "Setup"},
        {kGb2312CodePage, "\xD6\xD0\xCE\xC4 Setup", "\xE4\xB8\xAD\xE6\x96\x87 Setup"},
        {kGb2312CodePage, "\xB0\xB2\xD7\xB0\xA1\xA3", "\xE5\xAE\x89\xE8\xA3\x85\xE3\x80\x82"},
        {kBig5CodePage, "\xA4\xA4\xA4\xE5", "\xE4\xB8\xAD\xE6\x96\x87"},
        {kBig5CodePage, "\xA6\x77\xB8\xCB", "\xE5\xAE\x89\xE8\xA3\x9D"},
        {kUtf8CodePage, "\xC3\x86r\xC3\xB8", "\xC3\x86r\xC3\xB8"},
        {kUtf8CodePage, "\xC3\x86r\xF8", "\xC3\x86r" + kStandIn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(DecodeToUtf8(c.bytes, c.codePage), c.utf8);
    }
}

TEST(TextDecodingTest, DecodesWesternAnsiTexts) {
    if (AnsiEncoder()(0x20AC) != "\x80") GTEST_SKIP() << "the system's code page is not 1252";
    EXPECT_EQ(DecodeToUtf8("Hafenstra\xDF\x65 \xA9 \x80", kAnsiCodePage),
              "Hafenstra\xC3\x9F\x65 \xC2\xA9 \xE2\x82\xAC");
}

TEST(TextDecodingTest, BytesThatFormNoCharacterGiveWellFormedUtf8) {
    const struct {
        unsigned codePage;
        std::string bytes;
    } cases[] = {
        {kGb2312CodePage, "\xD6"},
        {kGb2312CodePage,
         "a\xFF\xFF"
         "b"},
        {kBig5CodePage, "\xA4"},
        {kBig5CodePage, "\x80\x80\x80"},
        {kAnsiCodePage, std::string("\x81\x00\x8D", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::string utf8 = DecodeToUtf8(c.bytes, c.codePage);
        EXPECT_TRUE(IsUtf8(utf8));
        EXPECT_FALSE(utf8.empty());
    }
}

}  // namespace
}  // namespace vesk
