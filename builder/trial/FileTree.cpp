// Scanning a folder with std::filesystem and comparing two scans.
#include "builder/trial/FileTree.h"

#include <filesystem>
#include <system_error>

#include "builder/trial/SortedMerge.h"

namespace vesk::trial {
namespace {

namespace fs = std::filesystem;

FileChange Entry(ChangeKind kind, const std::string& drive, const std::string& relative,
                 const TreeEntry* before, const TreeEntry* after) {
    FileChange change;
    change.kind = kind;
    change.type = (after ? after : before)->type;
    change.path = WindowsPath(drive, relative);
    if (before) change.sizeBefore = before->size;
    if (after) change.sizeAfter = after->size;
    return change;
}

}  // namespace

std::string WindowsPath(const std::string& drive, const std::string& relative) {
    std::string path = drive + "\\" + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

bool FileTree::Scan(const std::string& root, std::string& error) {
    entries_.clear();
    std::error_code code;
    fs::recursive_directory_iterator it(root, fs::directory_options::none, code);
    for (; !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
        const fs::directory_entry& entry = *it;
        TreeEntry item;
        const fs::file_status status = entry.symlink_status(code);
        if (code) break;
        if (fs::is_symlink(status)) {
            item.type = EntryType::Link;
        } else if (fs::is_directory(status)) {
            item.type = EntryType::Folder;
        } else {
            item.size = entry.file_size(code);
            if (code) break;
            item.modified = entry.last_write_time(code).time_since_epoch().count();
            if (code) break;
        }
        // Lexically: the canonical path of a link would be its target.
        entries_[entry.path().lexically_relative(root).generic_string()] = item;
    }
    if (code) {
        error = "cannot read " + root + ": " + code.message();
        entries_.clear();
        return false;
    }
    return true;
}

std::vector<FileChange> CompareTrees(const FileTree& before, const FileTree& after,
                                     const std::string& drive) {
    std::vector<FileChange> changes;
    MergeSorted(
        before.Entries(), after.Entries(),
        [&](const std::string& path, const TreeEntry& old) {
            changes.push_back(Entry(ChangeKind::Removed, drive, path, &old, nullptr));
        },
        [&](const std::string& path, const TreeEntry& now) {
            changes.push_back(Entry(ChangeKind::Added, drive, path, nullptr, &now));
        },
        [&](const std::string& path, const TreeEntry& old, const TreeEntry& now) {
            if (old.type != now.type) {
                changes.push_back(Entry(ChangeKind::Removed, drive, path, &old, nullptr));
                changes.push_back(Entry(ChangeKind::Added, drive, path, nullptr, &now));
            } else if (old.type == EntryType::File &&
                       (old.size != now.size || old.modified != now.modified)) {
                changes.push_back(Entry(ChangeKind::Changed, drive, path, &old, &now));
            }
        });
    return changes;
}

}  // namespace vesk::trial
