// How the file bodies of a set are compressed: the project's CompressType of task 2401.
#pragma once

#include <string>

namespace vesk {

enum class BodyMethod {
    Lzss,  // the default: every set without a CompressType
    Lzma,
};

// The method a CompressType value names: empty (the field absent), "LZSS" or "LZMA", ignoring
// ASCII case, nothing trimmed. False for anything else: a method this engine does not know.
bool BodyMethodFromName(const std::string& name, BodyMethod& method);

// "LZSS" or "LZMA", as the builder writes it.
const char* BodyMethodName(BodyMethod method);

}  // namespace vesk
