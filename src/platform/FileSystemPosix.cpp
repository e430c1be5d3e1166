// The file system on the build host, for native tools and tests.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/FileSystem.h"

namespace vesk {
namespace {

bool IsA(const std::string& path, mode_t kind) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == kind;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

class PosixFileSystem : public FileSystem {
public:
    bool RemoveFile(const std::string& path) override { return std::remove(path.c_str()) == 0; }
    bool RenameFile(const std::string& from, const std::string& to) override {
        return !Exists(to) && std::rename(from.c_str(), to.c_str()) == 0;
    }
    bool RemoveFolder(const std::string& path) override { return rmdir(path.c_str()) == 0; }
    bool SetCurrentFolder(const std::string& path) override { return chdir(path.c_str()) == 0; }
    void Pause(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    bool CreateFolder(const std::string& path) override { return mkdir(path.c_str(), 0777) == 0; }
    bool FolderExists(const std::string& path) const override { return IsA(path, S_IFDIR); }
    bool FileExists(const std::string& path) const override { return IsA(path, S_IFREG); }
    bool DuplicateFile(const std::string& from, const std::string& to) override {
        if (Exists(to)) return false;
        std::ifstream in(from, std::ios::binary);
        if (!in) return false;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return WriteWholeFile(to, bytes);
    }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        return bool(out);
    }
    // A file in use can be deleted here: nothing waits for a restart.
    bool RemoveAtRestart(const std::string&) override { return false; }
};

PosixFileSystem& Host() {
    static PosixFileSystem files;
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
