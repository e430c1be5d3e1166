// The stub's calls into the shell, component and common-control libraries, bound on first use to
// the libraries in the system folder. Imported the usual way, these libraries would be loaded
// with the program, before it could restrict the library search and preload what they load by
// name (PreloadSystemLibraries), and the libraries they pull in by name (shcore, shlwapi,
// uxtheme ...) could then come from the folder Setup.exe was started from. Linked into the stub
// (and the uninstaller) only; every other program imports them as usual.
//
// Each entry defines the import slot the compiler calls through (__imp__Name@bytes) itself, so
// the linker takes no import of that library: the slot first holds a function that loads the
// library by its full system path, looks the function up, puts it into the slot and calls it.
// A build with another toolchain gets the same from its linker (/DELAYLOAD and a system-folder
// search) and leaves this file out.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/SystemLibrariesWin32.h"
#include "runtime/RuntimeFailure.h"

#if defined(__GNUC__) && defined(__i386__)

namespace vesk {
namespace {

struct Library {
    const char* name;
    const wchar_t* wideName;
    HMODULE module;
    bool sideBySide;  // loaded by name: the manifest picks its version from the side-by-side store
};

Library shell32{"shell32.dll", L"shell32.dll", nullptr, false};
Library ole32{"ole32.dll", L"ole32.dll", nullptr, false};
Library oleaut32{"oleaut32.dll", L"oleaut32.dll", nullptr, false};
// Version 6 as the manifest asks, which a full path to the system folder would miss; by then the
// search is restricted to the system folder and what it loads by name is loaded.
Library comctl32{"comctl32.dll", L"comctl32.dll", nullptr, true};

// The function in the system library. Two threads may get here at once: both store the same
// values. A system library without the function leaves nothing sensible to do.
template <typename Pointer>
void Bind(Pointer& slot, Library& library, const char* function) {
    if (!library.module) {
        library.module =
            library.sideBySide ? LoadLibraryW(library.wideName) : LoadSystemLibrary(library.name);
    }
    FARPROC address = library.module ? GetProcAddress(library.module, function) : nullptr;
    if (!address) ExitProcess(kRuntimeFailureExitCode);
    slot = reinterpret_cast<Pointer>(reinterpret_cast<void*>(address));
}

}  // namespace
}  // namespace vesk

// The slot of `name` (whose arguments take `bytes` on the stack) and its first-use function;
// the assignment checks the function's type against the declaration in the system header. The
// function's own name, jumping through the slot, is defined too: link-time optimised code names
// the function itself until it is compiled, and the linker must not take the library's import
// for it meanwhile.
#define VESK_BIND_ON_FIRST_USE(library, result, name, bytes, parameters, arguments)   \
    extern "C" decltype(&::name) vesk_slot_##name asm("__imp__" #name "@" #bytes);    \
    namespace vesk {                                                                  \
    namespace {                                                                       \
    result WINAPI First##name parameters {                                            \
        Bind(vesk_slot_##name, library, #name);                                       \
        return vesk_slot_##name arguments;                                            \
    }                                                                                 \
    }                                                                                 \
    }                                                                                 \
    decltype(&::name) vesk_slot_##name = vesk::First##name;                           \
    extern "C" result WINAPI vesk_direct_##name parameters asm("_" #name "@" #bytes); \
    result WINAPI vesk_direct_##name parameters {                                     \
        return vesk_slot_##name arguments;                                            \
    }

VESK_BIND_ON_FIRST_USE(comctl32, BOOL, InitCommonControlsEx, 4, (const INITCOMMONCONTROLSEX* a),
                       (a))
VESK_BIND_ON_FIRST_USE(ole32, HRESULT, CoCreateInstance, 20,
                       (REFCLSID a, LPUNKNOWN b, DWORD c, REFIID d, LPVOID* e), (a, b, c, d, e))
VESK_BIND_ON_FIRST_USE(ole32, HRESULT, CoInitializeEx, 8, (LPVOID a, DWORD b), (a, b))
VESK_BIND_ON_FIRST_USE(ole32, void, CoUninitialize, 0, (), ())
VESK_BIND_ON_FIRST_USE(ole32, HRESULT, OleInitialize, 4, (LPVOID a), (a))
VESK_BIND_ON_FIRST_USE(ole32, void, OleUninitialize, 0, (), ())
VESK_BIND_ON_FIRST_USE(oleaut32, BSTR, SysAllocStringLen, 8, (const OLECHAR* a, UINT b), (a, b))
VESK_BIND_ON_FIRST_USE(oleaut32, HRESULT, VariantClear, 4, (VARIANTARG * a), (a))
VESK_BIND_ON_FIRST_USE(oleaut32, void, VariantInit, 4, (VARIANTARG * a), (a))
VESK_BIND_ON_FIRST_USE(shell32, LPITEMIDLIST, SHBrowseForFolderW, 4, (LPBROWSEINFOW a), (a))
VESK_BIND_ON_FIRST_USE(shell32, DWORD_PTR, SHGetFileInfoW, 20,
                       (LPCWSTR a, DWORD b, SHFILEINFOW* c, UINT d, UINT e), (a, b, c, d, e))
VESK_BIND_ON_FIRST_USE(shell32, HRESULT, SHGetMalloc, 4, (IMalloc * *a), (a))
VESK_BIND_ON_FIRST_USE(shell32, BOOL, SHGetPathFromIDListW, 8, (PCIDLIST_ABSOLUTE a, LPWSTR b),
                       (a, b))
VESK_BIND_ON_FIRST_USE(shell32, HRESULT, SHGetSpecialFolderLocation, 12,
                       (HWND a, int b, PIDLIST_ABSOLUTE* c), (a, b, c))
VESK_BIND_ON_FIRST_USE(shell32, HINSTANCE, ShellExecuteW, 24,
                       (HWND a, LPCWSTR b, LPCWSTR c, LPCWSTR d, LPCWSTR e, INT f),
                       (a, b, c, d, e, f))

#endif
