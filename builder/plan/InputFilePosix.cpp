// Opening build-machine files through POSIX descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "builder/plan/InputFile.h"

namespace vesk {
namespace {

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity identity;
    identity.device = std::uint64_t(st.st_dev);
    identity.index = std::uint64_t(st.st_ino);
    identity.size = std::uint64_t(st.st_size);
    identity.writeTime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return identity;
}

std::string NotRegular(const struct stat& st) {
    if (S_ISLNK(st.st_mode)) return "is a symbolic link";
    if (S_ISDIR(st.st_mode)) return "is a folder";
    return "is not a regular file (a device or a pipe)";
}

}  // namespace

bool ReadFileIdentity(const std::string& path, FileIdentity& identity, std::string& why) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        why = errno == ENOENT ? "does not exist" : std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        why = NotRegular(st);
        return false;
    }
    identity = IdentityOf(st);
    return true;
}

bool InputFile::OpenHandle(bool noLink) {
    // Without blocking: opening a FIFO would otherwise wait for a writer.
    const int fd = open(path_.c_str(),
                        O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (noLink ? O_NOFOLLOW : 0));
    if (fd < 0) {
        error_ = path_ + ": " +
                 (errno == ELOOP && noLink
                      ? std::string("is a symbolic link (replaced while the setup was built)")
                      : "cannot be opened: " + std::string(std::strerror(errno)));
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        error_ = path_ + ": " + NotRegular(st);
        close(fd);
        return false;
    }
    handle_ = fd;
    identity_ = IdentityOf(st);
    return true;
}

bool InputFile::ReadHandle(void* buffer, std::size_t size, std::size_t& got) {
    for (;;) {
        const ssize_t n = read(int(handle_), buffer, size);
        if (n >= 0) {
            got = std::size_t(n);
            return true;
        }
        if (errno != EINTR) return false;
    }
}

void InputFile::CloseHandle() {
    close(int(handle_));
}

}  // namespace vesk
