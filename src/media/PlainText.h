// Plain text documents (a readme.txt, a text/plain part) made ready for an edit control.
#pragma once

#include <string>

#include "platform/AnsiText.h"

namespace vesk {

// `text` with CR LF line ends (from CR LF, LF or CR), spaces and tabs kept, trailing ones
// removed, at most one blank line in a row and none at the start or end; form feeds break lines
// and other control codes are dropped. `utf8` and `encode` work as for HtmlToText.
std::string PlainTextToText(const std::string& text, const CodePointEncoder& encode, bool utf8);

}  // namespace vesk
