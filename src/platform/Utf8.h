// UTF-8, the form of every text inside the engine, and UTF-16, the form the system's W functions
// take: conversions that never fail. A byte sequence or code unit that forms no character becomes
// U+FFFD, so a damaged text stays readable and never stops a caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

constexpr char32_t kReplacementCharacter = 0xFFFD;
// The byte order mark that opens a UTF-8 file written for other programs to read.
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Removes a leading byte order mark; whether there was one.
bool StripUtf8ByteOrderMark(std::string& text);

// The character starting at `at` in UTF-8 text; `at` moves past it. A sequence that is not
// well-formed UTF-8 (a stray or missing continuation byte, an overlong form, a surrogate, a value
// beyond U+10FFFF) gives false and moves `at` past its first byte only.
bool NextUtf8CodePoint(const std::string& text, std::size_t& at, char32_t& point);

// Appends a character in UTF-8; a surrogate or a value beyond U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t point);

// Whether the bytes are well-formed UTF-8.
bool IsUtf8(const std::string& text);

// Well-formed UTF-8 as it is; every ill-formed sequence replaced by U+FFFD.
std::string SanitizeUtf8(const std::string& text);

std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const char16_t* units, std::size_t count);
std::string Utf16ToUtf8(const std::u16string& utf16);

}  // namespace vesk
