// The run's records of temporary files, installed files and created folders.
#include "session/InstallRecords.h"

#include <utility>

namespace vesk {

void InstallRecords::AddTempFile(const std::string& path) {
    LockGuard guard(lock_);
    tempFiles_.push_back(path);
}

void InstallRecords::AddInstalledFile(const std::string& path) {
    LockGuard guard(lock_);
    installedFiles_.push_back(path);
}

void InstallRecords::AddCreatedFolder(const std::string& path) {
    LockGuard guard(lock_);
    createdFolders_.push_back(path);
}

void InstallRecords::AddKeptFile(const std::string& original, const std::string& copy) {
    LockGuard guard(lock_);
    keptFiles_.push_back(KeptFile{original, copy});
}

void InstallRecords::MarkPutBack(const std::string& original) {
    LockGuard guard(lock_);
    for (KeptFile& kept : keptFiles_) {
        if (kept.original == original) kept.copy.clear();
    }
}

std::vector<std::string> InstallRecords::TakeTempFiles() {
    LockGuard guard(lock_);
    return std::exchange(tempFiles_, {});
}

std::vector<std::string> InstallRecords::TakeInstalledFiles() {
    LockGuard guard(lock_);
    return std::exchange(installedFiles_, {});
}

std::vector<std::string> InstallRecords::TakeCreatedFolders() {
    LockGuard guard(lock_);
    return std::exchange(createdFolders_, {});
}

std::vector<KeptFile> InstallRecords::TakeKeptFiles() {
    LockGuard guard(lock_);
    return std::exchange(keptFiles_, {});
}

std::vector<std::string> InstallRecords::TempFiles() const {
    LockGuard guard(lock_);
    return tempFiles_;
}

std::vector<std::string> InstallRecords::InstalledFiles() const {
    LockGuard guard(lock_);
    return installedFiles_;
}

std::vector<std::string> InstallRecords::CreatedFolders() const {
    LockGuard guard(lock_);
    return createdFolders_;
}

std::vector<KeptFile> InstallRecords::KeptFiles() const {
    LockGuard guard(lock_);
    return keptFiles_;
}

}  // namespace vesk
