// The project's texts as UTF-16, for the places that hold wide text (a program's version
// information).
#pragma once

#include <string>

namespace vesk {

// Decodes `text` as the project files declare it, GB2312 (code page 936, read as its superset
// GB18030 where the platform converts by name); ASCII passes through. False, leaving `wide`
// empty, for bytes that are no such text.
bool ProjectTextToUtf16(const std::string& text, std::u16string& wide);

}  // namespace vesk
