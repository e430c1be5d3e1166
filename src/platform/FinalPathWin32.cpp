// Final paths and deletion through a checked handle.
#include "platform/FinalPathWin32.h"

#include "platform/HandleWin32.h"
#include "platform/LongPathWin32.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// Looked up by name: the headers of systems before Windows Vista lack both.
using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using SetInformationCall = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

template <typename Call>
Call Kernel32(const char* name) {
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

std::string FinalPathOf(HANDLE handle) {
    static const auto finalPath = Kernel32<FinalPathCall>("GetFinalPathNameByHandleW");
    if (!finalPath) return {};
    WideText text(MAX_PATH, L'\0');
    DWORD length = finalPath(handle, &text[0], DWORD(text.size()), 0);
    if (length >= text.size()) {
        text.resize(length + 1);
        length = finalPath(handle, &text[0], DWORD(text.size()), 0);
    }
    if (length == 0 || length >= text.size()) return {};
    text.resize(length);
    constexpr wchar_t kLongPrefix[] = L"\\\\?\\";
    constexpr std::size_t kPrefixSize = sizeof kLongPrefix / sizeof kLongPrefix[0] - 1;
    if (text.compare(0, kPrefixSize, kLongPrefix) == 0) text.erase(0, kPrefixSize);
    return Narrow(text);
}

HANDLE OpenEntry(const std::string& path, DWORD access, DWORD share) {
    return CreateFileW(LongPath(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::string FinalPathOfEntry(const std::string& path) {
    FileHandle entry(OpenEntry(path, FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
    return entry ? FinalPathOf(entry.get()) : std::string();
}

bool IsInside(const std::string& path, const std::string& folder) {
    if (path.size() < folder.size()) return false;
    if (path.size() > folder.size() && path[folder.size()] != '\\' &&
        !(folder.size() > 0 && folder.back() == '\\')) {
        return false;
    }
    return lstrcmpiW(Wide(path.substr(0, folder.size())).c_str(), Wide(folder).c_str()) == 0;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) == 0;
}

bool DeleteThroughHandle(HANDLE handle) {
    static const auto setInformation = Kernel32<SetInformationCall>("SetFileInformationByHandle");
    constexpr int kDispositionInfo = 4;  // FileDispositionInfo
    BOOLEAN dispose = TRUE;
    return setInformation && setInformation(handle, kDispositionInfo, &dispose, sizeof dispose);
}

}  // namespace vesk
