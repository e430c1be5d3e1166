// One open volume file of the container (the setup executable or a "SetupN.Cab"), read-only.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vesk {

class VolumeFile {
public:
    VolumeFile() = default;
    ~VolumeFile() { Close(); }
    VolumeFile(const VolumeFile&) = delete;
    VolumeFile& operator=(const VolumeFile&) = delete;

    // Closes what is open, then opens `path` for binary reading and measures its length.
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    std::int64_t Length() const { return length_; }

    bool Seek(std::int64_t offset);
    // Reads exactly `size` bytes; false on a short read.
    bool Read(void* buffer, std::size_t size);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::int64_t length_ = 0;
    char streamBuffer_[65536];  // stdio buffer, so reading allocates nothing
};

}  // namespace vesk
