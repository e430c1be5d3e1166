// Unicode helpers for the document converter: reading UTF-8 and UTF-16, telling text encodings
// apart, and ASCII stand-ins for characters the ANSI code page cannot hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

// Marks a unit that is a byte of the ANSI code page to be copied unchanged, not a code point.
constexpr std::uint32_t kRawByte = 0x80000000u;
constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// The next character of `text` at `pos`, advancing `pos` (which must be before the end). With
// `utf8` it decodes one UTF-8 sequence (an invalid byte gives kReplacementCharacter and moves on
// by one); otherwise ASCII bytes are their code points and other bytes come back as
// kRawByte | byte, so double-byte characters of the code page pass through untouched.
std::uint32_t ReadCharacter(const std::string& text, std::size_t& pos, bool utf8);

// True when `text` is well-formed UTF-8 and holds at least one character beyond ASCII: text in
// a double-byte code page almost never passes, so such a document is UTF-8 without saying so.
bool LooksLikeUtf8(const std::string& text);

// Byte order of UTF-16 text.
enum class Utf16Order { LittleEndian, BigEndian };

// UTF-16 text as UTF-8 (unpaired surrogates become kReplacementCharacter; an odd last byte is
// dropped).
std::string Utf16ToUtf8(const std::string& text, Utf16Order order);

// Which byte order the zero bytes of ASCII characters suggest (little endian when unsure).
Utf16Order GuessUtf16Order(const std::string& text);

// True when the text starts as an ASCII document does in UTF-16 without a byte order mark
// ("<" or a letter followed or preceded by a zero byte).
bool StartsLikeUtf16(const std::string& text);

// Characters a reader should never see: soft hyphens, zero-width and direction marks, byte order
// marks, control codes (tab, line feed and carriage return excepted).
bool IsInvisibleCharacter(std::uint32_t codePoint);

// A readable ASCII stand-in for a character the code page lacks: quotes, dashes, ellipsis,
// symbols such as "(c)", letters without their accents; "?" for the rest.
std::string AsciiFallback(std::uint32_t codePoint);

}  // namespace vesk
