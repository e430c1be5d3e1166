// The destination page's rules without a window: the tail and drive swap, the size and drive
// lines, and the commit.
#include <gtest/gtest.h>

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
    EXPECT_EQ(DriveLineText(texts, DriveSpace{'C', 1024}), "Disk C: 1024 MB free space");
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

    using Chain = std::vector<std::string>;
    EXPECT_EQ(FolderChainOf("C:\\a\\b\\c"), (Chain{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}));
    EXPECT_EQ(FolderChainOf("C:\\a\\\\b\\"), (Chain{"C:\\a", "C:\\a\\b"}));
    EXPECT_EQ(FolderChainOf("C:\\"), Chain{});
}

}  // namespace
}  // namespace vesk
