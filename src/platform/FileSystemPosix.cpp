// The file system on the build host, for native tools and tests.
#include <dirent.h>
#include <fcntl.h>
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

class PosixNewFile : public NewFile {
public:
    explicit PosixNewFile(int file) : file_(file) {}
    ~PosixNewFile() override { Close(); }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        while (!failed_ && size > 0) {
            const ssize_t written = file_ >= 0 ? write(file_, data, size) : -1;
            if (written <= 0) {
                failed_ = true;
                break;
            }
            data += written;
            size -= std::size_t(written);
        }
        return !failed_;
    }
    bool SetLocalTime(const CalendarTime&) override { return file_ >= 0; }
    bool Close() override {
        if (file_ >= 0 && close(file_) != 0) failed_ = true;
        file_ = -1;
        return !failed_;
    }

private:
    int file_;
    bool failed_ = false;
};

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
    std::unique_ptr<NewFile> CreateAnew(const std::string& path, std::string& why) override {
        struct stat info {};
        if (lstat(path.c_str(), &info) == 0) {
            if ((info.st_mode & S_IFMT) != S_IFREG) {
                why = path + ": a link or folder is in the way of a file";
                return nullptr;
            }
            std::remove(path.c_str());
        }
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
        if (file < 0) {
            why = path + ": cannot create the file";
            return nullptr;
        }
        return std::make_unique<PosixNewFile>(file);
    }
    // No access lists to set on the build host.
    bool ProtectFolder(const std::string&) override { return true; }
    std::optional<std::string> ReadWholeFile(const std::string& path) const override {
        if (!IsA(path, S_IFREG)) return std::nullopt;
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // A file in use can be deleted or replaced here: nothing waits for a restart.
    bool RemoveAtRestart(const std::string&) override { return false; }
    bool ReplaceAtRestart(const std::string&, const std::string&) override { return false; }
    bool ClearReadOnly(const std::string& path) override {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 || (info.st_mode & S_IFMT) != S_IFREG) return false;
        return chmod(path.c_str(), info.st_mode | S_IWUSR) == 0;
    }
    std::optional<FileStamp> Stamp(const std::string& path) const override {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 || (info.st_mode & S_IFMT) != S_IFREG) {
            return std::nullopt;
        }
        return FileStamp{std::uint64_t(info.st_size), std::uint64_t(info.st_mtime)};
    }
    std::vector<std::string> FilesIn(const std::string& folder) const override {
        std::vector<std::string> names;
        DIR* listing = opendir(folder.c_str());
        if (!listing) return names;
        while (const dirent* entry = readdir(listing)) {
            const std::string name = entry->d_name;
            if (IsA(folder + "/" + name, S_IFREG)) names.push_back(name);
        }
        closedir(listing);
        return names;
    }
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
