// One `veskbuild try` run: a setup installed and removed in a throwaway Wine prefix on a virtual
// display, the prefix read before, between and after, the pictures made PNG.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "builder/trial/TrialResult.h"
#include "builder/trial/WinePrefix.h"

namespace vesk::trial {

struct TrialOptions {
    std::string setupPath;   // the setup's Setup.exe (absolute host path)
    std::string outputDir;   // the run's folder (absolute): prefix, pictures, walk accounts, log
    std::string walkerPath;  // the walk program, walk_setup.exe (absolute host path)
    bool keep = false;       // keep the prefix
    bool silent = false;     // /S and the quiet uninstall command instead of the windows
    int dpi = kNormalDpi;
    const std::atomic<bool>* stop = nullptr;          // polled: true ends the run, cleaning up
    std::function<void(const std::string&)> onStage;  // told each stage as it starts
};

// The names in the run's folder.
constexpr char kPrefixFolder[] = "prefix";
constexpr char kPicturesFolder[] = "pages";
constexpr char kInstallAccount[] = "install-walk.txt";
constexpr char kRemovalAccount[] = "removal-walk.txt";
constexpr char kLinkList[] = "shortcuts.txt";
constexpr char kWineLog[] = "wine.log";

// Runs the setup through install and removal. False with the reason when the run itself could
// not be made (no display, no prefix, a state of the prefix not readable, stopped); what the
// setup did, however badly, is in `result`. The display is stopped and the prefix removed
// (unless `keep`) either way.
bool RunTrial(const TrialOptions& options, TrialResult& result, std::string& why);

}  // namespace vesk::trial
