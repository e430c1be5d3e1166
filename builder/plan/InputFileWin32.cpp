// Opening build-machine files through Win32 handles.
#include <windows.h>

#include "builder/plan/InputFile.h"

namespace vesk {
namespace {

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity identity;
    identity.device = info.dwVolumeSerialNumber;
    identity.index = std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    identity.size = std::uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    identity.writeTime = std::int64_t(std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                      info.ftLastWriteTime.dwLowDateTime);
    return identity;
}

// Opens `path` itself when `noLink` (a link there is opened as the link), else what it leads to.
HANDLE OpenForReading(const std::string& path, bool noLink) {
    return CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | (noLink ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
        nullptr);
}

// Why the open handle is no regular file to read, or "".
std::string Problem(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(file) != FILE_TYPE_DISK) return "is not a regular file (a device or a pipe)";
    if (!GetFileInformationByHandle(file, &info)) return "cannot be read";
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "is a symbolic link";
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "is a folder";
    return "";
}

}  // namespace

bool ReadFileIdentity(const std::string& path, FileIdentity& identity, std::string& why) {
    HANDLE file = OpenForReading(path, true);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        why = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "does not exist"
                                                                             : "cannot be opened";
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    why = Problem(file, info);
    CloseHandle(file);
    if (!why.empty()) return false;
    identity = IdentityOf(info);
    return true;
}

bool InputFile::OpenHandle(bool noLink) {
    HANDLE file = OpenForReading(path_, noLink);
    if (file == INVALID_HANDLE_VALUE) {
        error_ = path_ + ": cannot be opened";
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const std::string problem = Problem(file, info);
    if (!problem.empty()) {
        ::CloseHandle(file);
        error_ = path_ + ": " + problem;
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    identity_ = IdentityOf(info);
    return true;
}

bool InputFile::ReadHandle(void* buffer, std::size_t size, std::size_t& got) {
    DWORD read = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, DWORD(size), &read, nullptr)) {
        return false;
    }
    got = read;
    return true;
}

void InputFile::CloseHandle() {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace vesk
