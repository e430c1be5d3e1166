// Removing temporary files and rolling back a broken-off install.
#include "app/FinalCleanUp.h"

#include "project/NameCase.h"

namespace vesk {

bool KeptOnRollback(const std::string& path, const std::string& windowsFolder) {
    const std::string upper = UpperName(path);
    return upper.find(UpperName(windowsFolder)) != std::string::npos ||
           upper.find(UpperName(kBdeFolder)) != std::string::npos;
}

void FinalCleanUp(SharedFlags& flags, InstallRecords& records, FileRemoval& files,
                  const std::function<std::string()>& windowsFolder) {
    // First, so an extraction in progress and the worker's file phase stop.
    flags.setupFinished = true;
    for (const std::string& path : records.TakeTempFiles()) files.RemoveFile(path);
    if (flags.installOk) return;

    const std::vector<std::string> installed = records.TakeInstalledFiles();
    if (!installed.empty()) {
        const std::string windows = windowsFolder();
        for (const std::string& path : installed) {
            if (!KeptOnRollback(path, windows)) files.RemoveFile(path);
        }
    }
    // Give the system a moment to let go of the files, and leave no created folder current.
    files.Pause(100);
    files.SetCurrentFolder("C:\\");
    for (const std::string& folder : records.TakeCreatedFolders()) files.RemoveFolder(folder);
}

}  // namespace vesk
