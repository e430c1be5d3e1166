// Registry data files (file entries of kind R): key lines and "name"="data" lines applied to the
// registry one by one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/Registry.h"
#include "project/PathResolver.h"
#include "project/RegistryDataGrammar.h"

namespace vesk {

// Applies the registry data file at `path` line by line; a file that cannot be opened does
// nothing. Lines end with CR LF (LF alone is taken too); a last line without a line end is not
// applied. Each line is read by ReadRegistryDataLine, the reading the builder checks files by: an
// empty line is skipped; a key line "[HKEY_...\path]" opens or creates that key and makes it
// current, any other line starting with "[" leaves no key current; a line "name"="data" writes a
// string value to the current key ("name"="data", or @="data" for the key's default value), its
// path tokens replaced through `paths` when given (ExpandValueTokens). Value lines without a
// current key, lines of another form and lines longer than kLongestRegistryDataLine write
// nothing. Failures are silent.
void ApplyRegistryDataFile(Registry& registry, const std::string& path,
                           const PathResolver* paths = nullptr);

// The same for a file already open for binary reading, from its current position to its end; the
// caller keeps the file.
void ApplyRegistryData(Registry& registry, std::FILE* file, const PathResolver* paths = nullptr);

}  // namespace vesk
