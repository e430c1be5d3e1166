// Whole-file reading for the host tools.
#pragma once

#include <string>

namespace vesk {

// Replaces `bytes` with the file's content; false when it cannot be opened or read.
bool ReadFileContent(const std::string& path, std::string& bytes);

}  // namespace vesk
