// Project texts and the code page the engine reads them in: GB2312 (the project declares it),
// checked, or converted from UTF-8 by the builder's own table.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Utf8.h"

namespace vesk {

// Whether the bytes are ASCII and GB2312 characters (two bytes from 0xA1 to 0xFE, the cell
// assigned); false with the reason, naming the first byte that is not.
bool CheckGb2312(const std::string& text, std::string& why);

// UTF-8 text to GB2312 bytes: ASCII as it is, every other character by its GB2312 code. False
// with the reason when the text is not UTF-8 or holds a character GB2312 has no code for.
bool Utf8ToGb2312(const std::string& utf8, std::string& gb2312, std::string& why);

// GB2312 bytes to UTF-8 (for messages and the console); a byte that starts no character of the
// table is kept as it is.
std::string Gb2312ToUtf8(const std::string& gb2312);

// A text as the project takes it in, in UTF-8: ASCII and UTF-8 as they are (a GB2312 text is
// seldom also well-formed UTF-8, while a UTF-8 text often passes for GB2312, so UTF-8 is tried
// first); else GB2312 bytes converted. False with the reason when it is neither.
bool ToProjectText(const std::string& text, std::string& out, std::string& why);

}  // namespace vesk
