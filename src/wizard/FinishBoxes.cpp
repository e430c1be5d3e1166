// Finish page boxes and their column.
#include "wizard/FinishBoxes.h"

#include <algorithm>

#include "container/FileEntry.h"
#include "wizard/PageKind.h"

namespace vesk {
namespace {

constexpr int kRowGap = 4;
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

std::vector<BoxPlace> LayOutFinishBoxes(const std::vector<FinishBox>& boxes, int left, int top,
                                        int right, int bottom, const FinishBoxMetrics& metrics,
                                        const std::vector<int>& drawnWidths) {
    std::vector<int> captionWidths;
    int widest = metrics.character;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        int width = int(boxes[i].caption.size()) * metrics.character;
        if (i < drawnWidths.size()) width = std::max(width, drawnWidths[i]);
        captionWidths.push_back(width);
        widest = std::max(widest, width);
    }
    const int x = (right - widest - metrics.box - left) / 2;
    int y = (bottom - top - int(boxes.size()) * (metrics.line + kRowGap)) / 2;
    std::vector<BoxPlace> places;
    for (int width : captionWidths) {
        places.push_back(BoxPlace{x, y, metrics.box + width, metrics.line});
        y += metrics.line + kRowGap;
    }
    return places;
}

}  // namespace vesk
