// The run's temporary files and its journal of changes.
#include "session/InstallRecords.h"

#include <utility>

#include "project/NameCase.h"

namespace vesk {

void InstallRecords::AddTempFile(const std::string& path) {
    LockGuard guard(lock_);
    tempFiles_.push_back(path);
}

std::vector<std::string> InstallRecords::TakeTempFiles() {
    LockGuard guard(lock_);
    return std::exchange(tempFiles_, {});
}

std::vector<std::string> InstallRecords::TempFiles() const {
    LockGuard guard(lock_);
    return tempFiles_;
}

void InstallRecords::Add(Change change) {
    LockGuard guard(lock_);
    changes_.push_back(std::move(change));
}

std::size_t InstallRecords::ChangeCount() const {
    LockGuard guard(lock_);
    return changes_.size();
}

void InstallRecords::KeepAtUninstall(std::size_t first) {
    LockGuard guard(lock_);
    for (std::size_t i = first; i < changes_.size(); ++i) changes_[i].keepAtUninstall = true;
}

void InstallRecords::RemoveWholeAtUninstall(RegistryRoot root, const std::string& keyPath) {
    LockGuard guard(lock_);
    for (Change& change : changes_) {
        if (change.kind == ChangeKind::RegistryKeyCreated && change.root == root &&
            SameName(change.path, keyPath)) {
            change.wholeTree = true;
        }
    }
}

void InstallRecords::NoteStamp(const std::string& path, const FileStamp& stamp) {
    LockGuard guard(lock_);
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) {
        if (IsFileChange(change->kind) && change->path == path) {
            change->stamp = stamp;
            return;
        }
    }
}

std::vector<Change> InstallRecords::TakeChanges() {
    LockGuard guard(lock_);
    return std::exchange(changes_, {});
}

std::vector<Change> InstallRecords::Changes() const {
    LockGuard guard(lock_);
    return changes_;
}

void InstallRecords::AddInstalledFile(const std::string& path) {
    Add(FileChange(ChangeKind::FileCreated, path));
}

void InstallRecords::AddCreatedFolder(const std::string& path) {
    Add(FolderChange(ChangeKind::FolderCreated, path));
}

void InstallRecords::AddKeptFile(const std::string& original, const std::string& copy) {
    Add(FileChange(ChangeKind::FileReplaced, original, copy));
}

void InstallRecords::MarkPutBack(const std::string& original) {
    LockGuard guard(lock_);
    for (Change& change : changes_) {
        if (change.kind == ChangeKind::FileReplaced && change.path == original) change.copy.clear();
    }
}

std::vector<std::string> InstallRecords::InstalledFiles() const {
    LockGuard guard(lock_);
    std::vector<std::string> paths;
    for (const Change& change : changes_) {
        if (IsFileChange(change.kind)) paths.push_back(change.path);
    }
    return paths;
}

std::vector<std::string> InstallRecords::CreatedFolders() const {
    LockGuard guard(lock_);
    std::vector<std::string> paths;
    for (const Change& change : changes_) {
        if (change.kind == ChangeKind::FolderCreated) paths.push_back(change.path);
    }
    return paths;
}

std::vector<KeptFile> InstallRecords::KeptFiles() const {
    LockGuard guard(lock_);
    std::vector<KeptFile> kept;
    for (const Change& change : changes_) {
        if (change.kind == ChangeKind::FileReplaced && !change.copy.empty()) {
            kept.push_back({change.path, change.copy});
        }
    }
    return kept;
}

std::vector<std::string> InstallRecords::TakeInstalledFiles() {
    LockGuard guard(lock_);
    std::vector<std::string> paths;
    std::vector<Change> rest;
    for (Change& change : changes_) {
        if (IsFileChange(change.kind)) {
            paths.push_back(change.path);
        } else {
            rest.push_back(std::move(change));
        }
    }
    changes_ = std::move(rest);
    return paths;
}

std::vector<std::string> InstallRecords::TakeKeptCopies() {
    LockGuard guard(lock_);
    std::vector<std::string> copies;
    for (Change& change : changes_) {
        const bool kept =
            change.kind == ChangeKind::FileReplaced || change.kind == ChangeKind::FileRemoved;
        if (kept && !change.copy.empty()) copies.push_back(std::exchange(change.copy, {}));
    }
    return copies;
}

}  // namespace vesk
