// Drive list and path expansion of file entries through the process-wide resolver.
#include <gtest/gtest.h>

#include "container/FileEntry.h"
#include "install/SystemUtilities.h"
#include "project/PathResolver.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::FakeDrive;
using test::FakeSystemFacts;

TEST(SystemUtilitiesTest, ListDrivesKeepsFixedAndRemovableDrivesButA) {
    constexpr std::uint64_t kMegabyte = 1 << 20;
    FakeSystemFacts facts;
    facts.drives = {
        {"A:\\", FakeDrive{DriveType::Removable, 1 * kMegabyte}},
        {"B:\\", FakeDrive{DriveType::Removable, 2 * kMegabyte - 1}},
        {"C:\\", FakeDrive{DriveType::Fixed, 10240 * kMegabyte + 123}},
        {"D:\\", FakeDrive{DriveType::CdRom, 0}},
        {"E:\\", FakeDrive{DriveType::Remote, 500 * kMegabyte}},
        {"F:\\", FakeDrive{DriveType::RamDisk, 500 * kMegabyte}},
        {"G:\\", FakeDrive{DriveType::Fixed, std::nullopt}},
        {"Z:\\", FakeDrive{DriveType::Fixed, 6000000 * kMegabyte}},  // beyond 4 GiB of megabytes
        {"a:\\", FakeDrive{DriveType::Removable, 5 * kMegabyte}},    // lower case A is still A
        {"h:\\", FakeDrive{DriveType::Fixed, 7 * kMegabyte}},
    };
    std::vector<DriveSpace> drives = ListDrives(facts);
    struct Expected {
        char letter;
        std::uint64_t megabytes;
    };
    const Expected expected[] = {{'B', 1}, {'C', 10240}, {'G', 0}, {'Z', 6000000}, {'H', 7}};
    ASSERT_EQ(drives.size(), std::size(expected));
    for (std::size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(drives[i].letter, expected[i].letter);
        EXPECT_EQ(drives[i].freeMegabytes, expected[i].megabytes);
    }
}

TEST(SystemUtilitiesTest, TimeStampAndDpiComeFromTheSystem) {
    FakeSystemFacts facts;
    facts.localTime = CalendarTime{2004, 3, 2, 9, 5, 3, 7};
    facts.dpiY = 120;
    EXPECT_EQ(TimeStampText(facts), "200403020905037");
    EXPECT_EQ(ScreenDpiY(facts), 120);
}

TEST(SystemUtilitiesTest, FileEntriesExpandTheirPathsThroughTheResolver) {
    FakeSystemFacts facts;
    test::MemoryRegistry registry;
    PathResolver resolver(facts, registry, "D:\\Apps\\Vesk");
    FileEntry entry =
        ParseFileEntry("[InstallDir]\\a,b\\c.txt,100,20,A,2003-7-28 20:34:2", resolver.Expander());
    EXPECT_EQ(entry.rawPath, "[InstallDir]\\a,b\\c.txt");
    EXPECT_EQ(entry.path, "D:\\Apps\\Vesk\\a,b\\c.txt");
    EXPECT_EQ(resolver.Expander()("[TempFileDir]\\x"), "C:\\TEMP\\x");
}

}  // namespace
}  // namespace vesk
