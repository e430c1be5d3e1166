// Registry data files applied to an in-memory registry: the line forms, where values land and
// which lines write nothing.
#include <gtest/gtest.h>

#include <vector>

#include "install/RegistryDataFile.h"
#include "support/MemoryRegistry.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::MemoryRegistry;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

struct Expected {
    std::string key;  // below HKEY_CURRENT_USER
    std::string name;
    const char* data;  // without the NUL; nullptr: the value is absent
};

TEST(RegistryDataFileTest, AppliesKeyAndValueLinesAsWritten) {
    const std::string longData(100000, 'd');  // past the read block, far past 479 bytes
    const std::string tooLong(kLongestRegistryDataLine, 'x');
    static const char kNulLine[] = "\"N\"=\"a\0b\"\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"backslashes are data",
         "[HKEY_CURRENT_USER\\Soft\\Vesk]\r\n\"Path\"=\"C:\\Program Files\\n\\t\"\r\n",
         {{"Soft\\Vesk", "Path", "C:\\Program Files\\n\\t"}}},
        {"empty lines, default value, quotes inside the data",
         "\r\n[HKEY_CURRENT_USER\\K]\r\n\r\n\"\"=\"say \"hi\"\"\r\n\"E\"=\"\"\r\n",
         {{"K", "", "say \"hi\""}, {"K", "E", ""}}},
        {"values before the first key write nothing",
         "\"A\"=\"1\"\r\n[HKEY_CURRENT_USER\\K]\r\n\"B\"=\"2\"\r\n",
         {{"K", "A", nullptr}, {"K", "B", "2"}}},
        {"a last line without a line break is not applied",
         "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"1\"\r\n\"B\"=\"2\"",
         {{"K", "A", "1"}, {"K", "B", nullptr}}},
        {"LF alone ends a line too", "[HKEY_CURRENT_USER\\K]\n\"A\"=\"1\"\n", {{"K", "A", "1"}}},
        {"a long line is applied whole",
         "[HKEY_CURRENT_USER\\K]\r\n\"Long\"=\"" + longData + "\"\r\n",
         {{"K", "Long", longData.c_str()}}},
        {"a key line naming no key stops the values",
         "[HKEY_CURRENT_USER\\K]\r\n[hkey_current_user\\L]\r\n\"A\"=\"1\"\r\n"
         "[HKEY_CURRENT_USER\\MM\r\n\"B\"=\"2\"\r\n[HKEY_CURRENT_USER]\r\n\"C\"=\"3\"\r\n",
         {{"K", "A", nullptr}, {"K", "B", nullptr}, {"K", "C", nullptr}}},
        {"lines of another form write nothing",
         "[HKEY_CURRENT_USER\\K]\r\nA=1\r\n\"A\"=1\r\n\"A\"=\"1\r\n\"A\"\"1\"\r\n\"A\r\n" +
             std::string(kNulLine, sizeof kNulLine - 1) + "\"B\"=\"2\"\r\n",
         {{"K", "A", nullptr}, {"K", "N", nullptr}, {"K", "B", "2"}}},
        {"a line beyond the longest is passed over",
         "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"" + tooLong + "\"\r\n\"B\"=\"2\"\r\n",
         {{"K", "A", nullptr}, {"K", "B", "2"}}},
        {"a key line beyond the longest leaves no key",
         "[HKEY_CURRENT_USER\\K]\r\n[HKEY_CURRENT_USER\\" + tooLong + "]\r\n\"B\"=\"2\"\r\n",
         {{"K", "B", nullptr}}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        ASSERT_TRUE(test::WriteWholeFile(dir / "data.reg", c.bytes));
        MemoryRegistry registry;
        ApplyRegistryDataFile(registry, dir / "data.reg");
        for (const Expected& e : c.expected) {
            std::optional<RegistryValue> value = registry.Value(kUser, e.key, e.name);
            if (!e.data) {
                EXPECT_FALSE(value) << c.name << ": " << e.name;
                continue;
            }
            ASSERT_TRUE(value) << c.name << ": " << e.name;
            EXPECT_EQ(value->type, kRegistryString) << c.name;
            EXPECT_EQ(value->data, std::string(e.data) + '\0') << c.name << ": " << e.name;
        }
        EXPECT_FALSE(registry.HasKey(kUser, "L")) << c.name;
        EXPECT_FALSE(registry.HasKey(kUser, "M")) << c.name;
        EXPECT_EQ(registry.OpenHandles(), 0) << c.name;
    }
}

TEST(RegistryDataFileTest, AMissingFileChangesNothing) {
    test::TempDir dir;
    MemoryRegistry registry;
    ApplyRegistryDataFile(registry, dir / "absent.reg");
    EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace vesk
