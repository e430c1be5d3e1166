// UTF-8 paths to the wide form the file functions take, long ones prefixed.
#include "platform/LongPathWin32.h"

#include "platform/WideTextWin32.h"

namespace vesk {

WideText LongPath(const std::string& utf8Path) {
    WideText path = Wide(utf8Path);
    if (path.size() <= kClassicFolderLimit) return path;
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
    // The prefix turns off the system's own clean-up of "/", "." and "..": done here instead.
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size > 0) {
        WideText full(size, L'\0');
        const DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
        if (length > 0 && length < size) path.assign(full, 0, length);
    }
    const bool drive = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
    const bool unc = path.compare(0, 2, L"\\\\") == 0 && path.compare(0, 4, L"\\\\.\\") != 0;
    if (drive) return L"\\\\?\\" + path;
    if (unc) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

}  // namespace vesk
