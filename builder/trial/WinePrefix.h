// A throwaway Wine prefix for one `veskbuild try` run: made afresh, set up so nothing waits for a
// click and nothing of the run leaves it, and the programs run in it.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace vesk::trial {

// Wine's environment for every program of the prefix: a 32-bit prefix, no debug output, no
// question for the Mono or Gecko packages (their loaders are switched off), no menu entries or
// file associations written into the host's desktop.
constexpr char kWineDebug[] = "WINEDEBUG=-all";
constexpr char kWineArch[] = "WINEARCH=win32";
constexpr char kWineOverrides[] = "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d";

// The screen's usual resolution; --dpi asks for another.
constexpr int kNormalDpi = 96;

class WinePrefix {
public:
    // The prefix at `folder` (absolute), its programs shown on `display` (":N"), their output
    // appended to `logPath`; every wait ends early when `stop` becomes true.
    WinePrefix(std::string folder, std::string display, std::string logPath,
               const std::atomic<bool>* stop);

    // Makes the prefix (which must not exist yet): Wine's first start, then the settings for a
    // run nobody watches (windows draw their own frames, so pictures show them whole; the
    // screen's resolution `dpi`), and the user's folders that Wine links to the host's home
    // (Desktop, Documents ...) made folders of the prefix, so what the run puts there stays in
    // it. Ends with Wine's server gone. False with the reason.
    bool Create(int dpi, std::string& why);

    // Runs the Windows program at host path `program` with `arguments` and waits until it has
    // ended and Wine's server with it (the server writes the registry files as it ends). The
    // program's exit code; -1 with the reason when it cannot run or does not end in time.
    int Run(const std::string& program, const std::vector<std::string>& arguments,
            int timeoutSeconds, std::string& why);

    // Ends every program of the prefix and its server at once.
    void Kill();

    const std::string& Folder() const { return folder_; }

    // How the prefix's programs reach the host path `hostPath` (absolute): through drive Z:,
    // which Wine maps to the host's root.
    static std::string WindowsPathOf(const std::string& hostPath);

private:
    std::vector<std::string> Environment() const;
    int RunWine(const std::vector<std::string>& arguments, int timeoutSeconds, std::string& why);
    bool WaitForServer(std::string& why);
    bool UnlinkUserFolders(std::string& why);

    std::string folder_;
    std::string display_;
    std::string logPath_;
    const std::atomic<bool>* stop_;
};

}  // namespace vesk::trial
