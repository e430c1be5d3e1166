// The run's temporary folder: what lies inside it, files made new and held, and its removal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "session/RunFolder.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

// The engine writes Windows paths; natively a backslash is a folder separator as well.
std::string HostPath(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

// Puts `bytes` into the sink, and reports `succeed`.
FileProducer Bytes(const std::string& bytes, bool succeed = true) {
    return [bytes, succeed](ByteSink& sink) {
        sink.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        return succeed;
    };
}

// A run folder made in a fresh test folder (`parent`, without its trailing separator).
struct Folder {
    test::TempDir dir;
    std::string parent = dir.Path().substr(0, dir.Path().size() - 1);
    RunFolder run{HostPrivateFiles()};
    Folder() { EXPECT_TRUE(run.Create(parent, "~run-")); }
};

TEST(RunFolderTest, ContainsOnlyPathsThatStayInsideIt) {
    Folder f;
    const std::string in = f.run.Path();
    ASSERT_EQ(in.rfind(f.parent + "\\~run-", 0), 0u) << in;
    struct Case {
        std::string path;
        bool inside;
    };
    const Case cases[] = {
        {in + "\\a.bmp", true},
        {in + "\\sub\\a.bmp", true},
        {in, false},
        {in + "\\", false},
        {in + "x\\a.bmp", false},  // a sibling whose name starts the same
        {in + "\\..\\a.bmp", false},
        {in + "\\sub\\..\\..\\a.bmp", false},
        {in + "\\.\\a.bmp", false},
        {in + "\\\\a.bmp", false},
        {in + "\\sub\\", false},
        {in + "\\a.exe:stream", false},
        {in + "\\a/../../b", false},
        {in + "\\CON", false},
        {in + "\\a. ", false},
        {"C:\\windows\\a.dll", false},
    };
    for (const Case& c : cases) EXPECT_EQ(f.run.Contains(c.path), c.inside) << c.path;
    f.run.Remove();
    EXPECT_FALSE(f.run.Contains(in + "\\a.bmp")) << "a removed folder holds nothing";
}

TEST(RunFolderTest, WritesNewFilesOnlyAndRemovesEverythingAtTheEnd) {
    Folder f;
    const std::string a = f.run.Path() + "\\a.txt";
    const std::string taken = f.run.Path() + "\\taken.txt";
    ASSERT_TRUE(test::WriteWholeFile(HostPath(taken), "planted"));
    std::filesystem::create_directory(HostPath(f.run.Path() + "\\sub"));

    EXPECT_TRUE(f.run.WriteNewFile(a, Bytes("first")));
    EXPECT_TRUE(f.run.Wrote(a));
    EXPECT_EQ(test::ReadWholeFile(HostPath(a)), "first");
    EXPECT_FALSE(f.run.WriteNewFile(a, Bytes("second"))) << "the run's own name is taken too";
    EXPECT_EQ(test::ReadWholeFile(HostPath(a)), "first");
    EXPECT_FALSE(f.run.WriteNewFile(taken, Bytes("mine")));
    EXPECT_EQ(test::ReadWholeFile(HostPath(taken)), "planted");
    EXPECT_FALSE(f.run.Wrote(taken));
    const std::string failed = f.run.Path() + "\\sub\\failed.txt";
    EXPECT_FALSE(f.run.WriteNewFile(failed, Bytes("part", false)));
    EXPECT_FALSE(f.run.Wrote(failed));
    const std::string outside = f.dir / "outside.txt";
    EXPECT_FALSE(f.run.WriteNewFile(outside, Bytes("x")));
    EXPECT_FALSE(test::FileExists(outside));
#ifdef _WIN32
    // Held as written: nobody deletes, renames or rewrites it while the run lasts.
    EXPECT_NE(std::remove(a.c_str()), 0);
    EXPECT_NE(std::rename(a.c_str(), (a + ".moved").c_str()), 0);
    EXPECT_FALSE(test::WriteWholeFile(a, "swapped"));
    EXPECT_EQ(test::ReadWholeFile(a), "first");
#endif

    const std::string path = f.run.Path();
    f.run.Remove();
    EXPECT_FALSE(std::filesystem::exists(HostPath(path)));
    EXPECT_FALSE(f.run.Wrote(a));
    EXPECT_EQ(f.run.Path(), "");
    f.run.Remove();  // again: nothing left to do
}

#ifndef _WIN32
TEST(RunFolderTest, RemovalTakesLinksAwayWithoutFollowingThem) {
    Folder f;
    const std::string victim = f.dir / "victim";
    std::filesystem::create_directory(victim);
    ASSERT_TRUE(test::WriteWholeFile(victim + "/keep.txt", "the user's"));
    std::filesystem::create_directory_symlink(victim, HostPath(f.run.Path() + "\\folder-link"));
    std::filesystem::create_symlink(victim + "/keep.txt", HostPath(f.run.Path() + "\\file-link"));
    f.run.Remove();
    EXPECT_EQ(test::ReadWholeFile(victim + "/keep.txt"), "the user's");
    EXPECT_EQ(test::FilesBelow(f.dir.Path()).size(), 1u);
}
#endif

}  // namespace
}  // namespace vesk
