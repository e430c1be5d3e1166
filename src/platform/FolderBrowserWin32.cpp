// The shell's folder-browse dialog, its item list freed with the shell's allocator.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/ComPointerWin32.h"
#include "platform/FolderBrowser.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// Selects the initial folder (passed as lParam) once the dialog has set itself up.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

// An item list the shell allocated, freed when done.
class ShellItem {
public:
    explicit ShellItem(LPITEMIDLIST item) : item_(item) {}
    ~ShellItem() {
        IMalloc* malloc = nullptr;
        if (item_ && SUCCEEDED(SHGetMalloc(&malloc)) && malloc) {
            malloc->Free(item_);
            malloc->Release();
        }
    }
    ShellItem(const ShellItem&) = delete;
    ShellItem& operator=(const ShellItem&) = delete;
    LPITEMIDLIST get() const { return item_; }

private:
    LPITEMIDLIST item_;
};

}  // namespace

std::string BrowseForFolder(const std::string& title, const std::string& initial) {
    // The dialog is a shell namespace view: it needs the component runtime on whichever thread
    // asks (the disk request comes from the loading dialog or from the install worker).
    ComRuntime runtime;
    wchar_t displayName[MAX_PATH + 1] = {};
    const WideText wideTitle = Wide(title);
    const WideText wideInitial = Wide(initial);
    BROWSEINFOW info = {};
    info.hwndOwner = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(wideInitial.c_str());
    ShellItem chosen(SHBrowseForFolderW(&info));
    if (!chosen.get()) return std::string();
    wchar_t path[MAX_PATH + 1] = {};  // the shell writes at most MAX_PATH characters
    if (!SHGetPathFromIDListW(chosen.get(), path)) return std::string();
    return Narrow(path);
}

}  // namespace vesk
