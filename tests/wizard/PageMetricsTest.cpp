// The page area chosen from the display's resolution.
#include <gtest/gtest.h>

#include "wizard/PageMetrics.h"

namespace vesk {
namespace {

TEST(PageMetricsTest, LargeDisplaysGetTheLargerPageArea) {
    struct Case {
        int dpi;
        int width, height, header;
    };
    const Case cases[] = {{0, 548, 314, 64},  {72, 548, 314, 64},  {96, 548, 314, 64},
                          {97, 730, 386, 80}, {120, 730, 386, 80}, {144, 730, 386, 80},
                          {-1, 548, 314, 64}};
    for (const Case& c : cases) {
        PageMetrics metrics = PageMetricsForDpi(c.dpi);
        EXPECT_EQ(metrics.width, c.width) << c.dpi;
        EXPECT_EQ(metrics.height, c.height) << c.dpi;
        EXPECT_EQ(metrics.headerHeight, c.header) << c.dpi;
    }
}

}  // namespace
}  // namespace vesk
