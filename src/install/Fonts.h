// Fonts of task 2407: added to the running system and listed so that they stay after a restart;
// taken back by the uninstaller.
#pragma once

#include <string>

#include "platform/Fonts.h"
#include "session/InstallRecords.h"

namespace vesk {

// Adds the font file at `path` (resolved, and already written by the file phase) to the system's
// font table. When the system takes it, the font is also listed under the system's fonts key,
// named as Windows names it (FontRegistryName; the file's name without its extension when the
// file names no font family), with the bare file name when the file lies in the fonts folder and
// the full path otherwise, and running programs are told that the fonts changed. Failures are
// silent. With `records`, both go into the journal (the listing with the one it replaced).
void AddFont(Fonts& fonts, const std::string& path, InstallRecords* records = nullptr);

// Takes back what AddFont did for the font file at `path` (resolved): the font leaves the
// system's font table, every listing under the fonts key that names the file (by its bare name
// when it lies in the fonts folder, and by its full path) goes, whatever the listing is called,
// and running programs are told. The file itself stays. Failures are silent.
void RemoveFont(Fonts& fonts, const std::string& path);

}  // namespace vesk
