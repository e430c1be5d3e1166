// The run's records of temporary files, installed files and created folders.
#include "session/InstallRecords.h"

#include <utility>

namespace vesk {

void InstallRecords::AddTempFile(const std::string& path) {
    std::lock_guard<std::mutex> guard(lock_);
    tempFiles_.push_back(path);
}

void InstallRecords::AddInstalledFile(const std::string& path) {
    std::lock_guard<std::mutex> guard(lock_);
    installedFiles_.push_back(path);
}

void InstallRecords::AddCreatedFolder(const std::string& path) {
    std::lock_guard<std::mutex> guard(lock_);
    createdFolders_.push_back(path);
}

void InstallRecords::AddKeptFile(const std::string& original, const std::string& copy) {
    std::lock_guard<std::mutex> guard(lock_);
    keptFiles_.push_back(KeptFile{original, copy});
}

void InstallRecords::MarkPutBack(const std::string& original) {
    std::lock_guard<std::mutex> guard(lock_);
    for (KeptFile& kept : keptFiles_) {
        if (kept.original == original) kept.copy.clear();
    }
}

std::vector<std::string> InstallRecords::TakeTempFiles() {
    std::lock_guard<std::mutex> guard(lock_);
    return std::exchange(tempFiles_, {});
}

std::vector<std::string> InstallRecords::TakeInstalledFiles() {
    std::lock_guard<std::mutex> guard(lock_);
    return std::exchange(installedFiles_, {});
}

std::vector<std::string> InstallRecords::TakeCreatedFolders() {
    std::lock_guard<std::mutex> guard(lock_);
    return std::exchange(createdFolders_, {});
}

std::vector<KeptFile> InstallRecords::TakeKeptFiles() {
    std::lock_guard<std::mutex> guard(lock_);
    return std::exchange(keptFiles_, {});
}

std::vector<std::string> InstallRecords::TempFiles() const {
    std::lock_guard<std::mutex> guard(lock_);
    return tempFiles_;
}

std::vector<std::string> InstallRecords::InstalledFiles() const {
    std::lock_guard<std::mutex> guard(lock_);
    return installedFiles_;
}

std::vector<std::string> InstallRecords::CreatedFolders() const {
    std::lock_guard<std::mutex> guard(lock_);
    return createdFolders_;
}

std::vector<KeptFile> InstallRecords::KeptFiles() const {
    std::lock_guard<std::mutex> guard(lock_);
    return keptFiles_;
}

}  // namespace vesk
