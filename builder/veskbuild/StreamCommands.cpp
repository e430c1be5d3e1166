// compress and decompress: raw LZSS streams without a container around them.
#include <cstdio>
#include <vector>

#include "Commands.h"
#include "LzssEncoder.h"
#include "container/LzssDecoder.h"

namespace vesk::tool {

int CompressCommand(const Arguments& args) {
    if (args.size() != 2) return UsageError("compress needs IN and OUT");
    std::string input, error;
    if (!ReadFileBytes(args[0], input, error)) return Failure(error);
    std::vector<std::uint8_t> stream;
    LzssEncode(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), stream);
    if (!WriteFileBytes(args[1], std::string(stream.begin(), stream.end()), error)) return Failure(error);
    std::printf("%s: %zu -> %zu bytes (%.1f%%)\n", args[0].c_str(), input.size(), stream.size(),
                input.empty() ? 100.0 : 100.0 * double(stream.size()) / double(input.size()));
    return 0;
}

int DecompressCommand(const Arguments& args) {
    if (args.size() != 2) return UsageError("decompress needs IN and OUT");
    std::string input, error;
    if (!ReadFileBytes(args[0], input, error)) return Failure(error);
    static LzssDecoder decoder;  // 40 KiB of window and buffers: keep it off the stack
    StringSink output;
    decoder.Reset();
    decoder.Feed(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), output);
    decoder.Finish(output);
    if (!WriteFileBytes(args[1], output.bytes, error)) return Failure(error);
    std::printf("%s: %zu -> %zu bytes\n", args[0].c_str(), input.size(), output.bytes.size());
    return 0;
}

}  // namespace vesk::tool
