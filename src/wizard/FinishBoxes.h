// The check boxes of the finish page: which ones a finish task asks for, and where they go.
#pragma once

#include <string>
#include <vector>

#include "project/LanguageTable.h"
#include "project/Task.h"

namespace vesk {

// The restart box's control ID.
constexpr int kRestartBoxId = 999;

struct FinishBox {
    int controlId = 0;
    std::string caption;
};

// The boxes for `task`: for the restart task (2009) one box, kRestartBoxId with ShowFinishDesc1;
// for any other task one box per RunApp subtask in order, its control ID the subtask's ID read
// as a number and its caption the subtask's first Description (empty when it has none).
std::vector<FinishBox> FinishBoxesOf(const Task& task, const LanguageTable& texts);

// Sizes in pixels: the box beside a caption, a character of the caption, and a line.
struct FinishBoxMetrics {
    int box = 18;
    int character = 6;
    int line = 14;
};

// 18, 6, 14 pixels; 22, 8, 18 when the display has more than 96 vertical dots per inch.
FinishBoxMetrics FinishBoxMetricsForDpi(int dpiY);

struct BoxPlace {
    int x = 0, y = 0, width = 0, height = 0;
};

// The width a caption has beside its box on a page from `left` to `right`: the page less its
// margins and the box. A longer caption wraps within it.
int FinishCaptionRoom(int left, int right, const FinishBoxMetrics& metrics);

// One left-aligned column, centred as a block in the client area (left, top, right, bottom):
// its rows are a line high with 4 pixels between them, and each box is as wide as the box beside
// its caption plus the caption, a character width per byte. `drawnWidths[i]`, when given, is
// the width in pixels the i-th caption takes in the page's font: a caption wider than its bytes
// make widens its box, so no caption is cut off. The column is as wide as its widest caption (at
// least one character). Integer divisions truncate toward zero. A caption wider than the room
// (FinishCaptionRoom) wraps: its box keeps to the room and is as high as `drawnHeights[i]` (the
// wrapped caption's height, when given) or a line for each room's width of the caption, so
// no box starts left of the page's margin or reaches past its right one.
std::vector<BoxPlace> LayOutFinishBoxes(const std::vector<FinishBox>& boxes, int left, int top,
                                        int right, int bottom, const FinishBoxMetrics& metrics,
                                        const std::vector<int>& drawnWidths = {},
                                        const std::vector<int>& drawnHeights = {});

}  // namespace vesk
