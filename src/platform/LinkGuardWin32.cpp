// Guarded folders on Windows.
#include "platform/LinkGuardWin32.h"

#include "platform/FinalPathWin32.h"
#include "platform/LongPathWin32.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

std::string Upper(const std::string& text) {
    WideText wide = Wide(text);
    if (!wide.empty()) CharUpperBuffW(&wide[0], DWORD(wide.size()));
    return Narrow(wide);
}

// Positions of the backslashes after `from` (a UTF-8 character holds no byte below 0x80).
std::vector<std::size_t> Separators(const std::string& path, std::size_t from) {
    std::vector<std::size_t> at;
    for (std::size_t i = from; i < path.size(); ++i) {
        if (path[i] == '\\') {
            at.push_back(i);
        }
    }
    return at;
}

constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

}  // namespace

std::string FullPath(const std::string& path) {
    const WideText wide = Wide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    WideText full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    return length > 0 && length < size ? Narrow(full.data(), length) : path;
}

EntryKind KindOfEntry(HANDLE entry, const std::string& path, const std::string& folderFinal) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(entry, &info)) return EntryKind::Missing;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::Link;
    // Where the name says the entry lies: the final path of its folder and its own name.
    const std::string full = FullPath(path);
    const std::size_t slash = full.find_last_of('\\');
    const std::string folder =
        !folderFinal.empty() ? folderFinal : FinalPathOfEntry(full.substr(0, slash));
    const std::string reached = FinalPathOf(entry);
    if (!folder.empty() && !reached.empty()) {
        std::string expected = folder;
        if (expected.back() != '\\') expected += '\\';
        expected += full.substr(slash + 1);
        if (!SamePath(reached, expected)) return EntryKind::Link;
    }
    return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? EntryKind::Folder : EntryKind::File;
}

bool LinkGuard::Guard(const std::string& folder) {
    std::string full = FullPath(folder);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    // The folder as it is found, links and all: only below it are links refused.
    FileHandle hold(CreateFileW(LongPath(full).c_str(), FILE_READ_ATTRIBUTES, kShareAllButDelete,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!hold) return false;
    LockGuard locked(lock_);
    roots_.push_back({full, FinalPathOf(hold.get())});
    rootHolds_.push_back(std::move(hold));
    return true;
}

void LinkGuard::Release() {
    LockGuard locked(lock_);
    held_.clear();
    rootHolds_.clear();
    roots_.clear();
}

const LinkGuard::Root* LinkGuard::RootOf(const std::string& full) const {
    for (const Root& root : roots_) {
        if (full.size() > root.path.size() && IsInside(full, root.path)) return &root;
    }
    return nullptr;
}

bool LinkGuard::Covers(const std::string& path) const {
    LockGuard locked(lock_);
    return RootOf(FullPath(path)) != nullptr;
}

bool LinkGuard::Hold(const std::string& folder, const std::string& expected, std::string& why) {
    const std::string key = Upper(folder);
    if (held_.count(key)) return true;
    FileHandle entry(OpenEntry(folder, FILE_READ_ATTRIBUTES, kShareAllButDelete));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!entry || !GetFileInformationByHandle(entry.get(), &info)) {
        why = folder + ": the folder is missing";
        return false;
    }
    const std::string reached = FinalPathOf(entry.get());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        (!reached.empty() && !expected.empty() && !SamePath(reached, expected))) {
        why = folder + ": a link is in the way of a folder";
        return false;
    }
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        why = folder + ": a file is in the way of a folder";
        return false;
    }
    held_.emplace(key, std::move(entry));
    return true;
}

bool LinkGuard::CheckWay(const std::string& path, std::string& why) {
    const std::string full = FullPath(path);
    LockGuard locked(lock_);
    const Root* root = RootOf(full);
    if (!root) return true;
    // Every folder between the guarded one and the entry's own name.
    for (std::size_t at : Separators(full, root->path.size() + 1)) {
        const std::string folder = full.substr(0, at);
        const std::string expected =
            root->final.empty() ? std::string() : root->final + folder.substr(root->path.size());
        if (!Hold(folder, expected, why)) return false;
    }
    return true;
}

bool LinkGuard::HoldFolder(const std::string& path, std::string& why) {
    std::string full = FullPath(path);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    if (!CheckWay(full, why)) return false;
    LockGuard locked(lock_);
    const Root* root = RootOf(full);
    if (!root) return true;
    const std::string expected =
        root->final.empty() ? std::string() : root->final + full.substr(root->path.size());
    return Hold(full, expected, why);
}

std::string LinkGuard::HeldFinalPath(const std::string& path) const {
    std::string full = FullPath(path);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    LockGuard locked(lock_);
    for (const Root& guarded : roots_) {
        if (SamePath(guarded.path, full)) return guarded.final;  // held since it was guarded
    }
    const Root* root = RootOf(full);
    if (!root || root->final.empty() || held_.count(Upper(full)) == 0) return std::string();
    return root->final + full.substr(root->path.size());
}

void LinkGuard::LetGo(const std::string& path) {
    std::string full = FullPath(path);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    LockGuard locked(lock_);
    held_.erase(Upper(full));
    for (std::size_t i = 0; i < roots_.size(); ++i) {
        if (SamePath(roots_[i].path, full)) rootHolds_[i].Reset();
    }
}

}  // namespace vesk
