// The file system below a guarded folder on Windows: every change a link planted there would
// lead elsewhere is refused and leaves the folder the link leads to as it was; the folder's own
// files and folders are made, replaced and removed as ever.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "HostLinks.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::MakeLink;

bool WriteAnew(FileSystem& files, const std::string& path, const std::string& bytes) {
    std::string why;
    std::unique_ptr<NewFile> file = files.CreateAnew(path, why);
    return file && file->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) &&
           file->Close();
}

TEST(GuardedFolderWin32Test, NothingGoesThroughALinkBelowTheFolder) {
    test::TempDir dir;
    const std::string root = dir / "install", outside = dir / "system";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(outside.c_str(), nullptr);
    ASSERT_TRUE(test::WriteWholeFile(outside + "\\victim.txt", "the system's"));
    ASSERT_TRUE(MakeLink(outside, root + "\\data", true));
    ASSERT_TRUE(MakeLink(outside + "\\victim.txt", root + "\\file.txt", false));
    // Dangling: its target goes once the host's ln has made it.
    ASSERT_TRUE(test::WriteWholeFile(outside + "\\new.txt", "soon gone"));
    ASSERT_TRUE(MakeLink(outside + "\\new.txt", root + "\\dangling.txt", false));
    ASSERT_TRUE(DeleteFileA((outside + "\\new.txt").c_str()));
    const auto before = test::FilesBelow(outside);

    FileSystem& files = HostFileSystem();
    ASSERT_TRUE(files.GuardFolder(root));
    const std::string data = root + "\\data";
    struct Case {
        const char* what;
        std::function<bool()> change;
    };
    const Case cases[] = {
        {"write through the folder link",
         [&] { return WriteAnew(files, data + "\\victim.txt", "x"); }},
        {"write through the file link", [&] { return WriteAnew(files, root + "\\file.txt", "x"); }},
        {"write through the dangling link",
         [&] { return WriteAnew(files, root + "\\dangling.txt", "x"); }},
        {"whole file through the log's link",
         [&] { return files.WriteWholeFile(root + "\\file.txt", "x"); }},
        {"delete through the folder link", [&] { return files.RemoveFile(data + "\\victim.txt"); }},
        {"delete the file link", [&] { return files.RemoveFile(root + "\\file.txt"); }},
        {"keep through the folder link",
         [&] { return files.RenameFile(data + "\\victim.txt", data + "\\victim.kept"); }},
        {"keep the file link",
         [&] { return files.RenameFile(root + "\\file.txt", root + "\\file.kept"); }},
        {"copy through the folder link",
         [&] { return files.DuplicateFile(data + "\\victim.txt", root + "\\copy.txt"); }},
        {"make a folder through the link", [&] { return files.CreateFolder(data + "\\sub"); }},
        {"remove the folder link", [&] { return files.RemoveFolder(data); }},
        {"clear read-only through the link",
         [&] { return files.ClearReadOnly(data + "\\victim.txt"); }},
        {"delete at the restart through the link",
         [&] { return files.RemoveAtRestart(data + "\\victim.txt"); }},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.change()) << c.what;
    EXPECT_EQ(test::FilesBelow(outside), before);
    EXPECT_FALSE(test::FileExists(outside + "\\new.txt"));

    // The folder's own files and folders, as ever: made, replaced, kept, removed.
    EXPECT_TRUE(WriteAnew(files, root + "\\own.txt", "first"));
    EXPECT_TRUE(files.WriteWholeFile(root + "\\own.txt", "second"));
    EXPECT_EQ(test::ReadWholeFile(root + "\\own.txt"), "second");
    EXPECT_TRUE(files.CreateFolder(root + "\\sub"));
    EXPECT_TRUE(files.RenameFile(root + "\\own.txt", root + "\\sub\\own.kept"));
    EXPECT_TRUE(files.RemoveFile(root + "\\sub\\own.kept"));
    EXPECT_TRUE(files.RemoveFolder(root + "\\sub"));
    files.ReleaseFolders();
    test::RemoveLinksFolder(root);
}

}  // namespace
}  // namespace vesk
