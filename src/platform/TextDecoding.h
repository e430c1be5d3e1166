// Texts stored in a code page (old projects, records and logs in the system's ANSI code page, the
// language file's Chinese sections in GB2312 and Big5) decoded once, where they are read, into
// the engine's UTF-8.
#pragma once

#include <string>

namespace vesk {

constexpr unsigned kAnsiCodePage = 0;  // the running system's ANSI code page
constexpr unsigned kGb2312CodePage = 936;
constexpr unsigned kBig5CodePage = 950;
constexpr unsigned kUtf8CodePage = 65001;

// The bytes as UTF-8. ASCII comes back as it is and UTF-8 is only cleaned here; any other code
// page goes through the system's converter (every Windows has 936 and 950, so the stub carries no
// table of its own). Whatever forms no character becomes U+FFFD (the system's own stand-in on
// Windows); the result is always well-formed UTF-8.
std::string DecodeToUtf8(const std::string& bytes, unsigned codePage);

// The system's converter behind DecodeToUtf8: MultiByteToWideChar on Windows, iconv natively
// (where the ANSI code page is 1252, as the native encoder assumes too). Call DecodeToUtf8.
std::string DecodeWithSystem(const std::string& bytes, unsigned codePage);

}  // namespace vesk
