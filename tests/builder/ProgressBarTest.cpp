// The build's progress line: what it shows, and that a short build shows none of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "builder/veskbuild/ProgressBar.h"
#include "support/TempDir.h"

namespace vesk::tool {
namespace {

TEST(ProgressBarTest, LineShowsBytesFilesRateAndTimeLeft) {
    struct Case {
        ProgressFigures figures;
        const char* line;
    };
    const Case cases[] = {
        {{12300000, 34500000, 12, 34, 1.5},
         "[#####...........]  35%  12.3/34.5 MB  12/34 files  8.2 MB/s  0:03 left"},
        {{100000000, 1000000000, 5, 10, 10},
         "[#...............]  10%  100.0/1000.0 MB  5/10 files  10.0 MB/s  1:30 left"},
        {{500000, 800000, 1, 2, 2},
         "[#########.......]  62%  500/800 KB  1/2 files  250 KB/s  0:01 left"},
        // Nothing read yet: no rate to tell the time left by.
        {{0, 800000, 0, 2, 1}, "[................]   0%  0/800 KB  0/2 files"},
        {{0, 0, 0, 0, 1}, "[################] 100%  0/0 KB  0/0 files"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressBar::Line(c.figures), c.line);
    }
}

TEST(ProgressBarTest, QuietInTheFirstSecondThenAtMostTenTimesASecond) {
    test::TempDir dir;
    const std::string path = dir / "stderr.txt";
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    double now = 0;
    {
        ProgressBar bar(stream, true, [&now] { return now; });
        const std::pair<double, std::uint64_t> updates[] = {
            {0.2, 200000}, {0.9, 900000}, {1.0, 1000000}, {1.05, 1050000}, {1.25, 1250000}};
        for (const auto& [at, done] : updates) {
            now = at;
            bar.Update(done, 2000000, 1, 2);
        }
    }
    std::fclose(stream);
    const std::string drawn = test::ReadWholeFile(path);
    const std::string first = "\r" + ProgressBar::Line({1000000, 2000000, 1, 2, 1.0});
    const std::string second = "\r" + ProgressBar::Line({1250000, 2000000, 1, 2, 1.25});
    // Two lines drawn (at 1.0 and 1.25 s), then the line cleared as the bar goes.
    EXPECT_EQ(drawn, first + second + "\r" + std::string(second.size() - 1, ' ') + "\r");
}

}  // namespace
}  // namespace vesk::tool
