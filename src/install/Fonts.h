// Fonts of task 2407: added to the running system and listed so that they stay after a restart.
#pragma once

#include <string>

#include "platform/Fonts.h"

namespace vesk {

// Adds the font file at `path` (resolved, and already written by the file phase) to the system's
// font table. When the system takes it, the font is also listed under the system's fonts key,
// named as Windows names it (FontRegistryName; the file's name without its extension when the
// file names no font family), with the bare file name when the file lies in the fonts folder and
// the full path otherwise, and running programs are told that the fonts changed. Failures are
// silent.
void AddFont(Fonts& fonts, const std::string& path);

}  // namespace vesk
