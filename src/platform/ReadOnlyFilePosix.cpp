// Reading a regular file through a POSIX descriptor.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ReadOnlyFile.h"

namespace vesk {

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    // Without blocking: opening a FIFO would otherwise wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return false;
    }
    handle_ = fd;
    length_ = st.st_size;
    return true;
}

void ReadOnlyFile::Close() {
    if (IsOpen()) close(int(handle_));
    handle_ = kClosed;
    length_ = 0;
}

bool ReadOnlyFile::Seek(std::int64_t offset) {
    return IsOpen() && offset >= 0 && lseek(int(handle_), off_t(offset), SEEK_SET) == off_t(offset);
}

bool ReadOnlyFile::Read(void* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    if (!IsOpen()) return false;
    for (;;) {
        const ssize_t n = read(int(handle_), buffer, size);
        if (n >= 0) {
            got = std::size_t(n);
            return true;
        }
        if (errno != EINTR) return false;
    }
}

}  // namespace vesk
