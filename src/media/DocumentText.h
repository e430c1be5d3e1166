// Readable plain text from the documents a setup shows (licence, readme) when the system's web
// browser control cannot show them, e.g. under Wine without its browser engine: the page then
// shows this text in a read-only multi-line edit control.
#pragma once

#include <string>

#include "platform/AnsiText.h"

namespace vesk {

// The readable text of an HTML, MHT (single-file web archive) or plain text document's bytes,
// with CR LF line ends (the edit control needs them) and never a zero byte. An archive gives
// its first HTML part (else its first plain text part), decoded from quoted-printable or
// base64. The characters are read as UTF-8 when the document says so (a byte order mark, the
// part's charset, a <meta> charset) or, saying nothing, is well-formed UTF-8 beyond ASCII;
// UTF-16 with a byte order mark is read too. Then every character goes through `encode`.
// Otherwise the bytes are taken to be in the ANSI code page and pass through untouched. See
// HtmlToText for the layout. Any bytes are safe to pass; the work is linear in their length.
std::string DocumentToText(const std::string& bytes, const CodePointEncoder& encode);

}  // namespace vesk
