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
    bool RemoveAtRestart(const std::string& path) override {
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
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
