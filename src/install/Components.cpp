// Dispatching components to the registration program, to RunAndWait or to the shell.
#include "install/Components.h"

#include "install/Rollback.h"
#include "project/NameCase.h"
#include "project/PathParts.h"

namespace vesk {
bool RegisterComponent(const std::string& value, const PathResolver& paths, Processes& processes,
                       const FailureNotice& notice, InstallRecords* records) {
    const std::string extension = UpperName(ExtensionOf(value));
    const std::string path = paths.Resolve(value);
    if (extension == "OCX" || extension == "DLL") {
        const std::string program = paths.Resolve(kRegistrationProgram);
        if (records) records->Add(FileChange(ChangeKind::ComponentRegistered, path, program));
        processes.RunAndWait(program, RegistrationCommand(program, path, false), FolderOf(path),
                             kShowNormal);
        return false;
    }
    if (extension == "EXE") {
        RunAndWait(processes, path, kShowNormal, notice);
        return false;
    }
    processes.Open(path, "", "", kShowNormal);
    return true;
}

}  // namespace vesk
