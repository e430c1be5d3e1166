// Creating a folder with every missing folder above it.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vesk {

// Creates `path` level by level below its drive root (its first three characters, "C:\"); a
// path of three characters or less creates nothing, and a trailing or doubled backslash does no
// harm. Returns the folders this call made, top first: a folder that existed already is not
// among them, so a rollback never removes it. Failures are silent (the levels below a folder
// that cannot be made fail too).
std::vector<std::string> CreateFolderChain(FileSystem& files, const std::string& path);

}  // namespace vesk
