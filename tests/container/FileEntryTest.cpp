// File entry texts: splitting by the last four commas, kind letters, times.
#include <gtest/gtest.h>

#include "container/FileEntry.h"

namespace vesk {
namespace {

TEST(FileEntryTest, SplitsByTheLastFourCommas) {
    struct Case {
        const char* text;
        const char* path;
        std::int32_t offset, size;
        FileKind kind;
        const char* time;
        bool wellFormed;
    };
    const Case cases[] = {
        {"[InstallDir]\\a.txt,100,20,A,2003-7-28 20:34:2", "[InstallDir]\\a.txt", 100, 20,
         FileKind::Ordinary, "2003-7-28 20:34:2", true},
        {"[InstallDir]\\a,b\\c.txt,5,6,n,2004-1-1 0:0:0", "[InstallDir]\\a,b\\c.txt", 5, 6,
         FileKind::Raw, "2004-1-1 0:0:0", true},
        {"x,1,2,k,t", "x", 1, 2, FileKind::StartUp, "t", true},
        {"x,1,2,E,t", "x", 1, 2, FileKind::Other, "t", true},
        {"x,1,2,z,t", "x", 1, 2, FileKind::Other, "t", true},
        {"x,1,2,u,t", "x", 1, 2, FileKind::Uninstaller, "t", true},
        {",,,,", "", 0, 0, FileKind::Other, "", true},
        {"", "", 0, 0, FileKind::Ordinary, "", false},
        {"a,1,2,A", "", 0, 0, FileKind::Ordinary, "", false},
        {"p,-5,abc,R,t", "p", -5, 0, FileKind::RegistryData, "t", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FileEntry e = ParseFileEntry(c.text);
        EXPECT_EQ(e.rawPath, c.path);
        EXPECT_EQ(e.offset, c.offset);
        EXPECT_EQ(e.size, c.size);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.timeText, c.time);
        EXPECT_EQ(e.wellFormed, c.wellFormed);
    }
}

TEST(FileEntryTest, ExpandsThePathAndKeepsTheRawOne) {
    FileEntry e = ParseFileEntry("[InstallDir]\\a.txt,1,2,A,t", [](const std::string& p) {
        return "C:\\App" + p.substr(12);
    });
    EXPECT_EQ(e.rawPath, "[InstallDir]\\a.txt");
    EXPECT_EQ(e.path, "C:\\App\\a.txt");
}

TEST(FileEntryTest, FormatReadsBack) {
    std::string text = FormatFileEntry("[InstallDir]\\x,y.dll", 123456, 789, FileKind::Program,
                                       "2003-7-28 20:34:2");
    EXPECT_EQ(text, "[InstallDir]\\x,y.dll,123456,789,L,2003-7-28 20:34:2");
    FileEntry e = ParseFileEntry(text);
    EXPECT_EQ(e.rawPath, "[InstallDir]\\x,y.dll");
    EXPECT_EQ(e.kind, FileKind::Program);
}

TEST(FileEntryTest, ParsesTimesWithoutPadding) {
    struct Case {
        const char* text;
        EntryTime time;
    };
    const Case cases[] = {
        {"2003-7-28 20:34:2", {2003, 7, 28, 20, 34, 2, 0}},
        {"2026-12-07 09:05:59", {2026, 12, 7, 9, 5, 59, 0}},
        {"2003-7-28", {2003, 7, 28, 0, 0, 0, 0}},
        {"", {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EntryTime t = ParseEntryTime(c.text);
        EXPECT_EQ(t.year, c.time.year);
        EXPECT_EQ(t.month, c.time.month);
        EXPECT_EQ(t.day, c.time.day);
        EXPECT_EQ(t.hour, c.time.hour);
        EXPECT_EQ(t.minute, c.time.minute);
        EXPECT_EQ(t.second, c.time.second);
    }
    EXPECT_EQ(FormatEntryTime({2003, 7, 28, 20, 34, 2, 0}), "2003-7-28 20:34:2");
}

TEST(FileEntryTest, LeadingIntegerParse) {
    EXPECT_EQ(LeadingInt("42abc"), 42);
    EXPECT_EQ(LeadingInt("  -7"), -7);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("99999999999"), 2147483647);
    EXPECT_EQ(LeadingInt("-99999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace vesk
