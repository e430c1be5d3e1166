// The stages of a run, each reading or changing the prefix in turn.
#include "builder/trial/TrialRun.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "builder/trial/HostPrograms.h"
#include "builder/trial/MachineState.h"
#include "builder/trial/PngPicture.h"
#include "builder/trial/WineChurn.h"

namespace vesk::trial {
namespace {

namespace fs = std::filesystem;

// The walk program keeps its own time limits (a minute for each window, ten for the whole);
// this only catches one that hangs.
constexpr int kWalkSeconds = 15 * 60;
constexpr int kIdleSeconds = 120;

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Leaves nothing of an earlier run in the folder that this one makes afresh.
bool ClearEarlierRun(const fs::path& folder, std::string& why) {
    std::error_code code;
    fs::create_directories(folder, code);
    for (const char* name :
         {kPrefixFolder, kPicturesFolder, kInstallAccount, kRemovalAccount, kLinkList, kWineLog}) {
        if (!code) fs::remove_all(folder / name, code);
    }
    if (!code) fs::create_directory(folder / kPicturesFolder, code);
    if (code) why = "cannot prepare " + folder.string() + ": " + code.message();
    return !code;
}

// Turns the walk's BMP pictures into PNG files and the accounts' names with them.
void MakePicturesPng(const fs::path& folder, WalkAccount& walk) {
    for (WalkStep& step : walk.steps) {
        if (step.picture.size() < 4 || step.picture.compare(step.picture.size() - 4, 4, ".bmp")) {
            continue;
        }
        const fs::path bmp = folder / step.picture;
        const std::string png = step.picture.substr(0, step.picture.size() - 4) + ".png";
        std::string ignored;
        if (ConvertBitmapToPng(bmp.string(), (folder / png).string(), ignored)) {
            std::error_code code;
            fs::remove(bmp, code);
            step.picture = png;
        }
    }
}

class Run {
public:
    Run(const TrialOptions& options, TrialResult& result)
        : options_(options),
          result_(result),
          folder_(options.outputDir),
          pictures_(WinePrefix::WindowsPathOf((folder_ / kPicturesFolder).string())) {}

    bool Go(std::string& why) {
        result_.setupPath = options_.setupPath;
        result_.silent = options_.silent;
        result_.dpi = options_.dpi;
        result_.pictures = kPicturesFolder;
        if (!ClearEarlierRun(folder_, why)) return false;
        Stage("starting a virtual display (Xvfb)");
        if (!display_.Start(why)) return false;
        prefix_.emplace((folder_ / kPrefixFolder).string(), display_.Name(),
                        (folder_ / kWineLog).string(), options_.stop);
        const bool done = Prefixed(why);
        display_.Stop();
        if (!options_.keep) {
            std::error_code ignored;
            fs::remove_all(folder_ / kPrefixFolder, ignored);
        }
        MakePicturesPng(folder_ / kPicturesFolder, result_.install);
        MakePicturesPng(folder_ / kPicturesFolder, result_.removal);
        return done;
    }

private:
    void Stage(const std::string& text) {
        if (options_.onStage) options_.onStage(text);
    }

    bool Capture(MachineState& state, std::string& why) {
        if (options_.stop && options_.stop->load()) {
            why = "stopped";
            return false;
        }
        return state.Capture(prefix_->Folder(), why);
    }

    // Runs the walk program with `arguments`; a walk that could not run at all is the run's
    // failure, whatever the setup did is the walk's account.
    bool Walk(const std::vector<std::string>& arguments, int seconds, std::string& why) {
        const int code = prefix_->Run(options_.walkerPath, arguments, seconds, why);
        if (code < 0) why = "the walk program did not run: " + why;
        return code >= 0;
    }

    bool Prefixed(std::string& why) {
        Stage("making a new Wine prefix");
        if (!prefix_->Create(options_.dpi, why)) return false;
        MachineState made, before;
        Stage("measuring what Wine changes by itself");
        if (!Capture(made, why) || !Walk({"--idle"}, kIdleSeconds, why) || !Capture(before, why)) {
            return false;
        }
        WineChurn churn;
        churn.Learn(CompareMachines(made, before));

        Stage(options_.silent ? "installing with /S" : "walking through the wizard");
        const std::string installAccount = (folder_ / kInstallAccount).string();
        std::vector<std::string> install = {WinePrefix::WindowsPathOf(options_.setupPath),
                                            pictures_, "--account",
                                            WinePrefix::WindowsPathOf(installAccount)};
        if (options_.silent) install.push_back("--silent");
        MachineState installed;
        if (!Walk(install, kWalkSeconds, why) || !Capture(installed, why)) return false;
        result_.install.Read(ReadText(installAccount));
        const MachineChanges changes =
            churn.Without(CompareMachines(before, installed), &result_.winesInstall);
        result_.installed = ReadInstall(changes);
        if (!Installed(result_.install.setupExit)) {
            // A setup that failed or was cancelled leaves the machine as it was.
            result_.leftovers = ReadLeftovers(changes);
            return true;
        }
        if (result_.installed.uninstallEntries.empty()) return true;

        Stage(options_.silent ? "removing with the quiet uninstall command"
                              : "removing through the uninstall entry");
        const std::string links = (folder_ / kLinkList).string();
        {
            std::ofstream list(links, std::ios::binary | std::ios::trunc);
            for (const FileChange& link : result_.installed.shortcuts) {
                if (link.kind != ChangeKind::Removed) list << link.path << "\n";
            }
        }
        const std::string removalAccount = (folder_ / kRemovalAccount).string();
        std::vector<std::string> removal = {"--uninstall-entry",
                                            result_.installed.uninstallEntries.front().name,
                                            pictures_,
                                            "--links",
                                            WinePrefix::WindowsPathOf(links),
                                            "--account",
                                            WinePrefix::WindowsPathOf(removalAccount)};
        if (options_.silent) removal.push_back("--silent");
        // Wine puts back what is its own (the host's fonts in the font tables, say) at its next
        // start: the prefix is read once it has started again, so that is not taken for left.
        MachineState removed;
        if (!Walk(removal, kWalkSeconds, why) || !Walk({"--idle"}, kIdleSeconds, why) ||
            !Capture(removed, why)) {
            return false;
        }
        result_.removalRan = true;
        result_.removal.Read(ReadText(removalAccount));
        result_.leftovers =
            ReadLeftovers(churn.Without(CompareMachines(before, removed), &result_.winesRemoval));
        return true;
    }

    const TrialOptions& options_;
    TrialResult& result_;
    fs::path folder_;
    std::string pictures_;
    VirtualDisplay display_;
    std::optional<WinePrefix> prefix_;
};

}  // namespace

bool RunTrial(const TrialOptions& options, TrialResult& result, std::string& why) {
    const auto started = std::chrono::steady_clock::now();
    const bool done = Run(options, result).Go(why);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return done;
}

}  // namespace vesk::trial
