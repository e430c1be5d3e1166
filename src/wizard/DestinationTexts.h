// The information lines of the destination page: the space the program needs and the free space
// of each drive.
#pragma once

#include <cstdint>
#include <string>

#include "container/FileEntry.h"
#include "install/SystemUtilities.h"
#include "project/LanguageTable.h"

namespace vesk {

// `bytes` in megabytes (bytes / 1048576) as the page shows them: the number with 16 significant
// digits, cut (not rounded) two digits after the decimal point; a whole number keeps its point
// and shows no digits after it, fewer digits show as they are. 5000000 gives "4.76", 1536
// gives "0.00", 15 MB gives "15.", 1.5 MB gives "1.5". Never in exponent form.
std::string MegabytesText(std::uint64_t bytes);

// ChangePathSoftSizeDesc1, " ", MegabytesText, " MB ", ChangePathSoftSizeDesc2.
std::string SizeLineText(const LanguageTable& texts, std::uint64_t bytes);

// A whole number with its thousands grouped by commas: 79718 gives "79,718".
std::string GroupedNumber(std::uint64_t number);

// ChangePathFreeSpaceDesc1, the letter, ChangePathFreeSpaceDesc2, " ", the free megabytes
// grouped (GroupedNumber), " MB ", ChangePathFreeSpaceDesc3 ("Disk C: 79,718 MB free space").
std::string DriveLineText(const LanguageTable& texts, const DriveSpace& drive);

// What the folder pages tell the user who is kept on the page: FolderNameErrorDesc followed by
// the text for a name Windows cannot hold, CreateFolderErrorDesc followed by the folder for one
// the system cannot make or enter.
std::string FolderNameRefusal(const LanguageTable& texts, const std::string& text);
std::string CreateFolderRefusal(const LanguageTable& texts, const std::string& folder);

}  // namespace vesk
