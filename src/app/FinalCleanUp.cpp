// Removing temporary files and rolling back a broken-off install.
#include "app/FinalCleanUp.h"

#include <set>

#include "project/NameCase.h"

namespace vesk {

bool KeptOnRollback(const std::string& path, const std::string& windowsFolder) {
    const std::string upper = UpperName(path);
    return upper.find(UpperName(windowsFolder)) != std::string::npos ||
           upper.find(UpperName(kBdeFolder)) != std::string::npos;
}

void FinalCleanUp(SharedFlags& flags, InstallRecords& records, FileRemoval& files,
                  const std::function<std::string()>& windowsFolder, RunFolder& runFolder) {
    // First, so an extraction in progress and the worker's file phase stop.
    flags.setupFinished = true;
    for (const std::string& path : records.TakeTempFiles()) files.RemoveFile(path);
    const std::vector<KeptFile> kept = records.TakeKeptFiles();
    if (flags.installOk) {
        for (const KeptFile& file : kept) {
            if (!file.copy.empty()) files.RemoveFile(file.copy);
        }
        runFolder.Remove();
        return;
    }

    // A name that held a user's file before the install gets that file back, never a deletion.
    std::set<std::string> userNames;
    for (const KeptFile& file : kept) userNames.insert(UpperName(file.original));
    const std::vector<std::string> installed = records.TakeInstalledFiles();
    if (!installed.empty()) {
        const std::string windows = windowsFolder();
        for (const std::string& path : installed) {
            if (userNames.count(UpperName(path)) == 0 && !KeptOnRollback(path, windows)) {
                files.RemoveFile(path);
            }
        }
    }
    for (const KeptFile& file : kept) {
        if (file.copy.empty()) continue;
        // Should the installed file refuse to go, the user's file stays under the copy's name.
        files.RemoveFile(file.original);
        files.RenameFile(file.copy, file.original);
    }
    // Give the system a moment to let go of the files, and leave no created folder current.
    files.Pause(100);
    files.SetCurrentFolder("C:\\");
    const std::vector<std::string> folders = records.TakeCreatedFolders();
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        files.RemoveFolder(*folder);
    }
    runFolder.Remove();
}

}  // namespace vesk
