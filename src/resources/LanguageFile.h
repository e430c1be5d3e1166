// The default language file that the builder stores as file entry 0 of every setup.
#pragma once

#include <string>

namespace vesk {

// The whole file, CR LF after every line: the sections "[Language=409]" (English, ASCII),
// "[Language=804]" (Simplified Chinese, GB2312) and "[Language=404,c04,1404]" (Traditional
// Chinese, Big5), in that order, each with the same keys in the same order. English is first
// because a system locale that no header lists falls back to the first section.
std::string DefaultLanguageFile();

}  // namespace vesk
