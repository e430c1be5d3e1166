// Every Windows test program gets a temporary folder of its own, for itself and every setup it
// starts: ctest runs two programs at a time in one Wine prefix, and the tests that look into the
// temporary folder for the run folders of "their" setup must not see another program's.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

class PrivateTempFolder {
public:
    PrivateTempFolder() {
        char shared[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathA(sizeof shared, shared);
        if (length == 0 || length >= sizeof shared) return;
        const std::string folder =
            std::string(shared, length) + "vesk-tests-" + std::to_string(GetCurrentProcessId());
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return;
        folder_ = folder;
        // Children inherit the environment: the setups started by a test use this folder too.
        SetEnvironmentVariableA("TMP", folder_.c_str());
        SetEnvironmentVariableA("TEMP", folder_.c_str());
    }

    ~PrivateTempFolder() {
        if (folder_.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

private:
    std::string folder_;
};

const PrivateTempFolder privateTempFolder;

}  // namespace
