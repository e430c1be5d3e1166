// The builder's small rules: sizes, wildcards, target names, registry data files, mark times.
#include <gtest/gtest.h>

#include <vector>

#include "builder/plan/FileKindRules.h"
#include "builder/plan/SizeOption.h"
#include "builder/plan/TargetPaths.h"
#include "project/RegistryDataGrammar.h"

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
        std::vector<std::string> problems;  // every one, in file order; empty: accepted
    };
    const std::string nul("\"x\"=\"a\0b\"\r\n", 11);
    const Case cases[] = {
        {"", {}},
        {"\r\n[HKEY_CURRENT_USER\\Software\\Vesk]\r\n\"Name\"=\"C:\\Path\"\r\n\r\n", {}},
        {"[HKEY_LOCAL_MACHINE\\A]\r\n\"\"=\"default value\"\r\n[HKEY_USERS\\B\\\\C]\r\n", {}},
        // A root alone takes no values: the install would drop those below it.
        {"[HKEY_USERS]\r\n\"x\"=\"y\"\r\n",
         {"line 1 names only the root HKEY_USERS, which takes no values from a data file: write "
          "[HKEY_USERS\\key]"}},
        {"[HKEY_LOCAL_MACHINE\\]\r\n[HKEY_CLASSES_ROOT\\\\\\]\r\n",
         {"line 1 names only the root HKEY_LOCAL_MACHINE", "line 2 names only the root"}},
        {"[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"y\"", {"line 2 has no CR LF"}},
        {"[HKEY_CURRENT_USER\\A]\n\"x\"=\"y\"\n",
         {"line 1 ends with LF alone", "line 2 ends with LF alone"}},
        {"REGEDIT4\r\n", {"line 1 is neither"}},
        {"[HKEY_NOWHERE\\A]\r\n", {"line 1 is no key line"}},
        {"[HKEY_CURRENT_USERS\\A]\r\n", {"line 1 is no key line"}},
        {"[hkey_current_user\\A]\r\n[HKEY_CURRENT_USER\\A\r\n",
         {"line 1 is no key line", "line 2 is no key line"}},
        {"\"x\"=\"y\"\r\n", {"line 1 sets a value before any [key]"}},
        // Values below a key line at fault are that line's problem alone.
        {"[HKLM\\A]\r\n\"x\"=\"y\"\r\n\"z\"=\"w\"\r\n", {"line 1 is no key line"}},
        {"[HKEY_CLASSES_ROOT\\A]\r\nx=y\r\n\"x\"=y\r\n" + nul,
         {"line 2 is neither", "line 3 is neither", "line 4 holds a NUL byte"}},
        {"[HKEY_CLASSES_ROOT\\A]\r\n\"x\"=\"" + std::string(kLongestRegistryDataLine - 5, 'd') +
             "\"\r\n",
         {"line 2 is longer than"}},
        {"[HKEY_CLASSES_ROOT\\A]\r\n\"x\"=\"" + std::string(kLongestRegistryDataLine - 6, 'd') +
             "\"\r\n",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 60));
        const std::vector<RegistryDataProblem> problems = CheckRegistryData(c.bytes);
        ASSERT_EQ(problems.size(), c.problems.size());
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_EQ(problems[i].message.rfind(c.problems[i], 0), 0u) << problems[i].message;
            EXPECT_EQ(
                problems[i].message.rfind("line " + std::to_string(problems[i].line) + " ", 0), 0u);
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
