// Whole-file reading for the host tools, bounded and only of regular files.
#pragma once

#include <cstdint>
#include <string>

#include "builder/plan/InputFile.h"

namespace vesk {

// Files read whole are small by nature (a stub, a picture, a registry data file); this is far
// above any of them and far below what would exhaust memory.
constexpr std::uint64_t kMaxWholeFileSize = std::uint64_t(64) << 20;

// Replaces `bytes` with the file's content. False, with `error` naming the path and the reason,
// when it is not a regular file, is larger than `maxSize` or cannot be read.
// With `identity`, only that file is read, as InputFile::Open does.
bool ReadFileContent(const std::string& path, std::string& bytes, std::string& error,
                     std::uint64_t maxSize = kMaxWholeFileSize,
                     const FileIdentity* identity = nullptr);

}  // namespace vesk
