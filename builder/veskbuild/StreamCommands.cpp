// compress and decompress: raw LZSS streams and LZMA bodies without a container around them,
// streamed in blocks so that memory stays the same whatever the file's size.
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "builder/plan/InputFile.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "codec/BodyMethod.h"
#include "codec/lzma/LzmaBodyDecoder.h"
#include "codec/lzma/LzmaBodyEncoder.h"
#include "codec/lzss/LzssDecoder.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/OutputFile.h"

namespace vesk::tool {
namespace {

constexpr std::size_t kBlockSize = std::size_t(1) << 20;

// IN, OUT and the method of a stream command; false (with the exit code) when the line is no use.
bool InAndOut(const std::string& command, const Arguments& args, CommandLine& line,
              BodyMethod& method, int& exitCode) {
    if (!ParseCommandLine(command, args, line, exitCode)) return false;
    if (line.Operands().size() != 2) {
        exitCode = UsageError(command, "give IN and OUT");
        return false;
    }
    if (!BodyMethodFromName(line.Value("--method"), method)) {
        exitCode = UsageError(command, "--method " + line.Value("--method") + ": lzss or lzma");
        return false;
    }
    return true;
}

// Pulls IN in blocks for an encoder that asks for its input.
class FileSource : public ByteSource {
public:
    explicit FileSource(InputFile& file) : file_(file) {}
    bool Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
        if (!file_.Read(buffer, capacity, got)) return false;
        bytes += got;
        return true;
    }
    std::uint64_t bytes = 0;

private:
    InputFile& file_;
};

// Feeds IN to `feed` block by block and writes OUT; OUT is removed again on failure. When `feed`
// or `finish` fail and `problem` then holds a text, IN is at fault (damaged input), else OUT.
template <typename Feed, typename Finish>
int Transform(const std::string& inPath, const std::string& outPath, Feed feed, Finish finish,
              std::uint64_t& in, std::uint64_t& out, const std::string& problem) {
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
    auto failed = [&]() {
        return fail(problem.empty() ? outPath + ": write error" : inPath + ": " + problem);
    };
    do {
        if (!input.Read(block.data(), block.size(), got)) return fail(input.LastError());
        if (got > 0 && !feed(block.data(), got, output)) return failed();
        in += got;
    } while (got > 0);
    if (!finish(output, out)) return failed();
    if (!output.Close()) return fail(outPath + ": write error");
    return kExitSuccess;
}

// IN as one LZMA body in OUT, with the dictionary a set holding only IN would get.
int CompressLzma(const std::string& inPath, const std::string& outPath, std::uint64_t& in,
                 std::uint64_t& out) {
    InputFile input;
    if (!input.Open(inPath)) return Failure(input.LastError());
    OutputFile output;
    if (!output.Create(outPath)) return Failure(outPath + ": cannot be created");
    FileSource source(input);
    LzmaBodyEncoder encoder(LzmaDictionaryFor(input.Size()));
    const bool encoded = encoder.Encode(source, input.Size(), output);
    if (!output.Close() || !encoded) {
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
        return Failure(!input.LastError().empty()     ? input.LastError()
                       : !encoder.LastError().empty() ? encoder.LastError()
                                                      : outPath + ": write error");
    }
    in = source.bytes;
    out = encoder.BytesOut();
    return kExitSuccess;
}

double Percent(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 100.0 : 100.0 * double(part) / double(whole);
}

}  // namespace

int CompressCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    BodyMethod method = BodyMethod::Lzss;
    if (!InAndOut("compress", args, line, method, exitCode)) return exitCode;
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
    const int failed = method == BodyMethod::Lzma
                           ? CompressLzma(inPath, line.Operands()[1], in, out)
                           : Transform(inPath, line.Operands()[1], feed, finish, in, out, "");
    if (failed) return failed;
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
    BodyMethod method = BodyMethod::Lzss;
    if (!InAndOut("decompress", args, line, method, exitCode)) return exitCode;
    auto decoder = std::make_unique<LzssDecoder>();  // 40 KiB of window: off the stack
    LzmaBodyDecoder lzma;
    decoder->Reset();
    const bool isLzma = method == BodyMethod::Lzma;
    auto feed = [&](const std::uint8_t* data, std::size_t size, OutputFile& output) {
        return isLzma ? lzma.Feed(data, size, output) : decoder->Feed(data, size, output);
    };
    auto finish = [&](OutputFile& output, std::uint64_t& out) {
        bool ok = isLzma ? lzma.Finish() : decoder->Finish(output);
        out = isLzma ? lzma.OutputCount() : decoder->OutputCount();
        return ok;
    };
    const std::string& inPath = line.Operands()[0];
    std::uint64_t in = 0, out = 0;
    if (int failed = Transform(inPath, line.Operands()[1], feed, finish, in, out, lzma.Problem())) {
        return failed;
    }
    if (!line.Has("--quiet")) {
        std::printf("%s: %llu -> %llu bytes\n", inPath.c_str(), static_cast<unsigned long long>(in),
                    static_cast<unsigned long long>(out));
    }
    return kExitSuccess;
}

}  // namespace vesk::tool
