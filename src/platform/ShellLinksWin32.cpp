// Shortcut files through the shell-link component and its persist-file interface.
#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "platform/ComPointerWin32.h"
#include "platform/ShellLinks.h"

namespace vesk {
namespace {

// The persist-file interface takes wide names only.
std::vector<wchar_t> WideName(const std::string& path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? std::size_t(length) : 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    return wide;
}

class Win32ShellLinks : public ShellLinks {
public:
    bool Create(const std::string& linkPath, const ShellLink& link) override {
        ComRuntime runtime;
        if (!runtime.Ready()) return false;
        ComPointer<IShellLinkA> shellLink;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(shellLink.Out())))) {
            return false;
        }
        if (!link.arguments.empty()) shellLink->SetArguments(link.arguments.c_str());
        shellLink->SetPath(link.target.c_str());
        shellLink->SetWorkingDirectory(link.workingFolder.c_str());
        shellLink->SetDescription(link.description.c_str());
        shellLink->SetShowCmd(link.show);
        if (!link.iconPath.empty()) shellLink->SetIconLocation(link.iconPath.c_str(), 0);

        ComPointer<IPersistFile> file;
        if (FAILED(shellLink->QueryInterface(IID_IPersistFile,
                                             reinterpret_cast<void**>(file.Out())))) {
            return false;
        }
        return SUCCEEDED(file->Save(WideName(linkPath).data(), TRUE));
    }
};

}  // namespace

ShellLinks& HostShellLinks() {
    static Win32ShellLinks links;
    return links;
}

}  // namespace vesk
