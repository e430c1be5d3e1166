// Buffered binary reading of a volume file.
#include "container/VolumeFile.h"

#include <cstring>

namespace vesk {

bool VolumeFile::Open(const std::string& path) {
    Close();
    if (!file_.Open(path)) return false;
    path_ = path;
    return true;
}

void VolumeFile::Close() {
    file_.Close();
    path_.clear();
    bufferStart_ = at_ = 0;
    bufferFill_ = 0;
}

bool VolumeFile::Seek(std::int64_t offset) {
    if (!IsOpen() || offset < 0 || offset > Length()) return false;
    at_ = offset;
    return true;
}

bool VolumeFile::Read(void* buffer, std::size_t size) {
    if (!IsOpen() || std::int64_t(size) > Length() - at_) return false;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (size > 0) {
        if (at_ >= bufferStart_ && at_ < bufferStart_ + std::int64_t(bufferFill_)) {
            const std::size_t from = std::size_t(at_ - bufferStart_);
            const std::size_t take = bufferFill_ - from < size ? bufferFill_ - from : size;
            std::memcpy(out, buffer_ + from, take);
            out += take;
            size -= take;
            at_ += std::int64_t(take);
            continue;
        }
        // Large reads go straight to the caller; small ones refill the buffer.
        const bool direct = size >= kBufferSize;
        std::uint8_t* into = direct ? out : buffer_;
        const std::size_t want = direct ? size : kBufferSize;
        std::size_t got = 0;
        if (!file_.Seek(at_) || !file_.Read(into, want, got) || got == 0) return false;
        if (direct) {
            out += got;
            size -= got;
            at_ += std::int64_t(got);
        } else {
            bufferStart_ = at_;
            bufferFill_ = got;
        }
    }
    return true;
}

}  // namespace vesk
