// Restricting the library search and loading system libraries by their full path.
#include "platform/SystemLibrariesWin32.h"

#include <string>

#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which headers for older systems lack.
constexpr DWORD kSearchSystemFolder = 0x00000800;

using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryCall = BOOL(WINAPI*)(LPCWSTR);

FARPROC KernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

}  // namespace

bool RestrictLibrarySearch() {
    // Looked up at run time: the functions are newer than the oldest system the stub starts on.
    auto restrict = reinterpret_cast<SetDefaultDllDirectoriesCall>(
        reinterpret_cast<void*>(KernelFunction("SetDefaultDllDirectories")));
    if (restrict&& restrict(kSearchSystemFolder)) return true;
    auto dropCurrent = reinterpret_cast<SetDllDirectoryCall>(
        reinterpret_cast<void*>(KernelFunction("SetDllDirectoryW")));
    if (dropCurrent) dropCurrent(L"");
    return false;
}

// Libraries others need first come first, so that loading one finds what it imports loaded.
const char* const kPreloadedLibraries[] = {
    "version.dll",  "profapi.dll", "cryptbase.dll", "cryptsp.dll",  "uxtheme.dll",
    "dwmapi.dll",   "userenv.dll", "propsys.dll",   "oleacc.dll",   "ole32.dll",
    "oleaut32.dll", "shcore.dll",  "shlwapi.dll",   "setupapi.dll", "apphelp.dll",
    "clbcatq.dll",  "ntmarta.dll", "urlmon.dll",    "msimg32.dll",  "winmm.dll"};
const int kPreloadedLibraryCount = int(sizeof kPreloadedLibraries / sizeof *kPreloadedLibraries);

void PreloadSystemLibraries() {
    for (const char* name : kPreloadedLibraries) LoadSystemLibrary(name);
}

HMODULE LoadSystemLibrary(const char* name) {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return nullptr;
    WideText path(folder, length);
    path += u'\\';
    for (const char* c = name; *c; ++c) path += char16_t(*c);  // the names are ASCII
    return LoadLibraryW(path.c_str());
}

}  // namespace vesk
