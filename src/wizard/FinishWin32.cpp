// The finish page.
#include "wizard/FinishWin32.h"

#include "install/SystemUtilities.h"
#include "platform/Processes.h"
#include "platform/SystemPower.h"
#include "platform/WideTextWin32.h"
#include "resources/ResourceIds.h"
#include "wizard/FinishActions.h"

namespace vesk {
namespace {

// The size in pixels each caption takes in `font`, wrapped to `room` pixels.
struct DrawnCaptions {
    std::vector<int> widths, heights;
};
DrawnCaptions MeasureCaptions(const std::vector<FinishBox>& boxes, HFONT font, int room) {
    DrawnCaptions drawn;
    HDC dc = GetDC(nullptr);
    if (!dc) return drawn;
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    for (const FinishBox& box : boxes) {
        RECT area{0, 0, room, 0};
        const WideText caption = Wide(box.caption);
        DrawTextW(dc, caption.c_str(), int(caption.size()), &area,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
        drawn.widths.push_back(int(area.right));
        drawn.heights.push_back(int(area.bottom));
    }
    if (previous) SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return drawn;
}

}  // namespace

CFinish::CFinish(SetupSession& session, std::function<void()> finalCleanUp)
    : WizardPage(session, IDD_FINISH_PAGE), finalCleanUp_(std::move(finalCleanUp)) {}

bool CFinish::OnInitDialog() {
    SetUpFonts(nullptr, 0);
    metrics_ = FinishBoxMetricsForDpi(ScreenDpiY(session_.System()));
    return true;
}

void CFinish::RemoveBoxes() {
    for (HWND box : boxes_) {
        if (box) DestroyWindow(box);
    }
    boxes_.clear();
}

void CFinish::SetContent(const Task* task) {
    WizardPage::SetContent(task);
    RemoveBoxes();
    if (task == nullptr) return;
    const std::vector<FinishBox> boxes = FinishBoxesOf(*task, session_.texts);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(Window(), WM_GETFONT, 0, 0));
    RECT client{};
    GetClientRect(Window(), &client);
    // A caption too long for the page wraps inside it, the box as high as its lines.
    const DrawnCaptions drawn =
        MeasureCaptions(boxes, font, FinishCaptionRoom(client.left, client.right, metrics_));
    const std::vector<BoxPlace> places =
        LayOutFinishBoxes(boxes, client.left, client.top, client.right, client.bottom, metrics_,
                          drawn.widths, drawn.heights);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const BoxPlace& place = places[i];
        HWND box =
            CreateWindowExW(0, L"BUTTON", Wide(boxes[i].caption).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE,
                            place.x, place.y, place.width, place.height, Window(),
                            reinterpret_cast<HMENU>(INT_PTR(boxes[i].controlId)),
                            GetModuleHandleW(nullptr), nullptr);
        // A box that could not be made stays in the list as unchecked, so the boxes keep
        // pairing with their RunApp subtasks.
        if (box) {
            SendMessageW(box, WM_SETFONT, WPARAM(font), TRUE);
            // /NORESTART: the restart is shown as not offered, so Finish cannot make it.
            const bool offered = !(session_.noRestart && boxes[i].controlId == kRestartBoxId);
            SendMessageW(box, BM_SETCHECK, offered ? BST_CHECKED : BST_UNCHECKED, 0);
            if (!offered) EnableWindow(box, FALSE);
        }
        boxes_.push_back(box);
    }
}

bool CFinish::IsChecked(std::size_t index) const {
    return index < boxes_.size() && boxes_[index] &&
           SendMessageW(boxes_[index], BM_GETCHECK, 0, 0) == LRESULT(BST_CHECKED);
}

void CFinish::Complete() {
    if (GetTask() == nullptr) return;
    std::vector<bool> checked;
    for (std::size_t i = 0; i < boxes_.size(); ++i) checked.push_back(IsChecked(i));
    RunFinishAction(
        *GetTask(), checked,
        FinishServices{session_.paths, HostProcesses(), HostSystemPower(), finalCleanUp_});
}

}  // namespace vesk
