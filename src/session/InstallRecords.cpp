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

}  // namespace vesk
