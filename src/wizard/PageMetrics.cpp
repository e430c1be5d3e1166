// The page-area metrics for normal and large displays.
#include "wizard/PageMetrics.h"

namespace vesk {

PageMetrics PageMetricsForDpi(int dpiY) {
    if (dpiY > 96) return PageMetrics{730, 386, 80};
    return PageMetrics{};
}

}  // namespace vesk
