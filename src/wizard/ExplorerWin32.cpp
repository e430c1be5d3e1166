// The destination page's folder tree.
#include "wizard/ExplorerWin32.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/WideTextWin32.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "wizard/FolderListingWin32.h"

namespace vesk {

class CExplorer::QuietTree {
public:
    explicit QuietTree(CExplorer& explorer) : explorer_(explorer) {
        if (explorer_.quiet_++ == 0) {
            SendMessageW(explorer_.tree_, WM_SETREDRAW, FALSE, 0);
            previous_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        }
    }
    ~QuietTree() {
        if (--explorer_.quiet_ == 0) {
            SendMessageW(explorer_.tree_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(explorer_.tree_, nullptr, TRUE);
            SetCursor(previous_);
        }
    }
    QuietTree(const QuietTree&) = delete;
    QuietTree& operator=(const QuietTree&) = delete;

private:
    CExplorer& explorer_;
    HCURSOR previous_ = nullptr;
};

namespace {

// Marks the explorer busy for the holder's lifetime.
class BusyScope {
public:
    explicit BusyScope(int& busy) : busy_(busy) { ++busy_; }
    ~BusyScope() { --busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& busy_;
};

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

bool IsExpandNotification(UINT code) {
    return code == TVN_ITEMEXPANDEDA || code == TVN_ITEMEXPANDEDW;
}

}  // namespace

bool CExplorer::Init(const std::string& root, bool showFiles) {
    BusyScope busy(busy_);
    QuietTree quiet(*this);
    LONG_PTR style = GetWindowLongPtrW(tree_, GWL_STYLE);
    if (style & TVS_EDITLABELS) SetWindowLongPtrW(tree_, GWL_STYLE, style & ~TVS_EDITLABELS);
    TreeView_DeleteAllItems(tree_);

    SHFILEINFOW info{};
    images_ = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images_ == nullptr) {
        lastError_ = "Cannot retrieve the Handle of SystemImageList!";
        return false;
    }
    TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);
    showFiles_ = showFiles;

