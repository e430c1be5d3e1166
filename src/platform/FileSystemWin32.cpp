// The file system on Windows, through the wide calls (long paths prefixed). Below a guarded folder
// every change goes through the folders the guard checked and holds, and through handles of the
// entries themselves, never through a link.
#include <windows.h>

#include "platform/AccessWin32.h"
#include "platform/FileSystem.h"
#include "platform/FileTimes.h"
#include "platform/FinalPathWin32.h"
#include "platform/HandleWin32.h"
#include "platform/LinkGuardWin32.h"
#include "platform/LongPathWin32.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kWriteBlock = 1u << 20;

class Win32NewFile : public NewFile {
public:
    explicit Win32NewFile(HANDLE file) : file_(file) {}
    ~Win32NewFile() override { Close(); }

    bool Write(const std::uint8_t* data, std::size_t size) override {
        while (!failed_ && size > 0) {
            const DWORD piece = size > kWriteBlock ? kWriteBlock : DWORD(size);
            DWORD written = 0;
            if (!file_ || !::WriteFile(file_.get(), data, piece, &written, nullptr) ||
                written != piece) {
                failed_ = true;
                break;
            }
            data += piece;
            size -= piece;
        }
        return !failed_;
    }
    bool SetLocalTime(const CalendarTime& local) override {
        std::int64_t time = 0;
        if (!file_ || !FileTimeOfLocal(local, time)) return false;
        FILETIME when;
        when.dwLowDateTime = DWORD(std::uint64_t(time));
        when.dwHighDateTime = DWORD(std::uint64_t(time) >> 32);
        return SetFileTime(file_.get(), &when, &when, &when) != 0;
    }
    bool Close() override {
        if (file_ && !CloseHandle(file_.Release())) failed_ = true;
        return !failed_;
    }

private:
    FileHandle file_;
    bool failed_ = false;
};

class Win32FileSystem : public FileSystem {
public:
    bool GuardFolder(const std::string& folder) override { return guard_.Guard(folder); }
    void ReleaseFolders() override { guard_.Release(); }

    bool RemoveFile(const std::string& path) override {
        if (!guard_.Covers(path)) return DeleteFileW(LongPath(path).c_str()) != 0;
        return RemoveOwnEntry(path, EntryKind::File);
    }
    bool RenameFile(const std::string& from, const std::string& to) override {
        if ((guard_.Covers(from) || guard_.Covers(to)) &&
            (!OwnEntry(from, EntryKind::File) || !WayClear(to) || Present(to))) {
            return false;
        }
        return MoveFileW(LongPath(from).c_str(), LongPath(to).c_str()) != 0;
    }
    bool RemoveFolder(const std::string& path) override {
        if (!guard_.Covers(path)) {
            guard_.LetGo(path);  // a guarded folder itself
            return RemoveDirectoryW(LongPath(path).c_str()) != 0;
        }
        if (!WayClear(path)) return false;
        guard_.LetGo(path);
        return RemoveOwnEntry(path, EntryKind::Folder);
    }
    bool SetCurrentFolder(const std::string& path) override {
        return SetCurrentDirectoryW(Wide(path).c_str()) != 0;
    }
    void Pause(int milliseconds) override { Sleep(DWORD(milliseconds)); }

