// Finish page boxes and their column.
#include "wizard/FinishBoxes.h"

#include <algorithm>

#include "container/FileEntry.h"
#include "wizard/PageKind.h"

namespace vesk {
namespace {

constexpr int kRowGap = 4;
constexpr int kPageMargin = 8;  // kept free at the page's left and right edges
constexpr int kHighDpi = 96;

}  // namespace

std::vector<FinishBox> FinishBoxesOf(const Task& task, const LanguageTable& texts) {
    if (PageKindOf(&task) == kRestartFinishPage) {
        return {FinishBox{kRestartBoxId, texts.GetText(TextKey::ShowFinishDesc1)}};
    }
    std::vector<FinishBox> boxes;
    for (const SubTask& subtask : task.SubTasks()) {
        if (subtask.Type() != SubTaskType::RunApp) continue;
        boxes.push_back(FinishBox{LeadingInt(subtask.Id()), subtask.Value(FieldKind::Description)});
    }
    return boxes;
}

FinishBoxMetrics FinishBoxMetricsForDpi(int dpiY) {
    return dpiY > kHighDpi ? FinishBoxMetrics{22, 8, 18} : FinishBoxMetrics{18, 6, 14};
}

int FinishCaptionRoom(int left, int right, const FinishBoxMetrics& metrics) {
    return std::max(metrics.character, right - left - 2 * kPageMargin - metrics.box);
}

std::vector<BoxPlace> LayOutFinishBoxes(const std::vector<FinishBox>& boxes, int left, int top,
                                        int right, int bottom, const FinishBoxMetrics& metrics,
                                        const std::vector<int>& drawnWidths,
                                        const std::vector<int>& drawnHeights) {
    const int room = FinishCaptionRoom(left, right, metrics);
    std::vector<int> captionWidths, rowHeights;
    int widest = metrics.character;
    int column = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        int width = int(boxes[i].caption.size()) * metrics.character;
        if (i < drawnWidths.size()) width = std::max(width, drawnWidths[i]);
        const int lines = std::max(1, (width + room - 1) / room);
        width = std::min(width, room);
        const int height = i < drawnHeights.size() ? std::max(metrics.line, drawnHeights[i])
                                                   : lines * metrics.line;
        captionWidths.push_back(width);
        rowHeights.push_back(height);
        widest = std::max(widest, width);
        column += height + kRowGap;
    }
    const int x = std::max(left + kPageMargin, (right - widest - metrics.box - left) / 2);
    int y = std::max(top, (bottom - top - column) / 2);
    std::vector<BoxPlace> places;
    for (std::size_t i = 0; i < captionWidths.size(); ++i) {
        places.push_back(BoxPlace{x, y, metrics.box + captionWidths[i], rowHeights[i]});
        y += rowHeights[i] + kRowGap;
    }
    return places;
}

}  // namespace vesk
