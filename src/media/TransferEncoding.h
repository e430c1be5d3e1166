// MIME content transfer encodings: the body of a web archive's part as the document's bytes.
#pragma once

#include <cstddef>
#include <string>

namespace vesk {

// The bytes [begin, end) of `text` decoded by `encoding` (lower case): "quoted-printable"
// ("=XX" escapes, soft line breaks; a stray '=' stays), "base64" (characters outside the
// alphabet skipped); any other encoding (7bit, 8bit, binary) leaves them as they are.
std::string DecodeTransferEncoding(const std::string& text, std::size_t begin, std::size_t end,
                                   const std::string& encoding);

}  // namespace vesk
