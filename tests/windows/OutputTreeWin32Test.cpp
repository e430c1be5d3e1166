// extract's output tree on Windows: below its root nothing is written through a link (made by the
// host's ln under Wine, by the system elsewhere), and a file already there is replaced, not
// written through.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "HostLinks.h"
#include "builder/inspection/OutputTree.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::MakeLink;

bool WriteInto(OutputTree& tree, const std::string& relative, const std::string& bytes,
               std::string& why) {
    std::unique_ptr<TreeFile> file = tree.NewFile(relative, why);
    return file && file->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) &&
           file->Close();
}

TEST(OutputTreeWin32Test, NothingIsWrittenThroughALinkBelowTheRoot) {
    test::TempDir dir;
    CreateDirectoryA((dir / "out").c_str(), nullptr);
    CreateDirectoryA((dir / "elsewhere").c_str(), nullptr);
    ASSERT_TRUE(test::WriteWholeFile(dir / "elsewhere\\victim.txt", "the user's own"));
    CreateDirectoryA((dir / "out\\Files").c_str(), nullptr);
    // The dangling link's target exists while the link is made (Wine lists no dangling link).
    ASSERT_TRUE(test::WriteWholeFile(dir / "elsewhere\\new.txt", "soon gone"));
    if (!MakeLink(dir / "elsewhere", dir / "out\\InstallDir", true) ||
        !MakeLink(dir / "elsewhere\\victim.txt", dir / "out\\Files\\a.txt", false) ||
        !MakeLink(dir / "elsewhere\\new.txt", dir / "out\\Files\\dangling.txt", false)) {
        GTEST_SKIP() << "links cannot be made here";
    }
    DeleteFileA((dir / "elsewhere\\new.txt").c_str());
    ASSERT_TRUE(test::WriteWholeFile(dir / "out\\Files\\kept.txt", "older"));

    OutputTree tree;
    std::string why;
    ASSERT_TRUE(tree.Open(dir / "out", why)) << why;
    EXPECT_FALSE(WriteInto(tree, "InstallDir/a.txt", "from the setup", why));
    EXPECT_NE(why.find("is in the way of a folder"), std::string::npos) << why;
    EXPECT_FALSE(tree.CreateFolders("InstallDir/docs", why));
    for (const char* name : {"Files/a.txt", "Files/dangling.txt"}) {
        why.clear();
        EXPECT_FALSE(WriteInto(tree, name, "from the setup", why)) << name;
        EXPECT_NE(why.find("is in the way of a file"), std::string::npos) << why;
    }
    EXPECT_TRUE(WriteInto(tree, "Files/kept.txt", "from the setup", why)) << why;
    EXPECT_TRUE(WriteInto(tree, "Files/sub/new.txt", "from the setup", why)) << why;

    EXPECT_EQ(test::ReadWholeFile(dir / "elsewhere\\victim.txt"), "the user's own");
    EXPECT_FALSE(test::FileExists(dir / "elsewhere\\a.txt"));
    EXPECT_FALSE(test::FileExists(dir / "elsewhere\\new.txt"));
    EXPECT_FALSE(test::FileExists(dir / "elsewhere\\docs"));
    EXPECT_EQ(test::ReadWholeFile(dir / "out\\Files\\kept.txt"), "from the setup");
    EXPECT_EQ(test::ReadWholeFile(dir / "out\\Files\\sub\\new.txt"), "from the setup");
}

}  // namespace
}  // namespace vesk
