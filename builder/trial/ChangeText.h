// Changes in words, for the summary and the findings: "file C:\a\b.txt (1,234 bytes)".
#pragma once

#include <cstdint>
#include <string>

#include "builder/trial/MachineChanges.h"

namespace vesk::trial {

// "file C:\...", "folder C:\...", "link C:\..." with the size of a file ("(12 bytes)", or
// "(12 -> 14 bytes)" for one that changed).
std::string DescribeFile(const FileChange& change);
// "key HKEY_...\..." or "value HKEY_...\...: Name = "data"" (the default value named "(default)",
// the data as a person reads it, before -> after for a change).
std::string DescribeRegistry(const RegistryChange& change);

// 1234567 -> "1,234,567".
std::string GroupedNumber(std::uint64_t value);

}  // namespace vesk::trial
