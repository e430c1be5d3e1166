// Splitting, joining, reading and writing CR LF line lists, and the view binding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/TextLineList.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLineListTest, SplitsAtCrLfOnly) {
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\n", {"one"}},
        {"one\r\ntwo", {"one", "two"}},
        {"one\r\n\r\ntwo\r\n", {"one", "", "two"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\rb\nc\n\rd", {"a\rb\nc\n\rd"}},  // lone CR and LF are ordinary bytes
        {"a\r\r\nb", {"a\r", "b"}},
        {std::string("a\0b\r\nc", 6), {std::string("a\0b", 3), "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextLineList list;
        list.SplitAppend(c.text, false);
        EXPECT_EQ(list.Lines(), c.lines);
    }
}

TEST(TextLineListTest, SplitAppendClearsUnlessAppending) {
    TextLineList list;
    list.Add("kept");
    list.SplitAppend("x\r\ny", true);
    EXPECT_EQ(list.Lines(), (Lines{"kept", "x", "y"}));
    list.SplitAppend("z", false);
    EXPECT_EQ(list.Lines(), (Lines{"z"}));
    list.SplitAppend("", false);
    EXPECT_EQ(list.Count(), 0u);
}

TEST(TextLineListTest, JoinEndsEveryLineAndSplitsBack) {
    TextLineList list;
    EXPECT_EQ(list.Join(), "");
    for (const char* line : {"a", "", "b c"}) list.Add(line);
    EXPECT_EQ(list.Join(), "a\r\n\r\nb c\r\n");
    TextLineList back;
    back.SplitAppend(list.Join(), false);
    EXPECT_EQ(back.Lines(), list.Lines());
}

TEST(TextLineListTest, ReadsFilesBlockByBlockDroppingBytesAfterNul) {
    const std::size_t block = TextLineList::kReadBlockSize;
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    std::string long1(block + 100, 'x');
    // A NUL in the first block hides the rest of that block only.
    std::string nulFirst = "ab" + std::string(1, '\0') + std::string(block - 3, 'y') + "cd\r\ne";
    // A line longer than one block is read whole.
    const Case cases[] = {
        {"plain", "one\r\ntwo\r\n", {"one", "two"}},
        {"no final line end", "one\r\ntwo", {"one", "two"}},
        {"longer than a block", long1 + "\r\nz\r\n", {long1, "z"}},
        {"nul in first block", nulFirst, {"abcd", "e"}},
        {"only nul", std::string(1, '\0'), {}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::WriteWholeFile(dir / "f.txt", c.bytes));
        TextLineList list;
        list.Add("old");
        EXPECT_TRUE(list.ReadFile(dir / "f.txt"));
        EXPECT_EQ(list.Lines(), c.lines);
        // The same bytes already in memory (decoded from the payload) read the same.
        TextLineList fromBytes;
        EXPECT_TRUE(fromBytes.ReadFileBytes(c.bytes));
        EXPECT_EQ(fromBytes.Lines(), c.lines);
    }
}

TEST(TextLineListTest, MissingOrEmptyFileLeavesListAsItWas) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(dir / "empty.txt", ""));
    TextLineList list;
    list.Add("old");
    EXPECT_FALSE(list.ReadFile(dir / "empty.txt"));
    EXPECT_FALSE(list.ReadFile(dir / "missing.txt"));
    EXPECT_FALSE(list.ReadFileBytes(""));
    EXPECT_EQ(list.Lines(), (Lines{"old"}));
}

TEST(TextLineListTest, WritesEveryLineWithCrLfByteForByte) {
    test::TempDir dir;
    TextLineList list;
    for (const char* line : {"first", "", "\xB0\xB2\n\r"}) list.Add(line);
    ASSERT_TRUE(list.WriteFile(dir / "out.txt"));
    EXPECT_EQ(test::ReadWholeFile(dir / "out.txt"), "first\r\n\r\n\xB0\xB2\n\r\r\n");

    TextLineList empty;  // truncates an existing file
    ASSERT_TRUE(empty.WriteFile(dir / "out.txt"));
    EXPECT_EQ(test::ReadWholeFile(dir / "out.txt"), "");

    EXPECT_FALSE(list.WriteFile(dir / "no such folder" + "/out.txt"));
}

class RecordingView : public TextLineList::Observer {
public:
    void OnLineAdded(const std::string& line) override { events.push_back("+" + line); }
    void OnCleared() override { events.push_back("clear"); }
    Lines events;
};

TEST(TextLineListTest, BoundViewSeesAddsAndClears) {
    RecordingView view;
    TextLineList list;
    list.Add("before");
    list.Bind(&view);
    list.Add("a");
    list.SplitAppend("b\r\nc", false);
    TextLineList copy(list);
    copy.Add("only in copy");  // a copy is not bound
    list.Bind(nullptr);
    list.Add("after");
    EXPECT_EQ(view.events, (Lines{"+a", "clear", "+b", "+c"}));
}

}  // namespace
}  // namespace vesk
