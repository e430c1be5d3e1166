// Shortcut files through the shell-link component and its persist-file interface.
#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "platform/ComPointerWin32.h"
#include "platform/ShellLinks.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

class Win32ShellLinks : public ShellLinks {
public:
    bool Create(const std::string& linkPath, const ShellLink& link) override {
        ComRuntime runtime;
        if (!runtime.Ready()) return false;
        ComPointer<IShellLinkW> shellLink;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(shellLink.Out())))) {
            return false;
        }
        if (!link.arguments.empty()) shellLink->SetArguments(Wide(link.arguments).c_str());
        shellLink->SetPath(Wide(link.target).c_str());
        shellLink->SetWorkingDirectory(Wide(link.workingFolder).c_str());
        shellLink->SetDescription(Wide(link.description).c_str());
        shellLink->SetShowCmd(link.show);
        if (!link.iconPath.empty()) shellLink->SetIconLocation(Wide(link.iconPath).c_str(), 0);

        ComPointer<IPersistFile> file;
        if (FAILED(shellLink->QueryInterface(IID_IPersistFile,
                                             reinterpret_cast<void**>(file.Out())))) {
            return false;
        }
        return SUCCEEDED(file->Save(Wide(linkPath).c_str(), TRUE));
    }
};

}  // namespace

ShellLinks& HostShellLinks() {
    static Win32ShellLinks links;
    return links;
}

}  // namespace vesk
