// Unpacking of the start-up files: the kind K entries that follow the language file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "container/ContainerReader.h"
#include "project/TextLineList.h"
#include "session/RunFolder.h"

namespace vesk {

// The temporary file an entry is unpacked to, given the entry's path as the project writes it.
using TempNamer = std::function<std::string(const std::string& rawPath)>;

// One entry of the start-up run and the temporary file it goes to.
struct StartupFile {
    FileEntry entry;
    std::string target;
};

// The start-up run: the entries from entry 1 (entry 0 is the language file) while they are of
// kind K, each with `tempName`(its path). The first entry of another kind ends it: K entries
// after it are never unpacked.
std::vector<StartupFile> StartupRun(const TextLineList& files, const TempNamer& tempName);

// Whether every file of the start-up run goes into the run's folder. A setup with one that goes
// elsewhere ("C:\windows\x.dll", "[TempFileDir]\..\..\x") is refused before anything is unpacked
// and before any window but the loading dialog shows.
bool StartupRunStaysInside(const std::vector<StartupFile>& run, const RunFolder& folder);

// Decodes each file of the start-up run (LZSS) into a new file in the run's folder, which holds
// it as written until the clean-up removes the folder. False at the first target outside the
// folder, and at the first failed extraction (a missing volume the user gave up on, a stop
// request, a damaged body, a name already taken).
bool ExtractStartupFiles(ContainerReader& reader, const std::vector<StartupFile>& run,
                         RunFolder& folder);

}  // namespace vesk
