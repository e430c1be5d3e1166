// Upper-casing names without touching double-byte characters.
#include <gtest/gtest.h>

#include "project/NameCase.h"

namespace vesk {
namespace {

TEST(NameCaseTest, UpperCasesAsciiAndKeepsDoubleByteCharacters) {
    struct Case {
        std::string text;
        DoubleByteRules rules;
        std::string upper;
    };
    const Case cases[] = {
        {"DataSetting", DoubleByteRules::None, "DATASETTING"},
        {"<task", DoubleByteRules::SimplifiedChinese, "<TASK"},
        // GBK: 0x81 0x61 is one character whose trail byte is 'a'; it must stay as it is.
        {"\x81" "a" "b", DoubleByteRules::SimplifiedChinese, "\x81" "a" "B"},
        {"\x81" "a" "b", DoubleByteRules::None, "\x81" "A" "B"},
        // Shift-JIS: 0xA1 is a single-byte katakana, not a lead byte.
        {"\xA1" "a", DoubleByteRules::Japanese, "\xA1" "A"},
        {"\x90" "a", DoubleByteRules::Japanese, "\x90" "a"},
        // A lead byte at the very end has no trail byte to protect.
        {"x\xB0", DoubleByteRules::SimplifiedChinese, "X\xB0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(UpperName(c.text, c.rules), c.upper);
    }
}

TEST(NameCaseTest, SameNameIgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SameName("[program files]", "[Program Files]"));
    EXPECT_TRUE(SameName("hkey_local_machine", "HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(SameName("HKLM", "HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(SameName("Start Menu ", "Start Menu"));
}

}  // namespace
}  // namespace vesk
