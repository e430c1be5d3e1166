// The builder's small rules: sizes, wildcards, target names, registry data files, mark times.
#include <gtest/gtest.h>

#include "FileKindRules.h"
#include "RegistryDataCheck.h"
#include "SizeOption.h"
#include "TargetPaths.h"
#include "install/RegistryDataFile.h"

namespace vesk {
namespace {

TEST(BuilderRulesTest, SizeOptions) {
    struct Case {
        const char* text;
        std::int32_t bytes;  // 0: refused
        const char* error;   // part of the message when refused
    };
    const Case cases[] = {
        {"1474560", 1474560, nullptr},
        {"1440K", 1474560, nullptr},
        {"1440kb", 1474560, nullptr},
        {"650M", 681574400, nullptr},
        {"1G", 1073741824, nullptr},
        {"2147483647", 2147483647, nullptr},
        {"2147483648", 0, "larger than"},
        {"2G", 0, "larger than"},
        {"99999999999999999999", 0, "larger than"},
        {"0", 0, "at least one byte"},
        {"0K", 0, "at least one byte"},
        {"", 0, "not a size"},
        {"K", 0, "not a size"},
        {"-5", 0, "not a size"},
        {"1.5M", 0, "unknown unit"},
        {"12X", 0, "unknown unit"},
        {"12 K", 0, "unknown unit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t bytes = 0;
        std::string error;
        bool ok = ParseSizeOption(c.text, bytes, error);
        EXPECT_EQ(ok, c.bytes != 0) << error;
        if (ok) {
            EXPECT_EQ(bytes, c.bytes);
        }
        if (!ok) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

TEST(BuilderRulesTest, Wildcards) {
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    };
    const Case cases[] = {
        {"*.zip", "archive.zip", true},
        {"*.zip", "ARCHIVE.ZIP", true},
        {"*.zip", "archive.zipx", false},
        {"*.zip", ".zip", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"*a*b*", "xxaxxbxx", true},
        {"*a*b*", "xxbxxaxx", false},
        {"[InstallDir]\\media\\*", "[installdir]\\Media\\x\\y.bmp", true},
        {"[InstallDir]\\media\\*", "[InstallDir]\\docs\\y.bmp", false},
        {"data*.bin", "data.bin", true},
        {"data*.bin", "data-1.bin.bak", false},
        {"*", "*x", true},  // a '*' in the text does not use up the pattern's
        {"a*", "a*bc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.text);
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match);
    }
}

TEST(BuilderRulesTest, TargetNames) {
    struct Case {
        std::string name;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {"readme.txt", nullptr},
        {"a,b c.txt", nullptr},
        {"x>y", "not allowed"},
        {"a<b.txt", "'<'"},
        {"line\nbreak", "line break"},
        {"cr\rhere", "line break"},
        {std::string("tab\there"), "control character"},
        {"what?", "not allowed"},
        {"a:b", "not allowed"},
        {"back\\slash", "not allowed"},
        {"trailing.", "trailing dot"},
        {"trailing ", "trailing dot"},
        {"con", "device"},
        {"Lpt1.txt", "device"},
        {"console.txt", nullptr},
        {"", "empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string why;
        bool ok = CheckTargetName(c.name, why);
        EXPECT_EQ(ok, c.refusal == nullptr) << why;
        if (c.refusal) {
            EXPECT_NE(why.find(c.refusal), std::string::npos) << why;
        }
    }
    EXPECT_EQ(JoinTarget("[InstallDir]", "a\\b.txt"), "[InstallDir]\\a\\b.txt");
    EXPECT_EQ(JoinTarget("[Absolute Directory]C:\\", "x"), "[Absolute Directory]C:\\x");
}

TEST(BuilderRulesTest, RegistryDataFiles) {
    struct Case {
        std::string bytes;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {"", nullptr},
        {"\r\n[HKEY_CURRENT_USER\\Software\\Vesk]\r\n\"Name\"=\"C:\\Path\"\r\n\r\n", nullptr},
        {"[HKEY_LOCAL_MACHINE\\A]\r\n\"\"=\"default value\"\r\n[HKEY_USERS]\r\n", nullptr},
        {"[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"", "line 2 has no CR LF"},
        {"[HKEY_CURRENT_USER\\A]\n\"x\"=\"y\"\n", "line 1 ends with LF alone"},
        {"REGEDIT4\r\n", "line 1 is neither"},
        {"[HKEY_NOWHERE\\A]\r\n", "line 1 is no key line"},
        {"[HKEY_CURRENT_USERS\\A]\r\n", "line 1 is no key line"},
        {"\"x\"=\"y\"\r\n", "before any [key]"},
        {"[HKEY_CLASSES_ROOT\\A]\r\nx=y\r\n", "line 2 is neither"},
        {"[HKEY_CLASSES_ROOT\\A]\r\n\"x\"=y\r\n", "line 2 is neither"},
        {"[HKEY_CLASSES_ROOT\\A]\r\n\"x\"=\"" + std::string(kLongestRegistryDataLine - 5, 'd') +
             "\"\r\n",
         "longer than"},
        {"[HKEY_CLASSES_ROOT\\A]\r\n\"x\"=\"" + std::string(kLongestRegistryDataLine - 6, 'd') +
             "\"\r\n",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 60));
        std::string error;
        bool ok = CheckRegistryDataFile(c.bytes, error);
        EXPECT_EQ(ok, c.refusal == nullptr) << error;
        if (c.refusal) {
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
        }
    }
}

TEST(BuilderRulesTest, MarkTimes) {
    struct Case {
        const char* text;
        const char* canonical;  // nullptr: refused
    };
    const Case cases[] = {
        {"2004-3-5 14:3:7", "2004-3-5 14:3:7"},
        {"2004-03-05 14:03:07", "2004-3-5 14:3:7"},
        {"2003-7-28 20:34:2", "2003-7-28 20:34:2"},
        {"2004-13-5 14:3:7", nullptr},
        {"2004-3-5 24:0:0", nullptr},
        {"2004-3-5", nullptr},
        {"2004-3-5 14:3:7 ", nullptr},
        {"2004/3/5 14:3:7", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string canonical;
        EXPECT_EQ(ReadMarkTime(c.text, canonical), c.canonical != nullptr);
        if (c.canonical) {
            EXPECT_EQ(canonical, c.canonical);
        }
    }
}

}  // namespace
}  // namespace vesk
