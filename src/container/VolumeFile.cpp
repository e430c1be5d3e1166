// Buffered binary reading of a volume file.
#include "container/VolumeFile.h"

namespace vesk {

bool VolumeFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    std::setvbuf(file_, streamBuffer_, _IOFBF, sizeof streamBuffer_);
    long length = -1;
    if (std::fseek(file_, 0, SEEK_END) == 0) length = std::ftell(file_);
    if (length < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        Close();
        return false;
    }
    path_ = path;
    length_ = length;
    return true;
}

void VolumeFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    path_.clear();
    length_ = 0;
}

bool VolumeFile::Seek(std::int64_t offset) {
    return file_ && offset >= 0 && offset <= length_ &&
           std::fseek(file_, long(offset), SEEK_SET) == 0;
}

bool VolumeFile::Read(void* buffer, std::size_t size) {
    return file_ && std::fread(buffer, 1, size, file_) == size;
}

}  // namespace vesk
