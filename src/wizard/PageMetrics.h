// The size of the wizard's page area and header band, chosen from the display's resolution.
#pragma once

namespace vesk {

struct PageMetrics {
    int width = 548;
    int height = 314;
    int headerHeight = 64;
};

// 548 x 314 with a 64-pixel header band; 730 x 386 with 80 when the display has more than 96
// vertical dots per inch.
PageMetrics PageMetricsForDpi(int dpiY);

}  // namespace vesk
