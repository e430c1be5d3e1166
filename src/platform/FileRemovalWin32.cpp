// File removal on Windows, through the ANSI calls.
#include <windows.h>

#include "platform/FileRemoval.h"

namespace vesk {
namespace {

class Win32FileRemoval : public FileRemoval {
public:
    bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
    bool RemoveFolder(const std::string& path) override {
        return RemoveDirectoryA(path.c_str()) != 0;
    }
    bool SetCurrentFolder(const std::string& path) override {
        return SetCurrentDirectoryA(path.c_str()) != 0;
    }
    void Pause(int milliseconds) override { Sleep(DWORD(milliseconds)); }
};

}  // namespace

FileRemoval& HostFileRemoval() {
    static Win32FileRemoval removal;
    return removal;
}

}  // namespace vesk
