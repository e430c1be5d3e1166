// What an HTML document says about its own character encoding, and the encoding labels the
// converter tells apart.
#pragma once

#include <string>

namespace vesk {

// The charset a document declares in its first kilobytes: an XML declaration's encoding, or a
// <meta charset> or <meta http-equiv="Content-Type" content="...; charset=..."> before <body>.
// Lower case; empty when it declares none.
std::string DeclaredCharset(const std::string& html);

// Labels of UTF-8 ("utf-8", "utf8") and of UTF-16 ("utf-16", "utf-16le", "unicode", ...).
// A document read as bytes that calls itself UTF-16 is UTF-8, as browsers assume.
bool IsUtf8Label(const std::string& lowerLabel);
bool IsUtf16Label(const std::string& lowerLabel);

}  // namespace vesk
