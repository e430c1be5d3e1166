// Copies of the user's files the install overwrites.
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
    if (!files_.FileExists(path)) return;
    const std::string copy = KeptName(path, stamp_);
    if (files_.RenameFile(path, copy) || files_.DuplicateFile(path, copy)) {
        records_.AddKeptFile(path, copy);
    }
}

void FileKeeper::PutBack(const std::string& path) {
    for (const KeptFile& kept : records_.KeptFiles()) {
        if (kept.original != path || kept.copy.empty()) continue;
        // Should the install's own file still be there, the copy stays under its name for good.
        files_.RenameFile(kept.copy, path);
        records_.MarkPutBack(path);
    }
}

}  // namespace vesk
