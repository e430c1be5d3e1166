// Opens a file by a UTF-8 path: the C library's fopen takes the ANSI code page on Windows, so
// every file the engine opens as a stream goes through here.
#pragma once

#include <cstdio>
#include <string>

namespace vesk {

// fopen's contract (mode "rb", "wb" ...), the path in UTF-8; nullptr when it cannot be opened.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace vesk
