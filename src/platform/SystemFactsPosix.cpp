// Native builds answer from the host: temporary folder, clock, user and program name; no
// Windows folders, drives or display.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/SystemFacts.h"

namespace vesk {
namespace {

class PosixSystemFacts : public SystemFacts {
public:
    std::string WindowsFolder() const override { return std::string(); }
    std::string SystemFolder() const override { return std::string(); }
    std::string TempPath() const override {
        std::error_code ec;
        std::string path = std::filesystem::temp_directory_path(ec).string();
        if (ec) return std::string();
        if (!path.empty() && path.back() != '/') path += '/';
        return path;
    }
    std::optional<std::string> DesktopFolder() const override { return std::nullopt; }
    std::optional<std::string> AppDataFolder() const override { return std::nullopt; }
    std::optional<std::string> UserFolderPath(UserFolder) const override { return std::nullopt; }
    std::string UserName() const override {
        const char* user = std::getenv("USER");
        return user ? std::string(user) : std::string();
    }
    std::string ComputerName() const override {
        char name[256] = {};
        return gethostname(name, sizeof(name) - 1) == 0 ? std::string(name) : std::string();
    }
    std::uint32_t PackedVersion() const override { return 0; }
    std::optional<VersionNumbers> ExtendedVersion() const override { return std::nullopt; }
    std::uint32_t DefaultLocaleId() const override { return 0x0409; }
    std::uint32_t UserLanguageId() const override { return 0x0409; }
    std::vector<std::string> LogicalDrives() const override { return {}; }
    DriveType TypeOfDrive(const std::string&) const override { return DriveType::NoRootDir; }
    std::optional<std::uint64_t> FreeBytes(const std::string&) const override {
        return std::nullopt;
    }
    std::string ModuleFileName() const override {
        std::error_code ec;
        std::string path = std::filesystem::read_symlink("/proc/self/exe", ec).string();
        return ec ? std::string() : path;
    }
    CalendarTime LocalTime() const override {
        using namespace std::chrono;
        system_clock::time_point now = system_clock::now();
        std::time_t seconds = system_clock::to_time_t(now);
        std::tm local{};
        localtime_r(&seconds, &local);
        int millisecond = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
        return CalendarTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min,         local.tm_sec,     millisecond};
    }
    int DisplayDpiY() const override { return 96; }
};

}  // namespace

const SystemFacts& HostSystemFacts() {
    static PosixSystemFacts facts;
    return facts;
}

}  // namespace vesk
