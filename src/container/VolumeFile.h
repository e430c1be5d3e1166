// One open volume file of the container (the setup executable or a "SetupN.Cab"), read-only and
// held so that no one can change it while it is open (see platform/ReadOnlyFile.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/ReadOnlyFile.h"

namespace vesk {

class VolumeFile {
public:
    VolumeFile() = default;
    VolumeFile(const VolumeFile&) = delete;
    VolumeFile& operator=(const VolumeFile&) = delete;

    // Closes what is open, then opens `path` for binary reading and measures its length.
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return file_.IsOpen(); }
    const std::string& Path() const { return path_; }
    std::int64_t Length() const { return file_.Length(); }

    bool Seek(std::int64_t offset);
    // Reads exactly `size` bytes; false on a short read.
    bool Read(void* buffer, std::size_t size);

private:
    static constexpr std::size_t kBufferSize = 65536;

    ReadOnlyFile file_;
    std::string path_;
    // The file's bytes from `bufferStart_`, `bufferFill_` of them; the next read is at `at_`.
    std::int64_t bufferStart_ = 0;
    std::size_t bufferFill_ = 0;
    std::int64_t at_ = 0;
    std::uint8_t buffer_[kBufferSize];  // so reading allocates nothing
};

}  // namespace vesk
