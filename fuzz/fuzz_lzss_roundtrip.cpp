// Fuzzes the LZSS encoder: every input comes back through the decoder, with either parsing and
// with blocks of any size; the stream never reads the window's unset end; optimal parsing is
// never larger than greedy, and on short inputs it is as small as an exhaustive search allows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codec/lzss/LzssDecoder.h"
#include "codec/lzss/LzssEncoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string Decode(const Bytes& stream) {
    static auto decoder = std::make_unique<vesk::LzssDecoder>();
    decoder->Reset();
    vesk::StringSink sink;
    decoder->Feed(stream.data(), stream.size(), sink);
    decoder->Finish(sink);
    return sink.bytes;
}

// True when a reference reads a ring position of 4078..4095 before the stream has written it.
bool ReadsUnsetWindowEnd(const Bytes& in) {
    std::size_t written = 0;  // bytes produced so far: ring positions 4078.. are written in order
    unsigned flags = 0;
    for (std::size_t i = 0;;) {
        if (((flags >>= 1) & 0x100) == 0) {
            if (i >= in.size()) return false;
            flags = in[i++] | 0xFF00u;
        }
        if (flags & 1) {
            if (i++ >= in.size()) return false;
            ++written;
            continue;
        }
        if (i + 1 >= in.size()) return false;
        unsigned p = in[i] | (in[i + 1] & 0xF0u) << 4, length = (in[i + 1] & 0x0Fu) + 3;
        i += 2;
        for (unsigned k = 0; k < length; ++k, ++written) {
            unsigned at = (p + k) % vesk::kLzssWindowSize;
            std::size_t end = std::size_t(vesk::kLzssWindowSize - vesk::kLzssFirstWritePos);
            if (at >= unsigned(vesk::kLzssFirstWritePos) && written < end &&
                at - vesk::kLzssFirstWritePos >= written) {
                return true;
            }
        }
    }
}

// The size of the smallest stream, by trying every distance at every position.
std::size_t SmallestStreamSize(const std::uint8_t* data, std::size_t size) {
    Bytes text(vesk::kLzssFirstWritePos + size, vesk::kLzssFillByte);
    std::copy(data, data + size, text.begin() + vesk::kLzssFirstWritePos);
    std::vector<std::uint64_t> bits(size + 1, 0);
    for (std::size_t i = size; i-- > 0;) {
        std::size_t at = i + vesk::kLzssFirstWritePos;
        std::size_t limit = std::min<std::size_t>(vesk::kLzssMaxMatch, size - i);
        std::size_t longest = 0;
        for (std::size_t d = 1; d <= std::min<std::size_t>(vesk::kLzssWindowSize, at); ++d) {
            std::size_t l = 0;
            while (l < limit && text[at - d + l] == text[at + l]) ++l;
            longest = std::max(longest, l);
        }
        bits[i] = 9 + bits[i + 1];
        for (std::size_t l = vesk::kLzssMinMatch; l <= longest; ++l) {
            bits[i] = std::min(bits[i], 17 + bits[i + l]);
        }
    }
    return std::size_t((bits[0] + 7) / 8);
}

class PieceSink : public vesk::ByteSink {
public:
    bool Write(const std::uint8_t* data, std::size_t size) override {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    }
    Bytes bytes;
};

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vesk::LzssEncoder encoder;
    static vesk::LzssEncoder smallBlocks;
    const std::string original(reinterpret_cast<const char*>(data), size);

    encoder.SetBlockSize(std::size_t(1) << 18);
    Bytes optimal, greedy;
    encoder.Encode(data, size, optimal, vesk::LzssParse::Optimal);
    encoder.Encode(data, size, greedy, vesk::LzssParse::Greedy);
    Check(Decode(optimal) == original);
    Check(Decode(greedy) == original);
    Check(!ReadsUnsetWindowEnd(optimal) && !ReadsUnsetWindowEnd(greedy));
    Check(optimal.size() <= greedy.size());
    Check(greedy.size() <= size + (size + 7) / 8);

    // Small blocks hand the search over often, cutting tokens where the paths do not meet.
    smallBlocks.SetBlockSize(size ? data[0] % 97 + 1 : 1);
    Bytes blocked;
    smallBlocks.Encode(data, size, blocked);
    Check(Decode(blocked) == original);
    Check(!ReadsUnsetWindowEnd(blocked));

    // Fed in pieces, with the same blocks, the stream is the same.
    static vesk::LzssEncoder pieces;
    pieces.SetBlockSize(size ? data[0] % 97 + 1 : 1);
    PieceSink sink;
    pieces.Begin(sink);
    const std::size_t piece = size > 1 ? data[1] % 200 + 1 : 1;
    for (std::size_t at = 0; at < size; at += piece) {
        Check(pieces.Feed(data + at, std::min(piece, size - at)));
    }
    Check(pieces.Finish());
    Check(sink.bytes == blocked);

    if (size <= 48) Check(optimal.size() == SmallestStreamSize(data, size));
    return 0;
}
