// RegistryKey over the real registry, checked with the raw Win32 calls, in a scratch key under
// HKEY_CURRENT_USER\Software\VeskTest that is removed afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "project/RegistryKey.h"

namespace vesk {
namespace {

constexpr char kScratch[] = "Software\\VeskTest";

// Deletes the subkey `name` of `parent` and everything below it (RegDeleteKey removes leaves only
// on NT). Works level by level, so paths of any length go; a key that refuses stops the loop.
void DeleteTreeBelow(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        char child[256];
        for (;;) {
            DWORD length = sizeof(child);
            if (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            DeleteTreeBelow(key, child);
            length = sizeof(child);
            char again[256];
            if (RegEnumKeyExA(key, 0, again, &length, nullptr, nullptr, nullptr, nullptr) ==
                    ERROR_SUCCESS &&
                std::string(again) == child) {
                break;  // could not be deleted
            }
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(parent, name.c_str());
}

void DeleteTree(HKEY root, const std::string& path) {
    std::size_t slash = path.rfind('\\');
    HKEY parent = nullptr;
    if (RegOpenKeyExA(root, path.substr(0, slash).c_str(), 0, KEY_ALL_ACCESS, &parent) !=
        ERROR_SUCCESS) {
        return;
    }
    DeleteTreeBelow(parent, path.substr(slash + 1));
    RegCloseKey(parent);
}

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// Opens HKEY_CURRENT_USER\path one level at a time (the ANSI calls refuse paths of MAX_PATH
// characters and more in one piece).
HKEY OpenLevelByLevel(const std::string& path) {
    HKEY key = HKEY_CURRENT_USER;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t stop = std::min(path.find('\\', start), path.size());
        HKEY next = nullptr;
        LONG status =
            RegOpenKeyExA(key, path.substr(start, stop - start).c_str(), 0, KEY_READ, &next);
        if (key != HKEY_CURRENT_USER) RegCloseKey(key);
        if (status != ERROR_SUCCESS) return nullptr;
        key = next;
        start = stop + 1;
    }
    return key;
}

// The raw value as the system stores it; type 0 and no data when absent.
std::pair<DWORD, std::string> RawValue(const std::string& path, const std::string& name) {
    HKEY key = OpenLevelByLevel(path);
    if (!key) return {0, std::string()};
    DWORD type = 0, size = 0;
    std::string data;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size);
        data.resize(size);
    } else {
        type = 0;
    }
    RegCloseKey(key);
    return {type, data};
}

class RegistryWin32Test : public ::testing::Test {
protected:
    void SetUp() override { DeleteTree(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override {
        DeleteTree(HKEY_CURRENT_USER, kScratch);
        EXPECT_FALSE(KeyExists(kScratch));
    }
    std::string Scratch(const std::string& below) const {
        return std::string(kScratch) + "\\" + below;
    }
};

TEST_F(RegistryWin32Test, CreatesThreeLevelsWritesAndReadsBack) {
    RegistryKey key(HostRegistry(), RegistryRoot::LocalMachine);
    ASSERT_TRUE(key.SetRootByName("hkey_current_user"));
    EXPECT_FALSE(key.Open("\\" + Scratch("Vendor\\Product"), false));
    ASSERT_TRUE(key.Open("\\" + Scratch("Vendor\\Product"), true));
    EXPECT_TRUE(key.WriteString("Path", "C:\\Program Files\\Vesk"));
    EXPECT_TRUE(key.WriteDword("Count", 0x01020304));
    key.Close();

    std::pair<DWORD, std::string> path = RawValue(Scratch("Vendor\\Product"), "Path");
    EXPECT_EQ(path.first, DWORD(REG_SZ));
    EXPECT_EQ(path.second, std::string("C:\\Program Files\\Vesk", 22));  // with its NUL
    std::pair<DWORD, std::string> count = RawValue(Scratch("Vendor\\Product"), "Count");
    EXPECT_EQ(count.first, DWORD(REG_DWORD));
    EXPECT_EQ(count.second, std::string("\x04\x03\x02\x01", 4));

    ASSERT_TRUE(key.Open("\\" + Scratch("Vendor\\Product"), false));
    EXPECT_EQ(key.ReadString("Path"), "C:\\Program Files\\Vesk");
    EXPECT_EQ(key.ReadString("Absent"), "");
}

TEST_F(RegistryWin32Test, LongValuesAndLongKeyPathsArriveWhole) {
    RegistryKey key(HostRegistry(), RegistryRoot::CurrentUser);
    std::string deep = Scratch("Deep");
    for (int level = 0; level < 30; ++level)
        deep += "\\Level" + std::to_string(level) + "-abcdefghij";
    ASSERT_GT(deep.size(), 500u);
    ASSERT_TRUE(key.Open("\\" + deep, true));
    const std::string path300 = "D:\\" + std::string(297, 'p');
    const std::string path5000(5000, 'q');
    EXPECT_TRUE(key.WriteString("Path", path300));
    EXPECT_TRUE(key.WriteString("Longer", path5000));
    ASSERT_TRUE(key.Open("\\" + deep, false));
    EXPECT_EQ(key.ReadString("Path"), path300);
    EXPECT_EQ(key.ReadString("Longer"), path5000);
    EXPECT_EQ(RawValue(deep, "Path").second, path300 + '\0');
}

TEST_F(RegistryWin32Test, DeletesValuesAndKeysByFullPath) {
    RegistryKey key(HostRegistry(), RegistryRoot::CurrentUser);
    ASSERT_TRUE(key.Open("\\" + Scratch("Del\\Leaf"), true));
    ASSERT_TRUE(key.Open("\\" + Scratch("Del"), false));
    ASSERT_TRUE(key.WriteString("Drop", "d"));
    ASSERT_TRUE(key.WriteString("Keep", "k"));

    EXPECT_TRUE(key.DeleteValue("\\" + Scratch("Del\\Drop")));
    EXPECT_EQ(RawValue(Scratch("Del"), "Drop").first, 0u);
    EXPECT_EQ(RawValue(Scratch("Del"), "Keep").second, std::string("k", 2));
    EXPECT_TRUE(key.DeleteKey("\\" + Scratch("Del\\Leaf")));
    EXPECT_FALSE(KeyExists(Scratch("Del\\Leaf")));
    EXPECT_TRUE(KeyExists(Scratch("Del")));

    // A value under a parent that does not exist: the parent appears, nothing is deleted.
    EXPECT_FALSE(key.DeleteValue("\\" + Scratch("Gone\\Value")));
    EXPECT_TRUE(KeyExists(Scratch("Gone")));
    // A trailing backslash must not delete the parent.
    EXPECT_FALSE(key.DeleteKey("\\" + Scratch("Gone\\")));
    EXPECT_TRUE(KeyExists(Scratch("Gone")));
}

TEST_F(RegistryWin32Test, BracketedLinesOpenOrCreateTheirKey) {
    std::unique_ptr<RegistryHandle> handle = OpenKeyFromBracketedLine(
        HostRegistry(), "[HKEY_CURRENT_USER\\" + Scratch("Data\\Sub") + "]");
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->SetValue("v", RegistryValue{kRegistryString, std::string("1", 2)}));
    EXPECT_EQ(RawValue(Scratch("Data\\Sub"), "v").second, std::string("1", 2));
    handle.reset();

    EXPECT_FALSE(
        OpenKeyFromBracketedLine(HostRegistry(), "[hkey_current_user\\" + Scratch("Lower") + "]"));
    EXPECT_FALSE(KeyExists(Scratch("Lower")));
    EXPECT_FALSE(OpenKeyFromBracketedLine(HostRegistry(), "[HKEY_CURRENT_USER\\]"));
    EXPECT_FALSE(OpenKeyFromBracketedLine(HostRegistry(), "[HKEY_CURRENT_USER]"));
}

TEST_F(RegistryWin32Test, HandlesEnumerateAndARootOpenedAsItselfStaysUsable) {
    RegistryKey key(HostRegistry(), RegistryRoot::CurrentUser);
    ASSERT_TRUE(key.Open("\\" + Scratch("Enum\\One"), true));
    ASSERT_TRUE(key.Open("\\" + Scratch("Enum\\Two"), true));
    ASSERT_TRUE(key.Open("\\" + Scratch("Enum"), false));
    ASSERT_TRUE(key.WriteString("A", "a"));
    ASSERT_TRUE(key.WriteDword("B", 2));
    std::vector<std::string> keys = key.Handle()->SubKeyNames();
    std::vector<std::string> values = key.Handle()->ValueNames();
    std::sort(keys.begin(), keys.end());
    std::sort(values.begin(), values.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(values, (std::vector<std::string>{"A", "B"}));

    // Opening the root itself borrows the predefined handle: closing must not close it.
    for (int round = 0; round < 2; ++round) {
        RegistryKey root(HostRegistry(), RegistryRoot::CurrentUser);
        ASSERT_TRUE(root.Open("\\", false));
        root.Close();
    }
    EXPECT_TRUE(KeyExists(Scratch("Enum\\One")));
}

}  // namespace
}  // namespace vesk
