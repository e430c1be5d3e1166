// The in-memory file system.
#include "support/MemoryFileSystem.h"

#include <algorithm>

#include "project/PathParts.h"

namespace vesk::test {
namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool IsDriveRoot(const std::string& path) {
    return path.size() <= 3 && path.size() >= 2 && path[1] == ':';
}

}  // namespace

bool CaseLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
}

void MemoryFileSystem::Put(const std::string& path, const std::string& content) {
    AddFolders(FolderOf(path));
    files[path] = content;
    Written(path);
}

void MemoryFileSystem::Written(const std::string& path) {
    times[path] = ++clock_;
}

void MemoryFileSystem::AddFolders(const std::string& path) {
    for (std::string folder = path; !folder.empty() && !IsDriveRoot(folder);
         folder = FolderOf(folder)) {
        folders.insert(folder);
    }
}

bool MemoryFileSystem::ParentExists(const std::string& path) const {
    const std::string parent = FolderOf(path);
    return IsDriveRoot(parent) || folders.count(parent) != 0;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
    if (locked.count(path) || readOnly.count(path)) return false;
    times.erase(path);
    return files.erase(path) != 0;
}

bool MemoryFileSystem::RenameFile(const std::string& from, const std::string& to) {
    auto source = files.find(from);
    if (source == files.end() || locked.count(from) || files.count(to) || !ParentExists(to)) {
        return false;
    }
    std::string content = source->second;
    files.erase(source);
    files[to] = content;
    times[to] = times[from];
    times.erase(from);
    if (readOnly.erase(from)) readOnly.insert(to);
    return true;
}

bool MemoryFileSystem::RemoveFolder(const std::string& path) {
    log.push_back("rmdir " + path);
    const std::string prefix = path + "\\";
    auto below = [&](const std::string& name) {
        return name.size() > prefix.size() && !CaseLess()(name.substr(0, prefix.size()), prefix) &&
               !CaseLess()(prefix, name.substr(0, prefix.size()));
    };
    for (const auto& file : files) {
        if (below(file.first)) return false;
    }
    for (const std::string& folder : folders) {
        if (below(folder)) return false;
    }
    return folders.erase(path) != 0;
}

bool MemoryFileSystem::SetCurrentFolder(const std::string& path) {
    log.push_back("cd " + path);
    return !refuseCurrentFolder;
}

void MemoryFileSystem::Pause(int milliseconds) {
    log.push_back("wait " + std::to_string(milliseconds));
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
    if (IsDriveRoot(path) || folders.count(path) || files.count(path) || !ParentExists(path)) {
        return false;
    }
    folders.insert(path);
    return true;
}

bool MemoryFileSystem::FolderExists(const std::string& path) const {
    return IsDriveRoot(path) || folders.count(path) != 0;
}

bool MemoryFileSystem::FileExists(const std::string& path) const {
    ++existenceChecks;
    return files.count(path) != 0;
}

bool MemoryFileSystem::DuplicateFile(const std::string& from, const std::string& to) {
    auto source = files.find(from);
    if (source == files.end() || files.count(to) || !ParentExists(to)) return false;
    std::string content = source->second;
    files[to] = content;
    times[to] = times[from];
    return true;
}

bool MemoryFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::string why;
    std::unique_ptr<NewFile> file = CreateAnew(path, why);
    return file && file->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

namespace {

// Appends to the file's content in the map as it is written.
class MemoryNewFile : public NewFile {
public:
    explicit MemoryNewFile(std::string& content) : content_(content) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        content_.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    bool SetLocalTime(const CalendarTime&) override { return true; }
    bool Close() override { return true; }

private:
    std::string& content_;
};

}  // namespace

std::unique_ptr<NewFile> MemoryFileSystem::CreateAnew(const std::string& path, std::string& why) {
    if (links.count(path)) {
        why = "a link is in the way of a file";
        return nullptr;
    }
    if (folders.count(path)) {
        why = "a folder is in the way of a file";
        return nullptr;
    }
    if (locked.count(path) || readOnly.count(path) || !ParentExists(path)) {
        why = "cannot create the file";
        return nullptr;
    }
    std::string& content = files[path];
    content.clear();
    Written(path);
    return std::make_unique<MemoryNewFile>(content);
}

bool MemoryFileSystem::ProtectFolder(const std::string& path) {
    protectedFolders.push_back(path);
    return folders.count(path) != 0;
}

bool MemoryFileSystem::GuardFolder(const std::string& folder) {
    guarded.push_back(folder);
    return true;
}

std::optional<std::string> MemoryFileSystem::ReadWholeFile(const std::string& path) const {
    const auto file = files.find(path);
    if (file == files.end()) return std::nullopt;
    return file->second;
}

bool MemoryFileSystem::RemoveAtRestart(const std::string& path) {
    if (refuseRestart) return false;
    atRestart.push_back(path);
    return true;
}

bool MemoryFileSystem::ReplaceAtRestart(const std::string& from, const std::string& to) {
    if (refuseRestart) return false;
    atRestart.push_back(from + " > " + to);
    return true;
}

bool MemoryFileSystem::ClearReadOnly(const std::string& path) {
    if (!files.count(path)) return false;
    readOnly.erase(path);
    return true;
}

std::optional<FileStamp> MemoryFileSystem::Stamp(const std::string& path) const {
    const auto file = files.find(path);
    if (file == files.end()) return std::nullopt;
    const auto time = times.find(path);
    return FileStamp{file->second.size(), time == times.end() ? 0 : time->second};
}

std::vector<std::string> MemoryFileSystem::FilesIn(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& file : files) {
        if (!CaseLess()(FolderOf(file.first), folder) &&
            !CaseLess()(folder, FolderOf(file.first))) {
            names.push_back(FileNameOf(file.first));
        }
    }
    return names;
}

}  // namespace vesk::test
