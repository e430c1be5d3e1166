// What Windows accepts as a file or folder name, and as the folders of a path: the one rule the
// builder and the engine's folder pages share.
#pragma once

#include <string>

namespace vesk {

// Whether `name` can be one component of a path on Windows: not empty, no control character,
// none of \ / : * ? " < > |, no trailing dot or space (Windows would drop it), and no device name
// (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0 ... COM9, LPT0 ... LPT9, with or without an
// extension, and with blanks before it: "CON .txt"). Double-byte characters of the ANSI code page
// are passed over whole, so a trail byte that looks like '|' or '\' is no fault. False with the
// reason in `why`.
bool CheckWindowsName(const std::string& name, std::string& why);

// The characters alone: whether `text` can be part of a name (no control character, none of
// \ / : * ? " < > |). False with the reason in `why`.
bool CheckNameCharacters(const std::string& text, std::string& why);

// Whether every backslash-separated part of `folders` is such a name. Empty parts (a leading,
// doubled or trailing backslash) are passed over; an empty text holds no name and passes.
bool CheckWindowsFolderNames(const std::string& folders, std::string& why);

// Whether `path` begins with a drive root: a letter, ':' and '\' ("C:\").
bool HasDriveRoot(const std::string& path);

}  // namespace vesk
