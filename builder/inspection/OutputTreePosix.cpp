// The output tree on POSIX systems: every step below the root goes through openat() from the
// folder above it with O_NOFOLLOW, so a link anywhere below the root is met, not followed.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "builder/inspection/OutputTree.h"
#include "platform/FileTimes.h"

namespace vesk {
namespace {

constexpr mode_t kFolderMode = 0777;  // less the umask, as mkdir gives
constexpr mode_t kFileMode = 0666;

std::string SystemError() {
    return std::strerror(errno);
}

// A descriptor closed when the object goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset(int fd = -1) {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// What lies at `name` in the folder `dir`, for the message: "a link", "a file", ...
std::string WhatIsAt(int dir, const std::string& name) {
    struct stat st;
    if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return "nothing";
    if (S_ISLNK(st.st_mode)) return "a link";
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISREG(st.st_mode)) return "a file";
    return "a device or a pipe";
}

// The folder `name` in `dir`, made when missing; refused when anything else is in the way.
Descriptor OpenFolderIn(int dir, const std::string& name, const std::string& shown,
                        std::string& why) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    Descriptor folder(openat(dir, name.c_str(), kFlags));
    if (!folder && errno == ENOENT) {
        if (mkdirat(dir, name.c_str(), kFolderMode) != 0 && errno != EEXIST) {
            why = shown + ": cannot create the folder: " + SystemError();
            return Descriptor();
        }
        folder.Reset(openat(dir, name.c_str(), kFlags));
    }
    if (!folder) {
        const std::string what = WhatIsAt(dir, name);
        why = shown + ": " +
              (what == "nothing" || what == "a folder" ? SystemError()
                                                       : what + " is in the way of a folder");
    }
    return folder;
}

class PosixTreeFile : public TreeFile {
public:
    PosixTreeFile(Descriptor file, int folder, std::string name)
        : file_(std::move(file)), folder_(dup(folder)), name_(std::move(name)) {}
    ~PosixTreeFile() override {
        if (file_) {
            Close();
            if (failed_) unlinkat(folder_.get(), name_.c_str(), 0);
        }
    }

    bool Write(const std::uint8_t* data, std::size_t size) override {
        while (!failed_ && size > 0) {
            const ssize_t written = write(file_.get(), data, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                failed_ = true;
                break;
            }
            data += written;
            size -= std::size_t(written);
        }
        return !failed_;
    }

    bool SetLocalTime(const CalendarTime& local) override {
        std::int64_t when = 0;
        if (!FileTimeOfLocal(local, when)) return false;
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = std::time_t(when);
        times[0].tv_nsec = times[1].tv_nsec = 0;
        return futimens(file_.get(), times) == 0;
    }

    bool Close() override {
        if (!file_) return !failed_;
        if (close(file_.Release()) != 0) failed_ = true;
        return !failed_;
    }

private:
    Descriptor file_;
    Descriptor folder_;
    std::string name_;
    bool failed_ = false;
};

}  // namespace

struct OutputTree::Handles {
    Descriptor root;
};

OutputTree::OutputTree() = default;
OutputTree::~OutputTree() = default;

bool OutputTree::Open(const std::string& root, std::string& why) {
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    handles_ = std::make_unique<Handles>();
    handles_->root.Reset(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!handles_->root) {
        why = root + ": " + (ec ? ec.message() : SystemError());
        return false;
    }
    root_ = root;
    return true;
}

bool OutputTree::CreateFolders(const std::string& relative, std::string& why) {
    if (!handles_) return false;
    Descriptor folder(dup(handles_->root.get()));
    std::string shown = root_;
    for (const std::string& part : RelativeParts(relative)) {
        shown += "/" + part;
        folder = OpenFolderIn(folder.get(), part, shown, why);
        if (!folder) return false;
    }
    return true;
}

std::unique_ptr<TreeFile> OutputTree::NewFile(const std::string& relative, std::string& why) {
    std::vector<std::string> parts = RelativeParts(relative);
    if (!handles_ || parts.empty()) return nullptr;
    const std::string name = parts.back();
    parts.pop_back();
    Descriptor folder(dup(handles_->root.get()));
    std::string shown = root_;
    for (const std::string& part : parts) {
        shown += "/" + part;
        folder = OpenFolderIn(folder.get(), part, shown, why);
        if (!folder) return nullptr;
    }
    shown += "/" + name;
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    Descriptor file(openat(folder.get(), name.c_str(), kFlags, kFileMode));
    if (!file && errno == EEXIST) {
        // Replaced only when it is a file of its own: a link or a folder stays and is refused.
        const std::string what = WhatIsAt(folder.get(), name);
        if (what != "a file") {
            why = shown + ": " + what + " is in the way of a file";
            return nullptr;
        }
        if (unlinkat(folder.get(), name.c_str(), 0) != 0) {
            why = shown + ": cannot replace the file: " + SystemError();
            return nullptr;
        }
        file.Reset(openat(folder.get(), name.c_str(), kFlags, kFileMode));
    }
    if (!file) {
        why = shown + ": cannot create the file: " + SystemError();
        return nullptr;
    }
    return std::make_unique<PosixTreeFile>(std::move(file), folder.get(), name);
}

}  // namespace vesk
