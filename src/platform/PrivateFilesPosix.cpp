// The private temporary folder and its files on the build host: a folder of mode 0700, files
// created with O_EXCL and O_NOFOLLOW, and a re-read check when a file is sealed.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "platform/PrivateFiles.h"

namespace vesk {
namespace {

constexpr int kNameAttempts = 16;
constexpr std::size_t kBlock = 64 * 1024;

// The engine writes Windows paths: a backslash separates folders here as well.
std::string HostPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string RandomText() {
    std::random_device source;
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const unsigned value = source();
        for (int shift = 0; shift < 16; shift += 4) text += kDigits[(value >> shift) & 15];
    }
    return text;
}

bool RemoveTree(const std::string& folder) {
    bool complete = true;
    if (DIR* listing = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(listing)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "/" + name;
            struct stat info {};
            if (lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                complete &= RemoveTree(path);
            } else {
                complete &= unlink(path.c_str()) == 0;  // a link goes itself
            }
        }
        closedir(listing);
    }
    return rmdir(folder.c_str()) == 0 && complete;
}

class PosixHeldFile : public HeldFile {
public:
    PosixHeldFile(std::string path, int descriptor) : path_(std::move(path)), fd_(descriptor) {}
    ~PosixHeldFile() override { Close(); }

    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (sealed_ || failed_) return false;
        written_.append(reinterpret_cast<const char*>(data), size);
        while (size > 0) {
            const ssize_t done = write(fd_, data, size);
            if (done <= 0) {
                failed_ = true;
                return false;
            }
            data += done;
            size -= std::size_t(done);
        }
        return true;
    }

    bool Seal() override {
        if (sealed_ || failed_) return false;
        sealed_ = true;
        Close();
        fd_ = open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        struct stat info {};
        if (fd_ < 0 || fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return Close();
        std::string found;
        char block[kBlock];
        ssize_t got = 0;
        while ((got = read(fd_, block, sizeof block)) > 0) found.append(block, std::size_t(got));
        if (got < 0 || found != written_) return Close();
        written_.clear();
        return true;
    }

private:
    bool Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
        return false;
    }

    std::string path_;
    int fd_;
    std::string written_;  // small files only are written here (tests, tools)
    bool sealed_ = false;
    bool failed_ = false;
};

class PosixPrivateFolder : public PrivateFolder {
public:
    explicit PosixPrivateFolder(std::string path) : PrivateFolder(std::move(path)) {}
    bool RemoveWithContents() override { return RemoveTree(HostPath(Path())); }
};

class PosixPrivateFiles : public PrivateFiles {
public:
    std::unique_ptr<PrivateFolder> CreatePrivateFolder(const std::string& parent,
                                                       const std::string& prefix) override {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const std::string path = parent + "\\" + prefix + RandomText();
            if (mkdir(HostPath(path).c_str(), 0700) == 0) {
                return std::make_unique<PosixPrivateFolder>(path);
            }
            if (errno != EEXIST) return nullptr;
        }
        return nullptr;
    }

    std::unique_ptr<HeldFile> CreateNewFile(const std::string& path) override {
        const std::string host = HostPath(path);
        const int fd =
            open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) return nullptr;
        return std::make_unique<PosixHeldFile>(host, fd);
    }
};

}  // namespace

PrivateFiles& HostPrivateFiles() {
    static PosixPrivateFiles files;
    return files;
}

}  // namespace vesk
