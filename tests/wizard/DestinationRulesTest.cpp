// The destination page's rules without a window: the tail and drive swap, the size and drive
// lines, and the commit.
#include <gtest/gtest.h>

#include "support/MemoryFileSystem.h"
#include "wizard/DestinationCommit.h"
#include "wizard/DestinationProposal.h"
#include "wizard/DestinationTexts.h"

namespace vesk {
namespace {

constexpr char kProgramFiles[] = "C:\\Program Files";

TEST(DestinationRulesTest, PickingAFolderOrDriveKeepsTheTailOfTheDefaultPath) {
    struct Case {
        const char* defaultPath;
        const char* tail;
        bool underProgramFiles;
        const char* picked;
        const char* proposed;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Vendor\\Tool", "Vendor\\Tool", true,
         "D:", "D:\\Program Files\\Vendor\\Tool"},
        {"C:\\Program Files\\Vendor\\Tool", "Vendor\\Tool", true, "D:\\Apps",
         "D:\\Apps\\Vendor\\Tool"},
        {"C:\\Program Files\\Vendor\\Tool", "Vendor\\Tool", true,
         "C:", "C:\\Program Files\\Vendor\\Tool"},
        {"D:\\Tools\\App", "Tools\\App", false, "E:", "E:\\Tools\\App"},
        {"D:\\Tools\\App", "Tools\\App", false, "E:\\Work", "E:\\Work\\Tools\\App"},
        // Letter case does not matter; a longer folder name is not Program Files.
        {"C:\\PROGRAM FILES\\Tool", "Tool", true, "D:", "D:\\Program Files\\Tool"},
        {"C:\\Program Files (x86)\\Tool", "Program Files (x86)\\Tool", false,
         "D:", "D:\\Program Files (x86)\\Tool"},
        // Nothing below the removed part: an empty tail.
        {"C:\\Program Files", "", true, "D:", "D:\\Program Files\\"},
        {"C:\\", "", false, "D:\\Apps", "D:\\Apps\\"},
        {"", "", false, "D:", "D:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.defaultPath) + " -> " + c.picked);
        DestinationProposal proposal(c.defaultPath, kProgramFiles);
        EXPECT_EQ(proposal.Tail(), c.tail);
        EXPECT_EQ(proposal.UnderProgramFiles(), c.underProgramFiles);
        EXPECT_EQ(proposal.ForFolder(c.picked), c.proposed);
    }
}

LanguageTable EnglishTexts() {
    TextLineList lines;
    for (const char* line : {"[Language=409]", "ChangePathFreeSpaceDesc1=Disk ",
                             "ChangePathFreeSpaceDesc2=:", "ChangePathFreeSpaceDesc3=free space",
                             "ChangePathSoftSizeDesc1=The program requires at least",
                             "ChangePathSoftSizeDesc2=of disk space."}) {
        lines.Add(line);
    }
    LanguageTable texts(0x409);
    texts.LoadLines(lines);
    return texts;
}

TEST(DestinationRulesTest, SizesShowTwoDecimalsCutNotRounded) {
    constexpr std::uint64_t kMegabyte = 1048576;
    struct Case {
        std::uint64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {5000000, "4.76"},
        {1536, "0.00"},
        {15 * kMegabyte, "15."},
        {3 * kMegabyte / 2, "1.5"},
        {kMegabyte - 1, "0.99"},  // 0.99999904...: cut, never rounded up to 1
        {0, "0."},
        {1, "0.00"},  // no exponent form for tiny sizes
        {1000000000000000ull, "953674316.40"},
        {std::uint64_t(1) << 62, "4398046511104."},
    };
    for (const Case& c : cases) EXPECT_EQ(MegabytesText(c.bytes), c.text) << c.bytes;

    const LanguageTable texts = EnglishTexts();
    EXPECT_EQ(SizeLineText(texts, SoftwareSizeBytes("5000000")),
              "The program requires at least 4.76 MB of disk space.");
    EXPECT_EQ(DriveLineText(texts, DriveSpace{'C', 1024}), "Disk C: 1,024 MB free space");
    EXPECT_EQ(SoftwareSizeBytes(""), 0u);
    EXPECT_EQ(SoftwareSizeBytes("12abc"), 12u);
    EXPECT_EQ(SoftwareSizeBytes("-5"), 0u);
    EXPECT_EQ(SoftwareSizeBytes("4294967296"), 4294967296u);  // past 32 bits
}

TEST(DestinationRulesTest, TheCommitNeedsADriveRootAndNamesWindowsCanHold) {
    const std::string deep = "C:\\" + std::string(60, 'a') + "\\" + std::string(250, 'b');
    struct Case {
        std::string typed;
        const char* committed;  // nullptr: the page stays
    };
    const Case cases[] = {
        {"C:", nullptr},
        {"", nullptr},
        {"C:\\", "C:\\"},
        {"C:\\Data\\", "C:\\Data"},
        {"C:\\Data", "C:\\Data"},
        {"C:\\a", "C:\\a"},
        {"d:\\Apps\\Tool\\", "d:\\Apps\\Tool"},
        {deep, deep.c_str()},  // no length limit of its own: the system decides
        {"Data\\Tool", nullptr},
        {"\\\\server\\share\\Tool", nullptr},
        {"C:\\Tools\\a?b", nullptr},
        {"C:\\Tools\\a|b", nullptr},
        {"C:\\Tools\\x:y", nullptr},
        {"C:\\Tools.\\App", nullptr},
        {"C:\\Tools \\App", nullptr},
        {"C:\\con\\App", nullptr},
        {"C:\\Apps\\LPT1.txt", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::optional<std::string> path = CommitPathOf(c.typed);
        ASSERT_EQ(path.has_value(), c.committed != nullptr);
        if (path) {
            EXPECT_EQ(*path, c.committed);
        }
    }
}

TEST(DestinationRulesTest, TheCommitMakesTheFolderAndOnlyItsOwnFoldersGoAgain) {
    using Folders = std::vector<std::string>;
    struct Case {
        const char* typed;
        DestinationRefusal refusal;
        const char* path;
        Folders made;  // top first
    };
    const Case cases[] = {
        {"C:\\Old\\a\\b\\",
         DestinationRefusal::None,
         "C:\\Old\\a\\b",
         {"C:\\Old\\a", "C:\\Old\\a\\b"}},
        {"C:\\Old", DestinationRefusal::None, "C:\\Old", {}},  // there already: nothing made
        {"C:\\", DestinationRefusal::None, "C:\\", {}},
        {"C:", DestinationRefusal::NoFolderName, "C:", {}},
        {"C:\\con\\App", DestinationRefusal::NoFolderName, "C:\\con\\App", {}},
        // A file stands where a folder would go.
        {"C:\\Old\\file.txt\\App", DestinationRefusal::CannotCreate, "C:\\Old\\file.txt\\App", {}},
        // Made, but it cannot be entered: the folders made on the way go again.
        {"C:\\New\\Locked", DestinationRefusal::CannotCreate, "C:\\New\\Locked", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        test::MemoryFileSystem files;
        files.Put("C:\\Old\\file.txt", "");
        files.refuseCurrentFolder = std::string(c.typed).find("Locked") != std::string::npos;
        const DestinationCommit commit = CommitDestination(c.typed, files);
        EXPECT_EQ(commit.refusal, c.refusal);
        EXPECT_EQ(commit.path, c.path);
        EXPECT_EQ(commit.made, c.made);
        if (c.refusal != DestinationRefusal::NoFolderName) {
            EXPECT_EQ(files.FolderExists(c.path), c.refusal == DestinationRefusal::None);
        }
        EXPECT_FALSE(files.FolderExists("C:\\New")) << "a refused commit leaves a folder behind";
        if (c.refusal == DestinationRefusal::None) {
            EXPECT_EQ(files.log.back(), "cd " + commit.path);
        }
    }

    // Withdrawn, the folders a commit made go, deepest first, once nothing is current in them;
    // one the user has put a file into stays.
    test::MemoryFileSystem files;
    const DestinationCommit commit = CommitDestination("C:\\A\\B\\C", files);
    files.Put("C:\\A\\note.txt", "kept");
    files.log.clear();
    WithdrawFolders(files, commit.made);
    EXPECT_EQ(files.log,
              (Folders{"cd C:\\", "rmdir C:\\A\\B\\C", "rmdir C:\\A\\B", "rmdir C:\\A"}));
    EXPECT_FALSE(files.FolderExists("C:\\A\\B"));
    EXPECT_TRUE(files.FolderExists("C:\\A"));
}

TEST(DestinationRulesTest, RefusalsAndDriveLinesSayWhatTheUserNeeds) {
    struct Case {
        std::uint64_t number;
        const char* grouped;
    };
    const Case cases[] = {{0, "0"},          {999, "999"},        {1000, "1,000"},
                          {79718, "79,718"}, {123456, "123,456"}, {1234567, "1,234,567"}};
    for (const Case& c : cases) EXPECT_EQ(GroupedNumber(c.number), c.grouped);

    TextLineList lines;
    for (const char* line :
         {"[Language=409]", "ChangePathFreeSpaceDesc1=Disk ",
          "ChangePathFreeSpaceDesc2=:", "ChangePathFreeSpaceDesc3=free space",
          "FolderNameErrorDesc=Not a folder name: ", "CreateFolderErrorDesc=Cannot create: "}) {
        lines.Add(line);
    }
    LanguageTable texts(0x409);
    texts.LoadLines(lines);
    EXPECT_EQ(DriveLineText(texts, DriveSpace{'D', 79718}), "Disk D: 79,718 MB free space");
    EXPECT_EQ(FolderNameRefusal(texts, "C:\\con"), "Not a folder name: C:\\con");
    EXPECT_EQ(CreateFolderRefusal(texts, "Q:\\App"), "Cannot create: Q:\\App");
}

}  // namespace
}  // namespace vesk
