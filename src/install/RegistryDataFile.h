// Registry data files (file entries of kind R): key lines and "name"="data" lines applied to the
// registry one by one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/Registry.h"

namespace vesk {

// The longest line (without its line end) that is applied: twice the largest value data the
// registry's standard format stores, so every key and value the registry can hold fits. A longer
// line is passed over whole, so the memory used stays within one such line whatever the file.
constexpr std::size_t kLongestRegistryDataLine = std::size_t(2) << 20;

// Applies the registry data file at `path` line by line; a file that cannot be opened does
// nothing. Lines end with CR LF (LF alone is taken too); a last line without a line end is not
// applied. An empty line is skipped. A line starting with "[" is a key line: when it reads
// "[HKEY_...\path]" with one of the five root names written exactly so (OpenKeyFromBracketedLine)
// that key is opened or created and becomes current, otherwise no key is current. A line
// "name"="data" writes a string value to the current key; the data is taken literally up to the
// line's last quote (a backslash is an ordinary character, quotes inside it stay). Value lines
// without a current key, lines of another form or holding a NUL byte, and lines longer than
// kLongestRegistryDataLine write nothing. Failures are silent.
void ApplyRegistryDataFile(Registry& registry, const std::string& path);

// The same for a file already open for binary reading, from its current position to its end; the
// caller keeps the file.
void ApplyRegistryData(Registry& registry, std::FILE* file);

}  // namespace vesk
