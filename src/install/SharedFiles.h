// Counting the files an install puts outside its own folder in the system's shared-file list,
// as other installers do, so the last product that uses one removes it and no earlier one does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "session/InstallRecords.h"

namespace vesk {

// The list, under HKEY_LOCAL_MACHINE: value name the file's full path, data the number of
// installs that use it (a number).
constexpr char kSharedFilesKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The count a value holds (0 when it is none, or not a number).
std::uint32_t SharedCountOf(const std::optional<RegistryValue>& value);
RegistryValue SharedCountValue(std::uint32_t count);

// Adds this install to the count of `path`, journalled in `records` as SharedFileCounted with
// the count before. A file that was there uncounted (`existed` and no count) belongs to someone
// the list does not know of: it starts at 1 for them, so no uninstall ever takes it away.
// `journalled` makes the list's key when it is missing (journalled too); `system`, the registry
// beneath it, writes the count, which the journal keeps as a count rather than as a value.
// False when the count cannot be written.
bool CountSharedFile(Registry& journalled, Registry& system, InstallRecords& records,
                     const std::string& path, bool existed);

// Takes one install off the count of `path` (the value goes at zero), journalled as above; the
// count left.
std::uint32_t UncountSharedFile(Registry& system, InstallRecords& records, const std::string& path);

}  // namespace vesk
