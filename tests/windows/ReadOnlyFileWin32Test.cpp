// A volume file the reader holds: while it is open, nobody can write, rename or delete it, so
// what its checksum covered is what is read from it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "container/VolumeFile.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

TEST(ReadOnlyFileWin32Test, AnOpenVolumeCanBeNeitherWrittenNorReplaced) {
    test::TempDir dir;
    const std::string path = dir / "Setup2.Cab";
    ASSERT_TRUE(test::WriteWholeFile(path, std::string(100000, 'v')));
    {
        VolumeFile volume;
        ASSERT_TRUE(volume.Open(path));
        EXPECT_EQ(volume.Length(), 100000);
        HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "opened for writing";
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
        EXPECT_FALSE(MoveFileA(path.c_str(), (dir / "aside.Cab").c_str()));
        EXPECT_FALSE(DeleteFileA(path.c_str()));
        // Others may read it, as the reader itself does.
        EXPECT_EQ(test::ReadWholeFile(path).size(), 100000u);
        char block[10];
        ASSERT_TRUE(volume.Seek(99995));
        EXPECT_FALSE(volume.Read(block, sizeof block)) << "a read past the end";
        ASSERT_TRUE(volume.Seek(99990));
        EXPECT_TRUE(volume.Read(block, sizeof block));
    }
    // A file someone writes is not taken as a volume.
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    VolumeFile volume;
    EXPECT_FALSE(volume.Open(path));
    CloseHandle(writer);
    EXPECT_TRUE(volume.Open(path));
    volume.Close();
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

}  // namespace
}  // namespace vesk
