// Reading a file with writers, renames and deletes shut out by the sharing mode.
#include <windows.h>

#include "platform/LongPathWin32.h"
#include "platform/ReadOnlyFile.h"

namespace vesk {

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    HANDLE file =
        CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    length_ = size.QuadPart;
    return true;
}

void ReadOnlyFile::Close() {
    if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = kClosed;
    length_ = 0;
}

bool ReadOnlyFile::Seek(std::int64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return IsOpen() &&
           SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), to, nullptr, FILE_BEGIN) != 0;
}

bool ReadOnlyFile::Read(void* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    DWORD read = 0;
    if (!IsOpen() ||
        !ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, DWORD(size), &read, nullptr)) {
        return false;
    }
    got = read;
    return true;
}

}  // namespace vesk
