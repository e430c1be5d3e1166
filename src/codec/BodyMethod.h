// How the file bodies of a set are compressed: the project's CompressType of task 2401. A new
// method is a folder of codec/ with its decoder and encoder, a value here and its name below,
// and its decoder in BodyDecoders.
#pragma once

#include <cstddef>
#include <string>

namespace vesk {

enum class BodyMethod {
    Lzss,  // the default: every set without a CompressType
    Lzma,
    // The files' bytes in solid blocks, each one LZMA body over the files it holds, named by the
    // set's block index (container/SolidBlocks.h); raw files stay bodies of their own.
    LzmaSolid,
};
// The number of methods: one more than the last of them.
constexpr std::size_t kBodyMethodCount = std::size_t(BodyMethod::LzmaSolid) + 1;

// The method a CompressType value names: empty (the field absent), "LZSS", "LZMA" or
// "LZMA-SOLID", ignoring ASCII case, nothing trimmed. False for anything else: a method this
// engine does not know.
bool BodyMethodFromName(const std::string& name, BodyMethod& method);

// "LZSS", "LZMA" or "LZMA-SOLID", as the builder writes it.
const char* BodyMethodName(BodyMethod method);

}  // namespace vesk
