// Texts made safe for a terminal: what a setup or a project holds is data, and must not move the
// cursor, set a window title, change colours or forge a line of the tool's own output.
#pragma once

#include <string>

namespace vesk::tool {

// Control characters (below 0x20 and 0x7F) as "\xNN"; with `utf8`, also the C1 controls
// (U+0080 ... U+009F), the bidirectional overrides and the line and paragraph separators as
// "\u{NNNN}" and every byte that starts no UTF-8 character as "\xNN".
std::string EscapeControls(const std::string& text, bool utf8);

// A text of a setup or project (ANSI code page) for the console: converted where the console
// needs it (ForConsole), then escaped.
std::string ForTerminal(const std::string& ansiText);

// A message of the tool, which may quote project texts: a message that is UTF-8 already is
// escaped as it is, any other is treated as ANSI text.
std::string MessageForTerminal(const std::string& message);

}  // namespace vesk::tool
