// The advertising picture window (template IDD_AD_PICTURE).
#include "app/ShowAdPictureWin32.h"

#include "media/BitmapDisplayWin32.h"
#include "media/BitmapReader.h"
#include "resources/ResourceIds.h"

namespace vesk {

bool CShowAdPicture::DoModal() {
    const std::optional<DibImage> picture = LoadBitmapFile(picturePath_);
    if (!picture) return false;
    width_ = picture->Width();
    height_ = picture->Rows();
    closable_ = false;
    return RunModal(IDD_AD_PICTURE, nullptr) == IDOK;
}

bool CShowAdPicture::OnInitDialog() {
    SetTimer(Window(), kTimerId, kShowMs, nullptr);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
    SetWindowPos(Window(), nullptr, x, y, width_, height_, SWP_NOZORDER);
    return true;
}

bool CShowAdPicture::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Window(), &paint);
            int width = 0, height = 0;
            if (dc) DrawBitmapFile(picturePath_, dc, 0, 0, width, height);
            EndPaint(Window(), &paint);
            result = 0;
            return true;
        }
        case WM_TIMER:
            if (wParam != kTimerId) return false;
            KillTimer(Window(), kTimerId);
            closable_ = true;
            EndModal(IDOK);
            return true;
        case WM_CLOSE:
            // The system menu and Alt+F4 end the window only once its time is up.
            if (closable_) EndModal(IDOK);
            return true;
        default:
            return false;
    }
}

}  // namespace vesk
