// The name under which Windows lists an installed font, read from the font file's 'name' table
// (TrueType, OpenType and TrueType collections). Font files come from the payload: every size and
// offset in them is checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/AnsiText.h"

namespace vesk {

// Reads `size` bytes at `offset` of the font file into `bytes`; false when the file is shorter or
// cannot be read.
using FontReader = std::function<bool(std::uint64_t offset, std::size_t size, std::string& bytes)>;

// The full name of each font in the file as Windows lists it ("DejaVu Sans Mono", "Arial Bold
// Italic"; without a full name record, the family followed by the style unless that is
// "Regular"), the fonts of a collection joined by " & ", then " (TrueType)" or, for PostScript
// outlines, " (OpenType)". Names come from the Windows records in US English when
// there are any, else from other Windows, Unicode or English Macintosh records, encoded with
// `encode` ('?' for what it cannot hold and for control characters). Empty when the file is no
// such font, names no family, or the name would be longer than a registry value name may be.
std::string FontRegistryName(const FontReader& read, const CodePointEncoder& encode);

// The same for the font file at `path` in the ANSI code page, reading only the parts it needs.
std::string FontRegistryNameOfFile(const std::string& path);

}  // namespace vesk
