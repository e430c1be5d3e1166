// Registry subtasks applied to an in-memory registry: writes, numbers, substitutes, deletions.
#include <gtest/gtest.h>

#include "install/RegistryItems.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::MemoryRegistry;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

SubTask Item(const std::string& root, const std::string& subKey, const std::string& name,
             const std::string& value, const std::string& type, const std::string& operation,
             const std::string& keyOnly) {
    SubTask subtask("10001", SubTaskType::Registry);
    subtask.Add(FieldKind::RegRootKey, root);
    subtask.Add(FieldKind::RegSubKey, subKey);
    subtask.Add(FieldKind::RegVarName, name);
    subtask.Add(FieldKind::RegVarValue, value);
    subtask.Add(FieldKind::RegDataType, type);
    subtask.Add(FieldKind::RegOperType, operation);
    subtask.Add(FieldKind::IsOnlyToKey, keyOnly);
    subtask.Add(FieldKind::IsToDelete, "1");
    return subtask;
}

std::string Data(const std::optional<RegistryValue>& value) {
    return value ? std::to_string(value->type) + ":" + value->data : "absent";
}

std::string Dword(std::uint32_t n) {
    return std::to_string(kRegistryDword) + ":" + std::string(reinterpret_cast<const char*>(&n), 4);
}

TEST(RegistryItemsTest, WritesStringsNumbersAndKeysAsTheSubtaskSays) {
    struct Case {
        const char* name;
        SubTask item;
        std::string substitute;
        RegistryRoot root;
        std::string expected;  // the value "V" of key "Soft\A", or "key" / "no key"
    };
    const std::string string = std::to_string(kRegistryString) + ":";
    const std::string expandable = std::to_string(kRegistryExpandString) + ":";
    const std::string app = "C:\\Program Files\\Vesk\\app.exe";
    const Case cases[] = {
        {"string", Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "1.2", "0", "0", "0"), "", kMachine,
         string + std::string("1.2\0", 4)},
        {"substitute wins", Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "x", "0", "0", "0"), "Ann",
         kMachine, string + std::string("Ann\0", 4)},
        {"tokens in a string",
         Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "\"[InstallDir]\\app.exe\" [[1]", "0", "0",
              "0"),
         "", kMachine, string + "\"" + app + "\" [1]" + '\0'},
        {"expandable string",
         Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "%SystemRoot%;[InstallDir]", "2", "0", "0"),
         "", kMachine, expandable + "%SystemRoot%;C:\\Program Files\\Vesk" + '\0'},
        {"the user's text is never expanded",
         Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "x", "0", "0", "0"), "[InstallDir]", kMachine,
         string + "[InstallDir]" + '\0'},
        {"number from leading digits",
         Item("hkey_current_user", "\\Soft\\A", "V", "42abc", "1", "0", "0"), "", kUser, Dword(42)},
        {"empty number", Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "", "1", "0", "0"), "",
         kMachine, Dword(0)},
        {"other type writes nothing",
         Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "1", "3", "0", "0"), "", kMachine, "absent"},
        {"key only", Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "1", "0", "0", "1"), "", kMachine,
         "absent"},
        {"other operation", Item("HKEY_LOCAL_MACHINE", "\\Soft\\A", "V", "1", "0", "7", "0"), "",
         kMachine, "absent"},
    };
    test::FakeSystemFacts facts;
    for (const Case& c : cases) {
        MemoryRegistry registry;
        RegistryKey key(registry);
        const PathResolver paths(facts, registry, "C:\\Program Files\\Vesk");
        ApplyRegistrySubtask(key, c.item, c.substitute, &paths);
        EXPECT_EQ(Data(registry.Value(c.root, "Soft\\A", "V")), c.expected) << c.name;
        const bool keyMade = std::string(c.name) != "other operation";
        EXPECT_EQ(registry.HasKey(c.root, "Soft\\A"), keyMade) << c.name;
    }
}

TEST(RegistryItemsTest, DeletesAValueOrTheKeyAndKeepsTheRootForTheNextSubtask) {
    MemoryRegistry registry;
    registry.PutString(kUser, "Soft\\A", "V", "1");
    registry.PutString(kUser, "Soft\\A", "W", "2");
    registry.PutString(kUser, "Soft\\B", "V", "3");
    RegistryKey key(registry);
    ApplyRegistrySubtask(key, Item("HKEY_CURRENT_USER", "\\Soft\\A", "V", "", "0", "1", "0"), "");
    EXPECT_FALSE(registry.Value(kUser, "Soft\\A", "V"));
    EXPECT_TRUE(registry.Value(kUser, "Soft\\A", "W"));
    // An unknown root keeps the one set before.
    ApplyRegistrySubtask(key, Item("HKLM", "\\Soft\\B", "", "", "0", "1", "1"), "");
    EXPECT_FALSE(registry.HasKey(kUser, "Soft\\B"));
    EXPECT_TRUE(registry.HasKey(kUser, "Soft\\A"));
}

}  // namespace
}  // namespace vesk
