// The header block of a MIME message or body part, reduced to the fields that locate and decode
// a document in a web archive (MHT).
#pragma once

#include <cstddef>
#include <string>

namespace vesk {

struct MimeHeader {
    static constexpr std::size_t kMaxFieldLength = 4096;

    bool mimeVersion = false;      // a MIME-Version field was present
    std::string contentType;       // unfolded value, cut at kMaxFieldLength
    std::string transferEncoding;  // lower case, trimmed
};

// Reads header lines (CR LF or LF ends, folded lines joined) from `pos` up to the empty line
// that ends them, or up to `end`, and leaves `pos` on the first byte after that empty line.
// Lines without a colon are skipped.
MimeHeader ReadMimeHeader(const std::string& text, std::size_t& pos, std::size_t end);

// True when the line at `pos` is a header field ("Name: value"), as a message's first line is.
bool StartsWithHeaderField(const std::string& text, std::size_t pos);

struct ContentType {
    std::string mediaType;  // lower case, e.g. "text/html"
    std::string boundary;   // as written
    std::string charset;    // lower case
};

// Splits a Content-Type value: the media type, then ';'-separated parameters whose values may
// be quoted (with backslash escapes) or bare.
ContentType ParseContentType(const std::string& value);

}  // namespace vesk
