// Removing temporary files and rolling back a broken-off install.
#include "install/FinalCleanUp.h"

#include "project/NameCase.h"

namespace vesk {

bool KeptOnRollback(const std::string& path, const std::string& windowsFolder) {
    const std::string upper = UpperName(path);
    return upper.find(UpperName(windowsFolder)) != std::string::npos ||
           upper.find(UpperName(kBdeFolder)) != std::string::npos;
}

void FinalCleanUp(SetupState& state, FileRemoval& files,
                  const std::function<std::string()>& windowsFolder) {
    // First, so an extraction in progress and the worker's file phase stop.
    state.setupFinished = true;
    for (const std::string& path : state.tempFiles) files.RemoveFile(path);
    state.tempFiles.clear();
    if (state.installOk) return;

    if (!state.installedFiles.empty()) {
        const std::string windows = windowsFolder();
        for (const std::string& path : state.installedFiles) {
            if (!KeptOnRollback(path, windows)) files.RemoveFile(path);
        }
    }
    state.installedFiles.clear();
    // Give the system a moment to let go of the files, and leave no created folder current.
    files.Pause(100);
    files.SetCurrentFolder("C:\\");
    for (const std::string& folder : state.createdFolders) files.RemoveFolder(folder);
    state.createdFolders.clear();
}

}  // namespace vesk
