// The folder tree of the destination page: the folders of one drive (or all drives), each
// enumerated when it is expanded, with the system's small icons.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

namespace vesk {

// Works on a tree-view control of a dialog (not owned). A folder item gets an empty placeholder
// child while it has subfolders that were not listed yet, so the tree shows its button; its
// children are listed afresh each time it is expanded and dropped again when it is collapsed.
// Failures leave the tree empty or without the failing item; their text is kept in LastError.
class CExplorer {
public:
    void Attach(HWND tree) { tree_ = tree; }
    HWND Window() const { return tree_; }

    // Empties the tree and fills it from `root` ("C:" or "C:\": that folder as the one top-level
    // item, its subfolders below it), or with every drive when `root` is empty. Files are listed
    // after the folders when `showFiles` is set. False when the system image list is not there
    // or the drives cannot be listed.
    bool Init(const std::string& root, bool showFiles);
    // Expands the tree along `path` (letter case ignored), listing each folder on the way afresh,
    // and selects its last item; the tree then tells its owner that the selection changed. False
    // (nothing selected) when a part of the path is not in the tree.
    bool SelectPath(const std::string& path);
    // The folder of an item: the labels from the top-level item down, joined with "\", without a
    // trailing "\" ("C:" for a drive, "C:\Program Files\Tools" for a folder). "" for no item.
    std::string PathOf(HTREEITEM item) const;

    // The owner passes the tree's notifications here: expanded and collapsed items are listed
    // afresh or emptied. True when the notification was one of those.
    bool OnNotify(const NMHDR& header);
    // While the tree is being filled or walked, selection changes it reports are its own.
    bool Busy() const { return busy_ > 0; }

    const std::string& LastError() const { return lastError_; }

private:
    // Inserts the item for `path` ("C:\" or "C:\Windows\") under `parent`, labelled `label`,
    // with its icons; null when the shell gives no icon for it.
    HTREEITEM InsertItem(HTREEITEM parent, const std::string& path, const std::string& label);
    void AddPlaceholder(HTREEITEM item);
    void DeleteChildren(HTREEITEM item);
    // Lists `folder` under `item`: subfolders sorted without regard to letter case, each with a
    // placeholder when it holds a subfolder, then (with showFiles) the files.
    void ListChildren(HTREEITEM item, const std::string& folder);
    // Deletes the children of `item`, lists them again and expands it.
    void Refresh(HTREEITEM item);
    std::string Label(HTREEITEM item) const;
    HTREEITEM FindChild(HTREEITEM parent, const std::string& upperLabel) const;

    // Redrawing stays off until the outermost holder goes.
    class QuietTree;

    HWND tree_ = nullptr;
    bool showFiles_ = false;
    std::string lastError_;
    HIMAGELIST images_ = nullptr;  // the system's; never destroyed here
    std::string rootPath_;
    int busy_ = 0;
    int quiet_ = 0;
};

}  // namespace vesk
