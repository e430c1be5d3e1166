// The run's log: one line per entry, its time, kind and text, written through at once.
#include <gtest/gtest.h>

#include <regex>

#include "session/RunLog.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

TEST(RunLogTest, EachEntryIsOneTimedLineOfItsKind) {
    test::TempDir dir;
    RunLog unopened;
    unopened.Add(LogKind::File, "nowhere");  // takes it, writes nothing
    EXPECT_FALSE(unopened.IsOpen());

    RunLog log;
    ASSERT_TRUE(log.Open(dir / "setup.log"));
    log.Add(LogKind::Phase, "files");
    log.Add(LogKind::File, "C:\\Program Files\\Demo\\Readme.txt");
    log.Add(LogKind::Component, "C:\\Demo\\a.ocx");
    // Readable before the log is closed.
    const std::string text = test::ReadWholeFile(dir / "setup.log");
    const std::regex lines(
        "\xEF\xBB\xBF"  // UTF-8, marked for the editors that guess
        "   0\\.\\d{3} Phase     files\r\n"
        "   0\\.\\d{3} File      C:\\\\Program Files\\\\Demo\\\\Readme\\.txt\r\n"
        "   0\\.\\d{3} Component C:\\\\Demo\\\\a\\.ocx\r\n");
    EXPECT_TRUE(std::regex_match(text, lines)) << text;

    EXPECT_FALSE(log.Open(dir / "missing folder/setup.log"));
    EXPECT_FALSE(log.IsOpen());
}

}  // namespace
}  // namespace vesk
