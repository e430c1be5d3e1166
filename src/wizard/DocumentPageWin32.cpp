// What the licence and readme pages share.
#include "wizard/DocumentPageWin32.h"

#include "resources/ResourceIds.h"
#include "wizard/DocumentChoice.h"

namespace vesk {

void DocumentPage::SetContent(const Task* task) {
    WizardPage::SetContent(task);
    if (task == nullptr) return;
    const std::string document = DocumentPathOf(*task, type_, baseName_);
    if (document.empty()) return;
    // Only the document the run unpacked itself: the browser would run a planted page's script.
    const std::string path = session_.TempNameFor(document);
    if (session_.runFolder.Wrote(path)) view_.Show(Window(), IDC_DOCUMENT_VIEW, path, NormalFont());
}

bool DocumentPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    // The text view is read-only, which would grey it: it keeps the colours of a document.
    if (message != WM_CTLCOLORSTATIC || reinterpret_cast<HWND>(lParam) != view_.ViewWindow()) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    return true;
}

}  // namespace vesk
