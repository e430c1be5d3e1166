// The file system on Windows, through the ANSI calls.
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/HandleWin32.h"

namespace vesk {
namespace {

class Win32FileSystem : public FileSystem {
public:
    bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
    bool RenameFile(const std::string& from, const std::string& to) override {
        return MoveFileA(from.c_str(), to.c_str()) != 0;
    }
    bool RemoveFolder(const std::string& path) override {
        return RemoveDirectoryA(path.c_str()) != 0;
    }
    bool SetCurrentFolder(const std::string& path) override {
        return SetCurrentDirectoryA(path.c_str()) != 0;
    }
    void Pause(int milliseconds) override { Sleep(DWORD(milliseconds)); }

    bool CreateFolder(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) != 0;
    }
    bool FolderExists(const std::string& path) const override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool FileExists(const std::string& path) const override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DuplicateFile(const std::string& from, const std::string& to) override {
        return CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
    }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        return ::WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) const override {
        FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
    bool ReplaceAtRestart(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
    }
    bool ClearReadOnly(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return false;
        }
        if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
        return SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)) != 0;
    }
    std::optional<FileStamp> Stamp(const std::string& path) const override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
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
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.emplace_back(found.cFileName);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
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
