// Journalling the install's file changes and keeping the user's files they touch.
#include "install/FileKeeper.h"

#include "platform/Concat.h"
#include "project/NameCase.h"

namespace vesk {

std::string FileKeeper::KeptName(const std::string& path, const std::string& stamp) {
    return Concat({path, ".~VeskKeep", stamp});
}

void FileKeeper::BeforeWrite(const std::string& path) {
    // A second write of one path must not take the install's own first file for the user's.
    if (!written_.insert(UpperName(path)).second) return;
    if (InNewFolder(path) || !files_.FileExists(path)) {
        records_.Add(FileChange(ChangeKind::FileCreated, path));
        return;
    }
    const std::string copy = KeptName(path, stamp_);
    if (files_.RenameFile(path, copy) || files_.DuplicateFile(path, copy)) {
        records_.AddKeptFile(path, copy);
    } else {
        records_.Add(FileChange(ChangeKind::FileOverwritten, path));
    }
}

void FileKeeper::NoteNewFolder(const std::string& folder) {
    std::string name = UpperName(folder);
    while (name.size() > 3 && (name.back() == '\\' || name.back() == '/')) name.pop_back();
    newFolders_.insert(std::move(name));
}

bool FileKeeper::InNewFolder(const std::string& path) const {
    const std::size_t at = path.find_last_of("\\/");
    if (at == std::string::npos || newFolders_.empty()) return false;
    return newFolders_.count(UpperName(path.substr(0, at))) != 0;
}

void FileKeeper::AfterWrite(const std::string& path) {
    if (const std::optional<FileStamp> stamp = files_.Stamp(path)) records_.NoteStamp(path, *stamp);
}

void FileKeeper::PutBack(const std::string& path) {
    for (const KeptFile& kept : records_.KeptFiles()) {
        if (kept.original != path || kept.copy.empty()) continue;
        // Should the install's own file still be there, the copy stays under its name for good.
        files_.RenameFile(kept.copy, path);
        records_.MarkPutBack(path);
    }
}

bool FileKeeper::Remove(const std::string& path) {
    if (written_.count(UpperName(path)) != 0) return files_.RemoveFile(path);
    if (!files_.FileExists(path)) return false;
    const std::string copy = KeptName(path, stamp_);
    if (!files_.RenameFile(path, copy)) {
        // A file that cannot be renamed may still be copied and deleted.
        if (!files_.DuplicateFile(path, copy)) return false;
        if (!files_.RemoveFile(path)) {
            files_.RemoveFile(copy);
            return false;
        }
    }
    records_.Add(FileChange(ChangeKind::FileRemoved, path, copy));
    return true;
}

}  // namespace vesk
