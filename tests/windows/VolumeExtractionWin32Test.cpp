// Extraction across three volumes on Windows, checked with the Win32 API itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "container/ContainerReader.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::FixtureBytes;

// The three file times of `path`, as local SYSTEMTIMEs.
bool LocalTimesOf(const std::string& path, SYSTEMTIME (&times)[3]) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME ft[3];
    bool ok = GetFileTime(file, &ft[0], &ft[1], &ft[2]) != 0;
    CloseHandle(file);
    for (int i = 0; ok && i < 3; ++i) {
        SYSTEMTIME utc;
        ok = FileTimeToSystemTime(&ft[i], &utc) &&
             SystemTimeToTzSpecificLocalTime(nullptr, &utc, &times[i]);
    }
    return ok;
}

TEST(VolumeExtractionWin32Test, ExtractsAcrossThreeVolumesWithFileTimes) {
    test::TempDir dir;
    // Random bytes: LZSS stores them as literals, so the layout does not hang on the encoder.
    std::vector<test::FixtureBody> bodies = {{FixtureBytes(20000, 11, false), false},
                                             {FixtureBytes(25000, 12, false), true},
                                             {FixtureBytes(10000, 13, false), false}};
    test::FixtureSet set = test::BuildFixtureSet(dir / "Setup.exe", 20000, 30000, bodies);
    ASSERT_EQ(set.volumePaths.size(), 3u);
    ASSERT_EQ(GetFileAttributesA((dir / "Setup3.Cab").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    std::atomic<bool> finished{false};
    ContainerReader reader(finished);
    ASSERT_TRUE(reader.OpenContainer(set.setupPath));
    ASSERT_TRUE(reader.ReadProject(dir / "project.xml"));
    EXPECT_EQ(test::ReadWholeFile(dir / "project.xml"), set.projectXml);
    reader.SetVolumeSize(30000);

    const char* const times[] = {"2003-7-28 20:34:2", "1999-12-31 23:59:59", "2026-1-5 8:0:30"};
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        SCOPED_TRACE(i);
        FileEntry entry = ParseFileEntry("out" + std::to_string(i) + ".bin," +
                                         std::to_string(set.entries[i].offset) + "," +
                                         std::to_string(set.entries[i].size) + "," +
                                         (bodies[i].raw ? "n" : "a") + "," + times[i]);
        entry.path = dir / entry.rawPath;
        ASSERT_TRUE(reader.ExtractEntry(entry)) << reader.LastError();
        ContainerReader::SetEntryTime(entry);

        SYSTEMTIME local[3];
        ASSERT_TRUE(LocalTimesOf(entry.path, local));
        EntryTime expected = ParseEntryTime(times[i]);
        // Creation time is set too, but Wine's Linux file systems do not keep it: check the
        // last-access and last-write times.
        for (const SYSTEMTIME& t : {local[1], local[2]}) {
            EXPECT_EQ(t.wYear, expected.year);
            EXPECT_EQ(t.wMonth, expected.month);
            EXPECT_EQ(t.wDay, expected.day);
            EXPECT_EQ(t.wHour, expected.hour);
            EXPECT_EQ(t.wMinute, expected.minute);
            EXPECT_EQ(t.wSecond, expected.second);
        }
        // Read the content only now: reading may move the last-access time on.
        EXPECT_EQ(test::ReadWholeFile(entry.path), bodies[i].content);
    }
    EXPECT_EQ(reader.CurrentVolume(), 3);
    EXPECT_FALSE(finished);
}

}  // namespace
}  // namespace vesk