    bool CreateFolder(const std::string& path) override {
        if (!guard_.Covers(path)) return CreateDirectoryW(LongPath(path).c_str(), nullptr) != 0;
        std::string why;
        return WayClear(path) && CreateDirectoryW(LongPath(path).c_str(), nullptr) &&
               guard_.HoldFolder(path, why);
    }
    bool FolderExists(const std::string& path) const override {
        DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool FileExists(const std::string& path) const override {
        DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DuplicateFile(const std::string& from, const std::string& to) override {
        if ((guard_.Covers(from) || guard_.Covers(to)) &&
            (!OwnEntry(from, EntryKind::File) || !WayClear(to))) {
            return false;
        }
        return CopyFileW(LongPath(from).c_str(), LongPath(to).c_str(), TRUE) != 0;
    }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        std::string why;
        std::unique_ptr<NewFile> file = CreateAnew(path, why);
        return file &&
               file->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) &&
               file->Close();
    }
    std::unique_ptr<NewFile> CreateAnew(const std::string& path, std::string& why) override {
        if (!guard_.CheckWay(path, why)) return nullptr;
        auto create = [&path] {
            return CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        };
        FileHandle file(create());
        if (!file &&
            (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS)) {
            // A stale file goes first, through a handle checked to be that file; a link (which
            // Wine opens as what it leads to, or cannot open when it dangles) stays.
            if (!RemoveOwnEntry(path, EntryKind::File, &why)) return nullptr;
            file.Reset(create());
        }
        if (!file) {
            why = "cannot create the file (error " + std::to_string(GetLastError()) + ")";
            return nullptr;
        }
        // The way was checked and is held: its last folder's final path is known.
        const std::size_t slash = path.find_last_of("\\/");
        const std::string folderFinal = slash == std::string::npos
                                            ? std::string()
                                            : guard_.HeldFinalPath(path.substr(0, slash));
        if (KindOfEntry(file.get(), path, folderFinal) != EntryKind::File) {
            why = "a link is in the way of a file";
            return nullptr;
        }
        return std::make_unique<Win32NewFile>(file.Release());
    }
    bool ProtectFolder(const std::string& path) override {
        if (!RunsElevated()) return true;
        FileHandle folder(OpenEntry(path, READ_CONTROL | WRITE_DAC, kShareAll));
        if (!folder || KindOfEntry(folder.get(), path) != EntryKind::Folder) return false;
        return !OthersMayWrite(folder.get()) || SetInstallFolderAccess(folder.get());
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) const override {
        FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return std::nullopt;
        std::string bytes;
        char block[64 * 1024];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file.get(), block, sizeof block, &got, nullptr)) return std::nullopt;
            if (got == 0) return bytes;
            bytes.append(block, got);
        }
    }
    bool RemoveAtRestart(const std::string& path) override {
        if (guard_.Covers(path) && (!WayClear(path) || !OwnOrMissing(path))) return false;
        return MoveFileExW(LongPath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
    bool ReplaceAtRestart(const std::string& from, const std::string& to) override {
        if (guard_.Covers(to) && (!WayClear(to) || !OwnOrMissing(to))) return false;
        return MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(),
                           MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
    }
    bool ClearReadOnly(const std::string& path) override {
        if (guard_.Covers(path) && !OwnEntry(path, EntryKind::File)) return false;
        const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return false;
        }
        if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
        return SetFileAttributesW(LongPath(path).c_str(),
                                  attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)) != 0;
    }
    std::optional<FileStamp> Stamp(const std::string& path) const override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }
        FileStamp stamp;
        stamp.size = std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        stamp.writeTime = std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                          data.ftLastWriteTime.dwLowDateTime;
        return stamp;
    }
    std::vector<std::string> FilesIn(const std::string& folder) const override {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(LongPath((folder + "\\*")).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.emplace_back(Narrow(found.cFileName));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

private:
    bool WayClear(const std::string& path) {
        std::string why;
        return guard_.CheckWay(path, why);
    }
    // Whether an entry of any kind, a dangling link included, holds the name.
    static bool Present(const std::string& path) {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(LongPath(path).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    }
    bool OwnEntry(const std::string& path, EntryKind kind) {
        if (!WayClear(path)) return false;
        FileHandle entry(OpenEntry(path, FILE_READ_ATTRIBUTES, kShareAll));
        return entry && KindOfEntry(entry.get(), path) == kind;
    }
    bool OwnOrMissing(const std::string& path) {
        FileHandle entry(OpenEntry(path, FILE_READ_ATTRIBUTES, kShareAll));
        return entry ? KindOfEntry(entry.get(), path) == EntryKind::File : !Present(path);
    }
    // Deletes the entry at `path` through a handle checked to be a `kind` of its own, so neither
    // a link nor anything swapped in meanwhile is deleted instead.
    bool RemoveOwnEntry(const std::string& path, EntryKind kind, std::string* why = nullptr) {
        std::string reason;
        if (!WayClear(path)) return false;
        FileHandle entry(OpenEntry(path, DELETE | FILE_READ_ATTRIBUTES, kShareAll));
        const DWORD error = GetLastError();
        // A name that is taken but cannot be found holds a dangling link (under Wine).
        const bool dangling = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        const EntryKind found = entry      ? KindOfEntry(entry.get(), path)
                                : dangling ? EntryKind::Link
                                           : EntryKind::Missing;
        if (found == kind && DeleteThroughHandle(entry.get())) return true;
        if (found == EntryKind::Link) {
            reason = "a link is in the way of a file";
        } else if (found == EntryKind::Folder && kind == EntryKind::File) {
            reason = "a folder is in the way of a file";
        } else {
            reason = "cannot replace the file (error " +
                     std::to_string(entry ? GetLastError() : error) + ")";
        }
        if (why) *why = reason;
        return false;
    }

    LinkGuard guard_;
};

Win32FileSystem& Host() {
    static Win32FileSystem files;
    return files;
}

}  // namespace

FileSystem& HostFileSystem() {
    return Host();
}

FileRemoval& HostFileRemoval() {
    return Host();
}

}  // namespace vesk
