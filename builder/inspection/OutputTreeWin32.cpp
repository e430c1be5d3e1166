// The output tree on Windows: every folder below the root is opened as itself (not what a link
// there leads to), checked to be a folder whose final path is the one asked for, and held without
// delete sharing, so it can be neither renamed nor replaced by a link while the tree is open.
#include <windows.h>

#include <map>

#include "builder/inspection/OutputTree.h"
#include "platform/FileTimes.h"
#include "platform/HandleWin32.h"

namespace vesk {
namespace {

std::string SystemError() {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, GetLastError(), 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(GetLastError()) : message;
}

using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);

// Where an open handle really leads, without the "\\?\" prefix; empty when the system cannot tell.
std::string FinalPathOf(HANDLE handle) {
    static const auto finalPath = reinterpret_cast<FinalPathCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (!finalPath) return {};
    std::string text(MAX_PATH, '\0');
    DWORD length = finalPath(handle, &text[0], DWORD(text.size()), 0);
    if (length >= text.size()) {
        text.resize(length + 1);
        length = finalPath(handle, &text[0], DWORD(text.size()), 0);
    }
    if (length == 0 || length >= text.size()) return {};
    text.resize(length);
    if (text.compare(0, 4, "\\\\?\\") == 0) text.erase(0, 4);
    return text;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The entry `path` itself, not what a link there leads to.
HANDLE OpenEntry(const std::string& path, DWORD access, DWORD share) {
    return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

class Win32TreeFile : public TreeFile {
public:
    Win32TreeFile(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
    ~Win32TreeFile() override {
        if (file_) {
            Close();
            if (failed_) DeleteFileA(path_.c_str());
        }
    }

    bool Write(const std::uint8_t* data, std::size_t size) override {
        while (!failed_ && size > 0) {
            const DWORD piece = size > (1u << 30) ? DWORD(1u << 30) : DWORD(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), data, piece, &written, nullptr) || written == 0) {
                failed_ = true;
                break;
            }
            data += written;
            size -= written;
        }
        return !failed_;
    }

    bool SetLocalTime(const CalendarTime& local) override {
        std::int64_t time = 0;
        if (!FileTimeOfLocal(local, time)) return false;
        FILETIME when;
        when.dwLowDateTime = DWORD(std::uint64_t(time));
        when.dwHighDateTime = DWORD(std::uint64_t(time) >> 32);
        return SetFileTime(file_.get(), &when, &when, &when) != 0;
    }

    bool Close() override {
        if (!file_) return !failed_;
        if (!CloseHandle(file_.Release())) failed_ = true;
        return !failed_;
    }

private:
    FileHandle file_;
    std::string path_;
    bool failed_ = false;
};

// Removes the file at `path` when it is a file of its own whose final path is `final` (a file of
// the tree). A link there (which Wine opens as what it leads to, and would delete that), a
// folder, or an entry that cannot be opened is refused and left as it is. The file is deleted
// through the handle that was checked, so nothing swapped in meanwhile is deleted instead.
bool RemoveOwnFile(const std::string& path, const std::string& final, std::string& why) {
    FileHandle entry(OpenEntry(path, DELETE | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    BY_HANDLE_FILE_INFORMATION info;
    if (!entry || !GetFileInformationByHandle(entry.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        (!final.empty() && !SamePath(FinalPathOf(entry.get()), final))) {
        why = path + ": a link is in the way of a file";
        return false;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        why = path + ": a folder is in the way of a file";
        return false;
    }
    // SetFileInformationByHandle (Windows Vista on) with FileDispositionInfo, looked up as the
    // final path is: the headers of older systems lack both.
    using SetInformationCall = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    static const auto setInformation = reinterpret_cast<SetInformationCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetFileInformationByHandle")));
    constexpr int kDispositionInfo = 4;
    BOOLEAN dispose = TRUE;
    if (!setInformation ||
        !setInformation(entry.get(), kDispositionInfo, &dispose, sizeof dispose)) {
        why = path + ": cannot replace the file: " + SystemError();
        return false;
    }
    return true;
}

}  // namespace

struct OutputTree::Handles {
    std::string rootFinal;                      // the root's final path
    std::map<std::string, FileHandle> folders;  // held, by their path below the root
};

OutputTree::OutputTree() = default;
OutputTree::~OutputTree() = default;

bool OutputTree::Open(const std::string& root, std::string& why) {
    std::string path = root;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    // The parents as the caller named them; only below the root are links refused.
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
    FileHandle folder(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) {
        why = root + ": " + SystemError();
        return false;
    }
    handles_ = std::make_unique<Handles>();
    handles_->rootFinal = FinalPathOf(folder.get());
    handles_->folders.emplace("", std::move(folder));
    root_ = path;
    return true;
}

bool OutputTree::CreateFolders(const std::string& relative, std::string& why) {
    if (!handles_) return false;
    std::string below;
    for (const std::string& part : RelativeParts(relative)) {
        below += "\\" + part;
        if (handles_->folders.count(below)) continue;
        const std::string path = root_ + below;
        if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            why = path + ": cannot create the folder: " + SystemError();
            return false;
        }
        FileHandle folder(
            OpenEntry(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE));
        BY_HANDLE_FILE_INFORMATION info;
        if (!folder || !GetFileInformationByHandle(folder.get(), &info)) {
            why = path + ": " + SystemError();
            return false;
        }
        const std::string final = FinalPathOf(folder.get());
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (!handles_->rootFinal.empty() && !SamePath(final, handles_->rootFinal + below))) {
            why = path + ": " +
                  (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "a link" : "a file") +
                  " is in the way of a folder";
            return false;
        }
        handles_->folders.emplace(below, std::move(folder));
    }
    return true;
}

std::unique_ptr<TreeFile> OutputTree::NewFile(const std::string& relative, std::string& why) {
    const std::size_t slash = relative.find_last_of('/');
    if (!handles_ ||
        !CreateFolders(slash == std::string::npos ? "" : relative.substr(0, slash), why)) {
        return nullptr;
    }
    std::string below;
    for (const std::string& part : RelativeParts(relative)) below += "\\" + part;
    const std::string path = root_ + below;
    auto create = [&path] {
        return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    };
    FileHandle file(create());
    if (!file && GetLastError() == ERROR_FILE_EXISTS) {
        if (!RemoveOwnFile(path, handles_->rootFinal + below, why)) return nullptr;
        file.Reset(create());
    }
    if (!file) {
        why = path + ": cannot create the file: " + SystemError();
        return nullptr;
    }
    const std::string final = FinalPathOf(file.get());
    if (!handles_->rootFinal.empty() && !SamePath(final, handles_->rootFinal + below)) {
        why = path + ": a link is in the way of a file";
        file.Reset();
        return nullptr;
    }
    return std::make_unique<Win32TreeFile>(file.Release(), path);
}

}  // namespace vesk
