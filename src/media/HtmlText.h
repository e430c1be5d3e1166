// Readable plain text from an HTML document, for showing a licence or readme in an edit control
// when no browser control can show the page.
#pragma once

#include <string>

#include "platform/AnsiText.h"

namespace vesk {

// The text of `html` as a browser would show it, with CR LF line ends: tags, comments, scripts,
// styles and the head's title dropped; spaces collapsed except in <pre>; paragraphs and headings
// set apart by a blank line; list items on lines of their own with "- " or their number ("1. ",
// "a. ", "iv. "), nested lists indented; table cells on one line set apart by " | "; <hr> a
// line of dashes; character references decoded. With `utf8` the bytes are read as UTF-8 (a byte
// order mark skipped) and every character goes through `encode`; otherwise they are in the ANSI
// code page already and bytes from 0x80 up pass through untouched (double-byte characters stay
// whole). Characters `encode` cannot hold get an ASCII stand-in. Any input is safe: the work is
// linear in its length and the output at most a small multiple of it.
std::string HtmlToText(const std::string& html, const CodePointEncoder& encode, bool utf8);

}  // namespace vesk
