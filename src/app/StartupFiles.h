// Unpacking of the start-up files: the kind K entries that follow the language file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "container/ContainerReader.h"
#include "project/TextLineList.h"
#include "session/InstallRecords.h"

namespace vesk {

// The temporary file an entry is unpacked to, given the entry's path as the project writes it.
using TempNamer = std::function<std::string(const std::string& rawPath)>;

// Walks the file list from entry 1 (entry 0 is the language file) while the entries are of kind
// K, decoding each (LZSS) to `tempName`(its path) and recording that target as a temporary file,
// also when the extraction failed, so the clean-up removes a partial file. The first entry of
// another kind ends the walk: K entries after it are never unpacked. False at the first failed
// extraction (a missing volume the user gave up on, a stop request, a damaged body).
bool ExtractStartupFiles(ContainerReader& reader, const TextLineList& files,
                         InstallRecords& records, const TempNamer& tempName);

}  // namespace vesk
