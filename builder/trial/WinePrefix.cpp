// Making and using the run's prefix through the host's wine and wineserver.
#include "builder/trial/WinePrefix.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "builder/trial/HostPrograms.h"

namespace vesk::trial {
namespace {

namespace fs = std::filesystem;

constexpr int kBootSeconds = 600;  // Wine's first start fills the prefix: slow on a busy host
constexpr int kSettingsSeconds = 120;
constexpr int kServerEndSeconds = 120;

// Windows' frames drawn by the windows themselves (no window manager runs on the virtual
// display), and the screen's resolution.
std::string SettingsFile(int dpi) {
    char logPixels[16];
    std::snprintf(logPixels, sizeof logPixels, "%08x", unsigned(dpi));
    return std::string("REGEDIT4\r\n\r\n") +
           "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n\"Managed\"=\"N\"\r\n\r\n" +
           "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"LogPixels\"=dword:" + logPixels +
           "\r\n\r\n";
}

}  // namespace

WinePrefix::WinePrefix(std::string folder, std::string display, std::string logPath,
                       const std::atomic<bool>* stop)
    : folder_(std::move(folder)),
      display_(std::move(display)),
      logPath_(std::move(logPath)),
      stop_(stop) {}

std::string WinePrefix::WindowsPathOf(const std::string& hostPath) {
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::vector<std::string> WinePrefix::Environment() const {
    return {"WINEPREFIX=" + folder_, kWineArch, kWineDebug, kWineOverrides, "DISPLAY=" + display_};
}

int WinePrefix::RunWine(const std::vector<std::string>& arguments, int timeoutSeconds,
                        std::string& why) {
    HostRun run{arguments, Environment(), logPath_};
    const int code = RunHostProgram(run, timeoutSeconds, stop_, why);
    if (code < 0) Kill();
    return code;
}

bool WinePrefix::WaitForServer(std::string& why) {
    return RunWine({"wineserver", "-w"}, kServerEndSeconds, why) == 0;
}

void WinePrefix::Kill() {
    HostRun run{{"wineserver", "-k"}, Environment(), logPath_};
    std::string ignored;
    RunHostProgram(run, kServerEndSeconds, nullptr, ignored);
}

bool WinePrefix::Create(int dpi, std::string& why) {
    if (RunWine({"wine", "wineboot", "--init"}, kBootSeconds, why) < 0 || !WaitForServer(why)) {
        why = "Wine could not make its prefix: " + why;
        return false;
    }
    if (!UnlinkUserFolders(why)) return false;
    const std::string settings = folder_ + "/vesk-settings.reg";
    {
        std::ofstream file(settings, std::ios::binary | std::ios::trunc);
        file << SettingsFile(dpi);
        if (!file) {
            why = "cannot write " + settings;
            return false;
        }
    }
    const int code =
        RunWine({"wine", "reg", "import", WindowsPathOf(settings)}, kSettingsSeconds, why);
    std::error_code ignored;
    fs::remove(settings, ignored);
    if (code != 0) {
        if (code > 0) why = "wine reg import ended with " + std::to_string(code);
        why = "Wine's settings could not be made: " + why;
        return false;
    }
    return WaitForServer(why);
}

bool WinePrefix::UnlinkUserFolders(std::string& why) {
    const fs::path users = fs::path(folder_) / "drive_c" / "users";
    std::vector<fs::path> links;
    std::error_code code;
    for (fs::recursive_directory_iterator it(users, code), end; !code && it != end;
         it.increment(code)) {
        if (it->is_symlink(code)) links.push_back(it->path());
    }
    for (const fs::path& link : links) {
        if (code) break;
        fs::remove(link, code);
        if (!code) fs::create_directory(link, code);
    }
    if (code) {
        why = "cannot make the user's folders of " + users.string() + ": " + code.message();
        return false;
    }
    return true;
}

int WinePrefix::Run(const std::string& program, const std::vector<std::string>& arguments,
                    int timeoutSeconds, std::string& why) {
    std::vector<std::string> command = {"wine", program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const int code = RunWine(command, timeoutSeconds, why);
    if (code < 0) return code;
    return WaitForServer(why) ? code : -1;
}

}  // namespace vesk::trial
