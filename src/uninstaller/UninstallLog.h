// The log an install leaves for its removal: the install project written back into the install
// folder, read and checked before anything is removed.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "project/InstallProject.h"

namespace vesk {

enum class LogState {
    Read,     // a whole log, naming its product
    Missing,  // no file at the path (already removed, or a wrong path)
    Damaged,  // a file that is no whole install log: cut short, empty, or naming no product
};

// Reads the log at `path` into `log`. A log counts as whole when it ends with the project's
// closing line (a log cut short would remove only part of the product, silently) and names its
// product (ProjectName in task 2401).
LogState ReadUninstallLog(const FileSystem& files, const std::string& path, InstallProject& log);

// The product's name and version as the install showed them and named its uninstall entry:
// ProjectName, a blank and ProductVersion.
std::string ProductTitle(const InstallProject& log);

}  // namespace vesk
