// Upper-casing and comparing names (tags, type names, field names, tokens, root names) the way
// the system does: ASCII letters are upper-cased, double-byte characters are left alone.
#pragma once

#include <string>

#include "platform/CodePage.h"

namespace vesk {

// Upper-cases ASCII letters outside double-byte characters; a lead byte and the byte after it
// are copied unchanged (a GBK trail byte may look like an ASCII letter).
std::string UpperName(const std::string& text);
std::string UpperName(const std::string& text, DoubleByteRules rules);

// Both sides upper-cased, then compared byte for byte.
bool SameName(const std::string& a, const std::string& b);

}  // namespace vesk
