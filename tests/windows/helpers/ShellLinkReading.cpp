// IShellLinkW over IPersistFile, each pointer released when it goes.
#include "ShellLinkReading.h"

#include <windows.h>
// After windows.h, which they need.
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "WalkAccount.h"
#include "platform/ComPointerWin32.h"

namespace vesk::test {
namespace {

std::string Failed(const char* what, HRESULT result) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (0x%08lx)", what,
                  static_cast<unsigned long>(result));
    return text;
}

}  // namespace

bool ReadShellLink(const std::string& path, ShellLinkFields& fields, std::string& why) {
    ComPointer<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(link.Out()));
    if (FAILED(result)) {
        why = Failed("creating the shell link object", result);
        return false;
    }
    ComPointer<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()));
    if (SUCCEEDED(result)) result = file->Load(Utf8ToWide(path).c_str(), STGM_READ);
    if (FAILED(result)) {
        why = Failed("loading the link", result);
        return false;
    }
    wchar_t text[MAX_PATH * 4] = {};
    int icon = 0;
    fields = ShellLinkFields();
    if (SUCCEEDED(link->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) {
        fields.target = WideToUtf8(text);
    }
    text[0] = 0;
    if (SUCCEEDED(link->GetArguments(text, MAX_PATH * 4))) fields.arguments = WideToUtf8(text);
    text[0] = 0;
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH * 4))) fields.folder = WideToUtf8(text);
    text[0] = 0;
    if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH * 4, &icon)) && text[0]) {
        fields.icon = WideToUtf8(text) + "," + std::to_string(icon);
    }
    text[0] = 0;
    if (SUCCEEDED(link->GetDescription(text, MAX_PATH * 4))) fields.description = WideToUtf8(text);
    return true;
}

}  // namespace vesk::test
