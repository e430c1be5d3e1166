// Everything the install worker does to the machine goes through these, so its logic runs
// natively under test doubles and for real on Windows.
#pragma once

#include <functional>
#include <string>

#include "install/EntryExtractor.h"
#include "platform/FileSystem.h"
#include "platform/Fonts.h"
#include "platform/Processes.h"
#include "platform/ShellLinks.h"

namespace vesk {

// Waits the given number of milliseconds (the worker's fixed pauses; tests count them).
using Pause = std::function<void(int milliseconds)>;

// The worker's fixed pauses: after the first status text and after each phase, and after every
// folder or file, so each status text can be read and the wizard repaints between items.
constexpr int kPhasePauseMs = 300;
constexpr int kItemPauseMs = 3;

struct InstallServices {
    FileSystem& files;
    ShellLinks& links;
    Processes& processes;
    EntryExtractor& extractor;
    Pause pause;

    // The operations on single items of the install that the worker hands on; an empty one does
    // nothing. Applies the registry data file at `path` (already resolved).
    std::function<void(const std::string& path)> applyRegistryDataFile;
    // Registers, runs or opens one value of task 2405 (unresolved) by its extension; true when
    // it was opened through the shell.
    std::function<bool(const std::string& value)> registerComponent;
    // Adds the font file at `path` (already resolved) to the system.
    std::function<void(const std::string& path)> addFont;
    // The system's fonts, for taking over an installed version's; none: they are left.
    Fonts* fonts = nullptr;
};

}  // namespace vesk
