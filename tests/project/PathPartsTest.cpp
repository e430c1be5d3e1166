// Path splitters, the family code of the running system.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "project/OsVersion.h"
#include "project/PathParts.h"
#include "support/FakeSystemFacts.h"

namespace vesk {
namespace {

TEST(PathPartsTest, SplitsAtTheLastBackslash) {
    struct Case {
        std::string path, folder, folderWithSlash, name, extension;
    };
    // 0x95 0x5C is one GBK character whose trail byte is a backslash (native builds follow 936).
    const std::string dbcs = "\x95\x5C";
    const Case cases[] = {
        {"C:\\a.txt", "C:\\", "C:\\", "a.txt", "txt"},
        {"C:\\dir\\a.txt", "C:\\dir", "C:\\dir\\", "a.txt", "txt"},
        {"C:\\dir\\", "C:\\dir", "C:\\dir\\", "", ""},
        {"\\a", "\\", "\\", "a", ""},
        {"a.tar.gz", "", "", "a.tar.gz", "gz"},
        {"C:\\v1.2\\readme", "C:\\v1.2", "C:\\v1.2\\", "readme", ""},
        {"", "", "", "", ""},
        {"C:\\" + dbcs + "\\a.txt", "C:\\" + dbcs, "C:\\" + dbcs + "\\", "a.txt", "txt"},
        {"C:\\" + dbcs, "C:\\", "C:\\", dbcs, ""},
    };
    // The double-byte rows hold where the system code page has lead bytes (natively 936).
    const bool doubleByte = IsSystemLeadByte(0x95);
    for (const Case& c : cases) {
        if (!doubleByte && c.path.find(dbcs) != std::string::npos) continue;
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FolderOf(c.path), c.folder);
        EXPECT_EQ(FolderWithSlashOf(c.path), c.folderWithSlash);
        EXPECT_EQ(FileNameOf(c.path), c.name);
        EXPECT_EQ(ExtensionOf(c.path), c.extension);
    }
}

TEST(PathPartsTest, ComponentsSkipEmptyPartsAndTrailBytes) {
    EXPECT_EQ(PathComponents("\\SOFTWARE\\\\Vesk\\"),
              (std::vector<std::string>{"SOFTWARE", "Vesk"}));
    const std::string dbcsName = std::string("a") + "\x95\x5C" + "b";
    if (IsSystemLeadByte(0x95)) {
        EXPECT_EQ(PathComponents(dbcsName + "\\c"), (std::vector<std::string>{dbcsName, "c"}));
    }
    EXPECT_TRUE(PathComponents("\\\\").empty());
}

TEST(OsVersionTest, FamilyCodesFromThePackedVersionAndTheVersionRecord) {
    struct Case {
        const char* system;
        int code;
    };
    const Case cases[] = {
        {"95", kOsWin95},     {"98", kOsWin98}, {"Me", kOsWinMe},      {"NT4", kOsNt4},
        {"2000", kOsWin2000}, {"XP", kOsWinXp}, {"Vista", kOsNtOther},
    };
    for (const Case& c : cases) {
        test::FakeSystemFacts facts;
        facts.ActAs(c.system);
        EXPECT_EQ(OsVersionCode(facts), c.code) << c.system;
    }

    test::FakeSystemFacts facts;
    facts.packedVersion = 0x80000003;  // Win32s on 3.1: no version record is asked for
    facts.extendedVersion.reset();
    EXPECT_EQ(OsVersionCode(facts), kOsWin32s);
    facts.packedVersion = 0xC0000A04;  // 9x that refuses the record
    EXPECT_EQ(OsVersionCode(facts), kOsWin95);
    facts.extendedVersion = VersionNumbers{5, 10};  // a 9x whose major version is not 4
    EXPECT_EQ(OsVersionCode(facts), kOsWin95);
    facts.packedVersion = 0x0A280105;  // NT that refuses the record
    facts.extendedVersion.reset();
    EXPECT_EQ(OsVersionCode(facts), kOsNtOther);
    facts.extendedVersion = VersionNumbers{5, 2};  // Server 2003
    EXPECT_EQ(OsVersionCode(facts), kOsNtOther);
}

}  // namespace
}  // namespace vesk
