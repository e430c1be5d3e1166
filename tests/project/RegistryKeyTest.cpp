// Registry access by root name and path, over the in-memory registry.
#include <gtest/gtest.h>

#include "project/RegistryKey.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::MemoryRegistry;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

TEST(RegistryKeyTest, RootNamesAreMatchedInAnyCaseButNeverAbbreviated) {
    struct Case {
        const char* name;
        bool known;
        RegistryRoot root;  // the root afterwards, starting from CurrentConfig
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE", true, kMachine},
        {"hkey_local_machine", true, kMachine},
        {"Hkey_Current_User", true, RegistryRoot::CurrentUser},
        {"HKEY_CLASSES_ROOT", true, RegistryRoot::ClassesRoot},
        {"HKEY_USERS", true, RegistryRoot::Users},
        {"HKLM", false, RegistryRoot::CurrentConfig},
        {"HKEY_LOCAL_MACHINE ", false, RegistryRoot::CurrentConfig},
        {"HKEY_PERFORMANCE_DATA", false, RegistryRoot::CurrentConfig},
        {"", false, RegistryRoot::CurrentConfig},
    };
    MemoryRegistry registry;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryKey key(registry, RegistryRoot::CurrentConfig);
        EXPECT_EQ(key.SetRootByName(c.name), c.known);
        EXPECT_EQ(key.Root(), c.root);
    }
    EXPECT_EQ(RegistryRootName(RegistryRoot::Users), "HKEY_USERS");
}

