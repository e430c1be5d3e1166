// The ANSI encoder: code page 1252 natively, the system's code page on Windows, and never a
// best-fit look-alike for a character the code page lacks.
#include <gtest/gtest.h>

#include "platform/AnsiText.h"

namespace vesk {
namespace {

TEST(AnsiEncoderTest, EncodesWesternTextAndRefusesWhatTheCodePageLacks) {
    const CodePointEncoder encode = AnsiEncoder();
    ASSERT_TRUE(encode);
    if (encode(0x20AC) != "\x80") {
        GTEST_SKIP() << "the system's code page is not 1252";
    }
    const struct {
        std::uint32_t codePoint;
        std::string bytes;
    } cases[] = {
        {'A', "A"},       {0xE9, "\xE9"},   {0xA0, "\xA0"}, {0x2014, "\x97"},
        {0x201C, "\x93"}, {0x0178, "\x9F"}, {0x0100, ""},   {0x4E2D, ""},
        {0x1F600, ""},    {0xD800, ""},     {0x110000, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePoint);
        EXPECT_EQ(encode(c.codePoint), c.bytes);
    }
}

}  // namespace
}  // namespace vesk
