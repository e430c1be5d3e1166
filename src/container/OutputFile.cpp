// Binary output for extracted files.
#include "container/OutputFile.h"

#include "platform/FileOpen.h"

namespace vesk {

bool OutputFile::Create(const std::string& path) {
    Close();
    file_ = OpenFile(path, "wb");
    failed_ = false;
    return file_ != nullptr;
}

bool OutputFile::Write(const std::uint8_t* data, std::size_t size) {
    if (!file_ || std::fwrite(data, 1, size, file_) != size) failed_ = true;
    return !failed_;
}

bool OutputFile::Close() {
    if (!file_) return !failed_;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace vesk
