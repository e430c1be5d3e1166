// compress and decompress: raw LZSS streams without a container around them, streamed in blocks
// so that memory stays the same whatever the file's size.
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "CommandTable.h"
#include "Commands.h"
#include "InputFile.h"
#include "LzssEncoder.h"
#include "container/LzssDecoder.h"
#include "container/OutputFile.h"

namespace vesk::tool {
namespace {

constexpr std::size_t kBlockSize = std::size_t(1) << 20;

// IN and OUT of a stream command; false (with the exit code) when the line is no use.
bool InAndOut(const std::string& command, const Arguments& args, CommandLine& line, int& exitCode) {
    if (!ParseCommandLine(command, args, line, exitCode)) return false;
    if (line.Operands().size() != 2) {
        exitCode = UsageError(command, "give IN and OUT");
        return false;
    }
    return true;
}

// Feeds IN to `feed` block by block and writes OUT; OUT is removed again on failure.
template <typename Feed, typename Finish>
int Transform(const std::string& inPath, const std::string& outPath, Feed feed, Finish finish,
              std::uint64_t& in, std::uint64_t& out) {
    InputFile input;
    if (!input.Open(inPath)) return Failure(input.LastError());
    // Stream positions are counted in size_t: a 32-bit build reaches 4 GiB at most.
    if (input.Size() >= std::numeric_limits<std::size_t>::max() / 2) {
        return Failure(inPath + ": too large for this build of veskbuild");
    }
    OutputFile output;
    if (!output.Create(outPath)) return Failure(outPath + ": cannot be created");
    auto fail = [&](const std::string& message) {
        output.Close();
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
        return Failure(message);
    };
    std::vector<std::uint8_t> block(kBlockSize);
    std::size_t got = 0;
    in = 0;
    do {
        if (!input.Read(block.data(), block.size(), got)) return fail(input.LastError());
        if (got > 0 && !feed(block.data(), got, output)) return fail(outPath + ": write error");
        in += got;
    } while (got > 0);
    if (!finish(output, out) || !output.Close()) return fail(outPath + ": write error");
    return kExitSuccess;
}

double Percent(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 100.0 : 100.0 * double(part) / double(whole);
}

}  // namespace

int CompressCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!InAndOut("compress", args, line, exitCode)) return exitCode;
    auto encoder = std::make_unique<LzssEncoder>();
    bool begun = false;
    auto begin = [&](OutputFile& output) {
        if (!begun) encoder->Begin(output);
        begun = true;
    };
    auto feed = [&](const std::uint8_t* data, std::size_t size, OutputFile& output) {
        begin(output);
        return encoder->Feed(data, size);
    };
    auto finish = [&](OutputFile& output, std::uint64_t& out) {
        begin(output);
        bool ok = encoder->Finish();
        out = encoder->BytesOut();
        return ok;
    };
    const std::string& inPath = line.Operands()[0];
    std::uint64_t in = 0, out = 0;
    if (int failed = Transform(inPath, line.Operands()[1], feed, finish, in, out)) return failed;
    if (!line.Has("--quiet")) {
        std::printf("%s: %llu -> %llu bytes (%.1f%%)\n", inPath.c_str(),
                    static_cast<unsigned long long>(in), static_cast<unsigned long long>(out),
                    Percent(out, in));
    }
    return kExitSuccess;
}

int DecompressCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!InAndOut("decompress", args, line, exitCode)) return exitCode;
    auto decoder = std::make_unique<LzssDecoder>();  // 40 KiB of window: off the stack
    decoder->Reset();
    auto feed = [&](const std::uint8_t* data, std::size_t size, OutputFile& output) {
        return decoder->Feed(data, size, output);
    };
    auto finish = [&](OutputFile& output, std::uint64_t& out) {
        bool ok = decoder->Finish(output);
        out = decoder->OutputCount();
        return ok;
    };
    const std::string& inPath = line.Operands()[0];
    std::uint64_t in = 0, out = 0;
    if (int failed = Transform(inPath, line.Operands()[1], feed, finish, in, out)) return failed;
    if (!line.Has("--quiet")) {
        std::printf("%s: %llu -> %llu bytes\n", inPath.c_str(), static_cast<unsigned long long>(in),
                    static_cast<unsigned long long>(out));
    }
    return kExitSuccess;
}

}  // namespace vesk::tool
