// compress and decompress: raw LZSS streams without a container around them, streamed in blocks
// so that memory stays the same whatever the file's size.
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "Commands.h"
#include "InputFile.h"
#include "LzssEncoder.h"
#include "container/LzssDecoder.h"
#include "container/OutputFile.h"

namespace vesk::tool {
namespace {

constexpr std::size_t kBlockSize = std::size_t(1) << 20;

// Feeds the input to `feed` block by block and writes OUT; OUT is removed again on failure.
template <typename Feed, typename Finish>
int Transform(const Arguments& args, Feed feed, Finish finish, std::uint64_t& in,
              std::uint64_t& out) {
    InputFile input;
    if (!input.Open(args[0])) return Failure(input.LastError());
    // Stream positions are counted in size_t: a 32-bit build reaches 4 GiB at most.
    if (input.Size() >= std::numeric_limits<std::size_t>::max() / 2) {
        return Failure(args[0] + ": too large for this build of veskbuild");
    }
    OutputFile output;
    if (!output.Create(args[1])) return Failure(args[1] + ": cannot be created");
    auto fail = [&](const std::string& message) {
        output.Close();
        std::error_code ec;
        std::filesystem::remove(args[1], ec);
        return Failure(message);
    };
    std::vector<std::uint8_t> block(kBlockSize);
    std::size_t got = 0;
    in = 0;
    do {
        if (!input.Read(block.data(), block.size(), got)) return fail(input.LastError());
        if (got > 0 && !feed(block.data(), got, output)) return fail(args[1] + ": write error");
        in += got;
    } while (got > 0);
    if (!finish(output, out) || !output.Close()) return fail(args[1] + ": write error");
    return 0;
}

double Percent(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 100.0 : 100.0 * double(part) / double(whole);
}

}  // namespace

int CompressCommand(const Arguments& args) {
    if (args.size() != 2) return UsageError("compress needs IN and OUT");
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
    std::uint64_t in = 0, out = 0;
    if (int failed = Transform(args, feed, finish, in, out)) return failed;
    std::printf("%s: %llu -> %llu bytes (%.1f%%)\n", args[0].c_str(),
                static_cast<unsigned long long>(in), static_cast<unsigned long long>(out),
                Percent(out, in));
    return 0;
}

int DecompressCommand(const Arguments& args) {
    if (args.size() != 2) return UsageError("decompress needs IN and OUT");
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
    std::uint64_t in = 0, out = 0;
    if (int failed = Transform(args, feed, finish, in, out)) return failed;
    std::printf("%s: %llu -> %llu bytes\n", args[0].c_str(), static_cast<unsigned long long>(in),
                static_cast<unsigned long long>(out));
    return 0;
}

}  // namespace vesk::tool
