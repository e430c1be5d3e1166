// HTML character references: the named ones of HTML 4 (with &apos;) and numeric ones, read as
// browsers read them in text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

// Reads the character reference that starts with the '&' at `pos` and ends before `end`. On
// success stores its character, moves `pos` past it and returns true; otherwise (an unknown
// name, "&" alone) leaves `pos` where it was and returns false, and the text stays as written.
// As in browsers, a numeric reference may lack its ';', and so may the Latin-1 names and
// amp/lt/gt/quot ("&copy2024" is "(c)2024"); numbers outside Unicode, surrogates and zero give
// U+FFFD, and 0x80..0x9F are read as code page 1252 ("&#150;" is an en dash).
bool ReadCharacterReference(const std::string& text, std::size_t& pos, std::size_t end,
                            std::uint32_t& codePoint);

}  // namespace vesk
