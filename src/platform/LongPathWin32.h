// Paths for the system's W file functions: the engine's UTF-8 path in UTF-16, with the "\\?\"
// prefix once it is too long for the classic limit, so files and folders deeper than MAX_PATH
// characters can be made, read and removed.
#pragma once

#include <string>

#include "platform/WideTextWin32.h"

namespace vesk {

// The longest path the classic file functions take (MAX_PATH less the terminating zero); a
// folder must leave room for an 8.3 file name below it.
constexpr std::size_t kClassicPathLimit = 259;
constexpr std::size_t kClassicFolderLimit = 247;
// The longest path the system takes at all, with the "\\?\" prefix.
constexpr std::size_t kLongPathLimit = 32767;

// The path in UTF-16; a full path ("C:\..." or "\\server\share\...") of more than
// kClassicFolderLimit characters gets "\\?\" (or "\\?\UNC\"), which the system takes without
// normalising, so the path is made full first. Relative and already prefixed paths stay as they
// are.
WideText LongPath(const std::string& utf8Path);

}  // namespace vesk