TEST(RegistryKeyTest, OpenWithCreationBuildsEveryMissingLevelAndHoldsTheDeepest) {
    MemoryRegistry registry;
    registry.AddKey(kMachine, "SOFTWARE");
    {
        RegistryKey key(registry, kMachine);
        ASSERT_TRUE(key.Open("\\SOFTWARE\\VeskSoft\\VeskInstall", true));
        EXPECT_EQ(registry.OpenHandles(), 1);  // walked levels are closed again
        EXPECT_TRUE(key.WriteString("Path", "C:\\App"));
        EXPECT_TRUE(key.WriteDword("Count", 0x01020304));
    }
    EXPECT_EQ(registry.OpenHandles(), 0);
    EXPECT_EQ(registry.StringValue(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", "Path"), "C:\\App");
    EXPECT_EQ(registry.Value(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", "Count")->data,
              std::string("\x04\x03\x02\x01", 4));
    EXPECT_FALSE(registry.Value(kMachine, "SOFTWARE\\VeskSoft", "Path"));
}

TEST(RegistryKeyTest, OpenWithoutCreationCreatesNothing) {
    MemoryRegistry registry;
    RegistryKey key(registry, kMachine);
    EXPECT_FALSE(key.Open("\\SOFTWARE\\Missing", false));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(registry.HasKey(kMachine, "SOFTWARE"));
    EXPECT_FALSE(key.WriteString("x", "y"));
    EXPECT_EQ(key.ReadString("x"), "");
}

TEST(RegistryKeyTest, OpenDropsTheFirstCharacterWhateverItIs) {
    MemoryRegistry registry;
    registry.PutString(kMachine, "SOFTWARE\\Vesk", "Name", "first");
    RegistryKey key(registry, kMachine);
    ASSERT_TRUE(key.Open("XSOFTWARE\\Vesk", false));
    EXPECT_EQ(key.ReadString("Name"), "first");
    EXPECT_FALSE(key.Open("SOFTWARE\\Vesk", false));  // opens OFTWARE\Vesk
}

TEST(RegistryKeyTest, ReadStringReturnsValuesOfAnyLengthUpToTheirFirstNul) {
    MemoryRegistry registry;
    const std::string longPath = "D:\\" + std::string(297, 'p');  // 300 characters
    const std::string veryLong(70000, 'v');
    registry.PutString(kMachine, "SOFTWARE\\Vesk", "Path", longPath);
    registry.PutString(kMachine, "SOFTWARE\\Vesk", "Huge", veryLong);
    RegistryKey key(registry, kMachine);
    ASSERT_TRUE(key.Open("\\SOFTWARE\\Vesk", false));
    EXPECT_EQ(key.ReadString("Path"), longPath);
    EXPECT_EQ(key.ReadString("Huge"), veryLong);
    ASSERT_TRUE(key.WriteDword("Number", 0x00004241));  // "AB" then NULs
    EXPECT_EQ(key.ReadString("Number"), "AB");
    EXPECT_EQ(key.ReadString("Absent"), "");
    ASSERT_TRUE(key.WriteString("Empty", ""));
    EXPECT_EQ(key.ReadString("Empty"), "");
}

TEST(RegistryKeyTest, KeyPathsLongerThanFiveHundredBytesArePassedWhole) {
    MemoryRegistry registry;
    std::string path;
    for (int level = 0; level < 40; ++level)
        path += "\\Level" + std::to_string(level) + "-abcdefghij";
    ASSERT_GT(path.size(), 600u);
    RegistryKey key(registry, RegistryRoot::CurrentUser);
    ASSERT_TRUE(key.Open(path, true));
    EXPECT_TRUE(key.WriteString("Deep", "yes"));
    EXPECT_EQ(registry.StringValue(RegistryRoot::CurrentUser, path.substr(1), "Deep"), "yes");
}

TEST(RegistryKeyTest, DeleteValueCreatesAMissingParentAndFindsNothing) {
    MemoryRegistry registry;
    RegistryKey key(registry, kMachine);
    EXPECT_FALSE(key.DeleteValue("\\SOFTWARE\\Gone\\Value"));
    EXPECT_TRUE(registry.HasKey(kMachine, "SOFTWARE\\Gone"));
    EXPECT_FALSE(registry.HasKey(kMachine, "SOFTWARE\\Gone\\Value"));
}

TEST(RegistryKeyTest, DeleteRemovesTheNamedValueOrLeafKey) {
    MemoryRegistry registry;
    registry.PutString(kMachine, "SOFTWARE\\Vesk\\Leaf", "v", "1");
    registry.PutString(kMachine, "SOFTWARE\\Vesk", "Keep", "k");
    registry.PutString(kMachine, "SOFTWARE\\Vesk", "Drop", "d");
    RegistryKey key(registry, kMachine);
    EXPECT_TRUE(key.DeleteValue("\\SOFTWARE\\Vesk\\Drop"));
    EXPECT_FALSE(registry.Value(kMachine, "SOFTWARE\\Vesk", "Drop"));
    EXPECT_TRUE(registry.Value(kMachine, "SOFTWARE\\Vesk", "Keep"));
    EXPECT_FALSE(key.DeleteKey("\\SOFTWARE\\Vesk"));  // has a subkey: refused, like NT
    EXPECT_TRUE(key.DeleteKey("\\SOFTWARE\\Vesk\\Leaf"));
    EXPECT_FALSE(registry.HasKey(kMachine, "SOFTWARE\\Vesk\\Leaf"));
    // A trailing backslash names no key: the parent must not be deleted instead.
    EXPECT_FALSE(key.DeleteKey("\\SOFTWARE\\Vesk\\"));
    EXPECT_TRUE(registry.HasKey(kMachine, "SOFTWARE\\Vesk"));
    EXPECT_FALSE(key.DeleteValue("NoBackslash"));
}

TEST(RegistryKeyTest, AKeyThisAccountMayOnlyReadIsReadButNeverWritten) {
    MemoryRegistry registry;
    registry.PutString(kMachine, "SOFTWARE\\Locked", "Common Programs", "C:\\Programs");
    registry.MakeReadOnly(kMachine, "SOFTWARE\\Locked");
    RegistryKey key(registry, kMachine);
    ASSERT_TRUE(key.Open("\\SOFTWARE\\Locked", true));
    EXPECT_EQ(key.ReadString("Common Programs"), "C:\\Programs");
    EXPECT_FALSE(key.WriteString("New", "x"));

    // Below a read-only key nothing can be created, and nothing lands in a parent instead.
    EXPECT_FALSE(key.Open("\\SOFTWARE\\Locked\\Child", true));
    EXPECT_FALSE(key.WriteString("New", "x"));
    EXPECT_FALSE(registry.HasKey(kMachine, "SOFTWARE\\Locked\\Child"));
    EXPECT_FALSE(registry.Value(kMachine, "SOFTWARE\\Locked", "New"));
    EXPECT_FALSE(registry.Value(kMachine, "SOFTWARE", "New"));
}

TEST(RegistryKeyTest, BracketedLinesNameAnExactRootAndANonEmptyKeyPath) {
    struct Case {
        const char* line;
        bool opens;
        RegistryRoot root;
        const char* path;  // created key when it opens
    };
    const Case cases[] = {
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vesk]", true, kMachine, "SOFTWARE\\Vesk"},
        {"[HKEY_CURRENT_USER\\Software\\A\\B\\C]", true, RegistryRoot::CurrentUser,
         "Software\\A\\B\\C"},
        {"[HKEY_CLASSES_ROOT\\.vsk]", true, RegistryRoot::ClassesRoot, ".vsk"},
        {"[hkey_local_machine\\SOFTWARE\\Lower]", false, kMachine, "SOFTWARE\\Lower"},
        {"[HKLM\\SOFTWARE\\Short]", false, kMachine, "SOFTWARE\\Short"},
        {"[HKEY_LOCAL_MACHINE\\]", false, kMachine, ""},
        {"[HKEY_LOCAL_MACHINE]", false, kMachine, ""},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\NoBracket]", false, kMachine, "SOFTWARE\\NoBracket"},
        {"", false, kMachine, ""},
        {"\\", false, kMachine, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        MemoryRegistry registry;
        std::unique_ptr<RegistryHandle> handle = OpenKeyFromBracketedLine(registry, c.line);
        EXPECT_EQ(handle != nullptr, c.opens);
        if (c.opens) {
            EXPECT_TRUE(registry.HasKey(c.root, c.path));
            EXPECT_TRUE(handle->SetValue("v", RegistryValue{kRegistryString, std::string("1", 2)}));
            EXPECT_EQ(registry.StringValue(c.root, c.path, "v"), "1");
        } else if (*c.path) {
            EXPECT_FALSE(registry.HasKey(c.root, c.path));
        }
    }
}

}  // namespace
}  // namespace vesk
