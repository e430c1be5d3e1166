// Registry data files read both ways: what the builder's check accepts the install applies in
// full, and a line the install would pass over is refused by the builder with that line.
#include <gtest/gtest.h>

#include <vector>

#include "install/RegistryDataFile.h"
#include "project/RegistryDataGrammar.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::MemoryRegistry;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

struct Expected {
    std::string key;  // below HKEY_CURRENT_USER, "" for the root itself
    std::string name;
    const char* data;  // nullptr: the install writes no such value
};

TEST(RegistryDataAgreementTest, TheBuilderAcceptsWhatTheInstallApplies) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t refusedLine;  // the builder's first problem; 0: accepted
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"a key and its values",
         "[HKEY_CURRENT_USER\\Soft\\Vesk]\r\n\"Path\"=\"C:\\x\"\r\n\"\"=\"d\"\r\n",
         0,
         {{"Soft\\Vesk", "Path", "C:\\x"}, {"Soft\\Vesk", "", "d"}}},
        {"empty levels are dropped",
         "[HKEY_CURRENT_USER\\K\\\\L\\]\r\n\"A\"=\"1\"\r\n",
         0,
         {{"K\\L", "A", "1"}}},
        // The root alone names no key: its values would be lost, so the builder refuses it.
        {"a root alone", "[HKEY_CURRENT_USER]\r\n\"A\"=\"1\"\r\n", 1, {{"", "A", nullptr}}},
        {"a root and a backslash",
         "[HKEY_CURRENT_USER\\]\r\n\"A\"=\"1\"\r\n",
         1,
         {{"", "A", nullptr}}},
        {"a root in lower case",
         "[hkey_current_user\\K]\r\n\"A\"=\"1\"\r\n",
         1,
         {{"K", "A", nullptr}}},
        {"a key after a lost one",
         "[HKEY_CURRENT_USER\\K]\r\n[HKEY_CURRENT_USER]\r\n\"A\"=\"1\"\r\n",
         2,
         {{"K", "A", nullptr}, {"", "A", nullptr}}},
        {"a value before any key",
         "\"A\"=\"1\"\r\n[HKEY_CURRENT_USER\\K]\r\n",
         1,
         {{"K", "A", nullptr}}},
        {"a last line without its line end",
         "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"1\"",
         2,
         {{"K", "A", nullptr}}},
        {"a value of another form",
         "[HKEY_CURRENT_USER\\K]\r\n\"A\"=1\r\n",
         2,
         {{"K", "A", nullptr}}},
        {"the default value written @=",
         "[HKEY_CURRENT_USER\\K]\r\n@=\"d\"\r\n@=1\r\n",
         3,
         {{"K", "", "d"}}},
        {"path tokens in the data",
         "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"\"[InstallDir]\\a.exe\" \"%1\"\"\r\n\"B\"=\"[[x]\"\r\n",
         0,
         {{"K", "A", "\"C:\\App\\a.exe\" \"%1\""}, {"K", "B", "[x]"}}},
        // What is no token is written as it stands; the builder asks for "[[".
        {"a bracket that is no token",
         "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"[x]\"\r\n",
         2,
         {{"K", "A", "[x]"}}},
        // Stricter than the install: it takes LF alone, the builder asks for CR LF.
        {"LF alone", "[HKEY_CURRENT_USER\\K]\n\"A\"=\"1\"\n", 1, {{"K", "A", "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<RegistryDataProblem> problems = CheckRegistryData(c.bytes);
        if (c.refusedLine == 0) {
            EXPECT_TRUE(problems.empty()) << problems.front().message;
        } else {
            ASSERT_FALSE(problems.empty());
            EXPECT_EQ(problems.front().line, c.refusedLine) << problems.front().message;
        }
        test::TempDir dir;
        ASSERT_TRUE(test::WriteWholeFile(dir / "data.reg", c.bytes));
        MemoryRegistry registry;
        const test::FakeSystemFacts facts;
        const PathResolver paths(facts, registry, "C:\\App");
        ApplyRegistryDataFile(registry, dir / "data.reg", &paths);
        for (const Expected& e : c.expected) {
            std::optional<std::string> value = registry.StringValue(kUser, e.key, e.name);
            if (e.data) {
                EXPECT_EQ(value, std::optional<std::string>(e.data)) << e.name;
            } else {
                EXPECT_FALSE(value) << e.name;
            }
        }
        EXPECT_EQ(registry.OpenHandles(), 0);
    }
}

}  // namespace
}  // namespace vesk
