// compress and decompress: raw LZSS streams without a container around them.
#include <cstdio>
#include <vector>

#include "CommandTable.h"
#include "Commands.h"
#include "LzssEncoder.h"
#include "container/LzssDecoder.h"

namespace vesk::tool {
namespace {

// IN and OUT of a stream command; false (with the exit code) when the line is no use.
bool InAndOut(const std::string& command, const Arguments& args, CommandLine& line, int& exitCode) {
    if (!ParseCommandLine(command, args, line, exitCode)) return false;
    if (line.Operands().size() != 2) {
        exitCode = UsageError(command, "give IN and OUT");
        return false;
    }
    return true;
}

}  // namespace

int CompressCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!InAndOut("compress", args, line, exitCode)) return exitCode;
    const std::string& in = line.Operands()[0];
    std::string input, error;
    if (!ReadFileBytes(in, input, error)) return Failure(error);
    std::vector<std::uint8_t> stream;
    LzssEncode(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), stream);
    if (!WriteFileBytes(line.Operands()[1], std::string(stream.begin(), stream.end()), error)) {
        return Failure(error);
    }
    if (!line.Has("--quiet")) {
        std::printf("%s: %zu -> %zu bytes (%.1f%%)\n", in.c_str(), input.size(), stream.size(),
                    input.empty() ? 100.0 : 100.0 * double(stream.size()) / double(input.size()));
    }
    return kExitSuccess;
}

int DecompressCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!InAndOut("decompress", args, line, exitCode)) return exitCode;
    const std::string& in = line.Operands()[0];
    std::string input, error;
    if (!ReadFileBytes(in, input, error)) return Failure(error);
    static LzssDecoder decoder;  // 40 KiB of window and buffers: keep it off the stack
    StringSink output;
    decoder.Reset();
    decoder.Feed(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), output);
    decoder.Finish(output);
    if (!WriteFileBytes(line.Operands()[1], output.bytes, error)) return Failure(error);
    if (!line.Has("--quiet")) {
        std::printf("%s: %zu -> %zu bytes\n", in.c_str(), input.size(), output.bytes.size());
    }
    return kExitSuccess;
}

}  // namespace vesk::tool