    if (root.empty()) {
        DWORD needed = GetLogicalDriveStringsW(0, nullptr);
        std::vector<wchar_t> drives(needed + 1, L'\0');
        if (needed == 0 || GetLogicalDriveStringsW(DWORD(drives.size()), drives.data()) == 0) {
            lastError_ = "Error Getting Logical DriveStrings!";
            return false;
        }
        rootPath_.clear();
        for (const wchar_t* drive = drives.data(); *drive; drive += wcslen(drive) + 1) {
            const std::string path = Narrow(drive);
            HTREEITEM item = InsertItem(TVI_ROOT, path, path.substr(0, path.size() - 1));
            if (item && HoldsSubfolder(path, showFiles_)) AddPlaceholder(item);
        }
        return true;
    }
    rootPath_ = WithSeparator(root);
    HTREEITEM item = InsertItem(TVI_ROOT, rootPath_, rootPath_.substr(0, rootPath_.size() - 1));
    if (item) ListChildren(item, rootPath_);
    return true;
}

HTREEITEM CExplorer::InsertItem(HTREEITEM parent, const std::string& path,
                                const std::string& label) {
    SHFILEINFOW normal{}, open{};
    const WideText widePath = Wide(path);
    WideText wideLabel = Wide(label);
    if (!SHGetFileInfoW(widePath.c_str(), 0, &normal, sizeof normal,
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON) ||
        !SHGetFileInfoW(widePath.c_str(), 0, &open, sizeof open,
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON)) {
        lastError_ = "Error Gettting SystemFileInfo!";
        return nullptr;
    }
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = &wideLabel[0];
    insert.item.iImage = normal.iIcon;
    insert.item.iSelectedImage = open.iIcon;
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CExplorer::AddPlaceholder(HTREEITEM item) {
    TVINSERTSTRUCTW insert{};
    wchar_t empty[1] = {};
    insert.hParent = item;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = empty;
    SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

void CExplorer::DeleteChildren(HTREEITEM item) {
    HTREEITEM child = TreeView_GetChild(tree_, item);
    while (child) {
        HTREEITEM next = TreeView_GetNextSibling(tree_, child);
        TreeView_DeleteItem(tree_, child);
        child = next;
    }
}

void CExplorer::ListChildren(HTREEITEM item, const std::string& folder) {
    const std::string parent = WithSeparator(folder);
    std::vector<std::string> folders, files;
    for (const FolderEntry& entry : ListFolder(parent)) {
        if (entry.isFolder) {
            folders.push_back(entry.name);
        } else if (showFiles_) {
            files.push_back(entry.name);
        }
    }
    // Names that differ in letter case only (a case-sensitive folder) go in byte order: a total
    // order, so the plain sort suffices, which is much smaller than a stable one.
    const auto byUpperName = [](const std::string& a, const std::string& b) {
        const int order = UpperName(a).compare(UpperName(b));
        return order != 0 ? order < 0 : a < b;
    };
    std::sort(folders.begin(), folders.end(), byUpperName);
    std::sort(files.begin(), files.end(), byUpperName);

    QuietTree quiet(*this);
    for (const std::string& name : folders) {
        const std::string path = parent + name;
        HTREEITEM child = InsertItem(item, path + "\\", name);
        if (child && HoldsSubfolder(path, showFiles_)) AddPlaceholder(child);
    }
    for (const std::string& name : files) InsertItem(item, parent + name, name);
}

void CExplorer::Refresh(HTREEITEM item) {
    BusyScope busy(busy_);
    DeleteChildren(item);
    ListChildren(item, PathOf(item));
    TreeView_Expand(tree_, item, TVE_EXPAND);
}

bool CExplorer::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != tree_ || !IsExpandNotification(header.code)) return false;
    // NMTREEVIEWA and NMTREEVIEWW agree in the fields read here.
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (Busy()) return true;  // the tree's own walk lists the children itself
    BusyScope busy(busy_);
    HTREEITEM item = change.itemNew.hItem;
    if (change.action & TVE_EXPAND) {
        DeleteChildren(item);
        ListChildren(item, PathOf(item));
    } else if (change.action & TVE_COLLAPSE) {
        QuietTree quiet(*this);
        DeleteChildren(item);
        AddPlaceholder(item);
    }
    return true;
}

std::string CExplorer::Label(HTREEITEM item) const {
    std::vector<wchar_t> text(MAX_PATH + 1);
    for (;;) {
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text.data();
        query.cchTextMax = int(text.size());
        if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return "";
        const std::size_t length = wcslen(query.pszText);
        // A label that filled the buffer may have been cut: ask again with more room.
        if (length + 1 < text.size()) return Narrow(query.pszText, length);
        text.resize(text.size() * 2);
    }
}

std::string CExplorer::PathOf(HTREEITEM item) const {
    std::string path;
    for (; item; item = TreeView_GetParent(tree_, item)) {
        const std::string label = Label(item);
        path = path.empty() ? label : label + "\\" + path;
    }
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

HTREEITEM CExplorer::FindChild(HTREEITEM parent, const std::string& upperLabel) const {
    HTREEITEM child = parent ? TreeView_GetChild(tree_, parent) : TreeView_GetRoot(tree_);
    for (; child; child = TreeView_GetNextSibling(tree_, child)) {
        if (UpperName(Label(child)) == upperLabel) return child;
    }
    return nullptr;
}

bool CExplorer::SelectPath(const std::string& path) {
    HTREEITEM found = nullptr;
    {
        BusyScope busy(busy_);
        QuietTree quiet(*this);
        for (const std::string& part : PathComponents(UpperName(WithSeparator(path)))) {
            HTREEITEM item = FindChild(found, part);
            if (!item) return false;
            Refresh(item);
            found = item;
        }
    }
    if (!found) return false;
    TreeView_SelectItem(tree_, found);
    TreeView_EnsureVisible(tree_, found);
    return true;
}

}  // namespace vesk
