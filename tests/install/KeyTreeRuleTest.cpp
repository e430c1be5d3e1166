// Which registry keys may go with everything in them, whatever a record or a log says.
#include <gtest/gtest.h>

#include "install/KeyTreeRule.h"
#include "install/RegistryErasure.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kUsers = RegistryRoot::Users;

TEST(KeyTreeRuleTest, KeepsTheSystemsTreesAndLetsAProductsOwnKeysGo) {
    struct Case {
        RegistryRoot root;
        const char* key;
        bool whole;
    };
    const Case cases[] = {
        // Roots and the keys right below them.
        {kMachine, "", false},
        {kMachine, "SOFTWARE", false},
        {kUser, "Software", false},
        {kUser, "Environment", false},
        {kMachine, "SOFTWARE\\Vendor", true},
        {kMachine, "SOFTWARE\\Vendor\\Product", true},
        {kUser, "Software\\Vendor", true},
        // The classes: the containers stay, a product's own class keys below them may go.
        {kMachine, "SOFTWARE\\Classes", false},
        {kMachine, "SOFTWARE\\Classes\\CLSID", false},
        {kMachine, "SOFTWARE\\Classes\\.txt", false},
        {kMachine, "SOFTWARE\\Classes\\CLSID\\{0000-1111}", true},
        {kMachine, "SOFTWARE\\Classes\\Vendor.Document\\shell", true},
        {kMachine, "SOFTWARE\\Classes\\*\\shell", false},
        {kMachine, "SOFTWARE\\Classes\\*\\shell\\VendorVerb", true},
        {kMachine, "SOFTWARE\\Classes\\*\\shellex\\ContextMenuHandlers", false},
        {kMachine, "SOFTWARE\\Classes\\*\\shellex\\ContextMenuHandlers\\Vendor", true},
        {kClasses, "CLSID", false},
        {kClasses, "Interface", false},
        {kClasses, "CLSID\\{0000-1111}", true},
        {kClasses, "Directory\\shell", false},
        {kUser, "Software\\Classes", false},
        {kUser, "Software\\Classes\\Vendor.Document", false},
        // Microsoft's and Windows' own keys, the run keys whole.
        {kMachine, "SOFTWARE\\Microsoft", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Below", false},
        {kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\demo.exe", true},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.2", true},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify", false},
        {kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", false},
        {kMachine, "SOFTWARE\\Policies\\Vendor", false},
        {kMachine, "SYSTEM\\CurrentControlSet", false},
        {kMachine, "SYSTEM\\CurrentControlSet\\Services\\DemoService", false},
        {kMachine, "SYSTEM\\ControlSet001\\Control\\Session Manager", false},
        // The engine's key stays, a product's key below it may go.
        {kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", false},
        {kMachine, "SOFTWARE\\VeskSoft\\VeskInstall\\Demo", true},
        // Spelling does not matter: letter case, doubled backslashes, Wow6432Node.
        {kMachine, "software\\microsoft\\windows\\currentversion\\run", false},
        {kMachine, "\\SOFTWARE\\\\Classes\\\\CLSID\\", false},
        {kMachine, "SOFTWARE\\Wow6432Node", false},
        {kMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {kMachine, "SOFTWARE\\Classes\\Wow6432Node\\CLSID", false},
        {kMachine, "SOFTWARE\\Wow6432Node\\Vendor\\Product", true},
        // A user's hive below HKEY_USERS is HKEY_CURRENT_USER; nothing of the current config.
        {kUsers, "S-1-5-21-1", false},
        {kUsers, "S-1-5-21-1\\Software", false},
        {kUsers, "S-1-5-21-1\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {kUsers, "S-1-5-21-1\\Software\\Vendor", true},
        {kUsers, "S-1-5-21-1_Classes\\CLSID", false},
        {RegistryRoot::CurrentConfig, "Software\\Vendor", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MayRemoveTree(c.root, c.key), c.whole) << int(c.root) << " " << c.key;
    }
}

TEST(KeyTreeRuleTest, ErasesASystemTreeOnlyWhenItIsEmpty) {
    test::MemoryRegistry registry;
    registry.PutString(kMachine, "SOFTWARE\\Classes\\.txt", "", "txtfile");
    registry.PutString(kMachine, "SOFTWARE\\Vendor\\Product\\Settings", "A", "1");
    registry.AddKey(kMachine, "SOFTWARE\\Classes\\Vendor.Empty");

    EXPECT_FALSE(EraseRegistryTree(registry, kMachine, "SOFTWARE\\Classes"));
    EXPECT_FALSE(EraseRegistryTree(registry, kMachine, "SOFTWARE\\Classes\\.txt"));
    EXPECT_TRUE(registry.HasKey(kMachine, "SOFTWARE\\Classes\\.txt"));
    EXPECT_TRUE(EraseRegistryTree(registry, kMachine, "SOFTWARE\\Classes\\Vendor.Empty"));
    EXPECT_FALSE(registry.HasKey(kMachine, "SOFTWARE\\Classes\\Vendor.Empty"));
    EXPECT_TRUE(EraseRegistryTree(registry, kMachine, "SOFTWARE\\Vendor"));
    EXPECT_FALSE(registry.HasKey(kMachine, "SOFTWARE\\Vendor\\Product\\Settings"));
}

}  // namespace
}  // namespace vesk
