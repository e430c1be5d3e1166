// Shows a licence or readme document on a page: in the system's web browser control, or as
// readable text where no browser engine can show it.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Takes the place of a hidden placeholder control of the page. The browser control is hosted
// through the system's control-hosting window class and told to navigate to the document; when
// that is not possible (no hosting library, no browser engine), the document is converted to
// plain text and shown in a read-only, scrollable edit control, so the user can always read it.
class DocumentView {
public:
    enum class Mode { None, Browser, Text };

    DocumentView() = default;
    ~DocumentView();
    DocumentView(const DocumentView&) = delete;
    DocumentView& operator=(const DocumentView&) = delete;

    // Shows the document at `path` in the rectangle of control `placeholderId` of `page`, the
    // text view in `font`. A second call replaces the first view.
    void Show(HWND page, int placeholderId, const std::string& path, HFONT font);

    Mode CurrentMode() const { return mode_; }
    HWND ViewWindow() const { return view_; }

    // The id of the text view's edit control.
    static int TextViewId();

private:
    bool ShowInBrowser(HWND page, const RECT& area, const std::string& path);
    void ShowAsText(HWND page, const RECT& area, const std::string& path, HFONT font);
    void Clear();

    Mode mode_ = Mode::None;
    HWND view_ = nullptr;
};

}  // namespace vesk
