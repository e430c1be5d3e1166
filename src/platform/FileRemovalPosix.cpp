// File removal on the build host, for native tools and tests.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/FileRemoval.h"

namespace vesk {
namespace {

class PosixFileRemoval : public FileRemoval {
public:
    bool RemoveFile(const std::string& path) override { return std::remove(path.c_str()) == 0; }
    bool RemoveFolder(const std::string& path) override { return rmdir(path.c_str()) == 0; }
    bool SetCurrentFolder(const std::string& path) override { return chdir(path.c_str()) == 0; }
    void Pause(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

FileRemoval& HostFileRemoval() {
    static PosixFileRemoval removal;
    return removal;
}

}  // namespace vesk
