// Fuzzes the LZSS decoder: any bytes decode without a fault, the same whether fed whole or in
// pieces, and the same as a plain ring-buffer decoder of the format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "codec/lzss/LzssDecoder.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The format as a 4096-byte ring, byte by byte; the never-reset end of the ring holds zeros, as
// in the decoder under test.
std::string RingDecode(const std::uint8_t* in, std::size_t size) {
    std::uint8_t ring[vesk::kLzssWindowSize];
    std::memset(ring, vesk::kLzssFillByte, vesk::kLzssFirstWritePos);
    std::memset(ring + vesk::kLzssFirstWritePos, 0,
                vesk::kLzssWindowSize - vesk::kLzssFirstWritePos);
    unsigned r = vesk::kLzssFirstWritePos, flags = 0;
    std::size_t i = 0;
    std::string out;
    for (;;) {
        if (((flags >>= 1) & 0x100) == 0) {
            if (i >= size) break;
            flags = in[i++] | 0xFF00u;
        }
        if (flags & 1) {
            if (i >= size) break;
            out += char(in[i]);
            ring[r] = in[i++];
            r = (r + 1) % vesk::kLzssWindowSize;
            continue;
        }
        if (i + 1 >= size) break;
        unsigned p = in[i] | (in[i + 1] & 0xF0u) << 4, length = (in[i + 1] & 0x0Fu) + 3;
        i += 2;
        for (unsigned k = 0; k < length; ++k) {
            std::uint8_t c = ring[(p + k) % vesk::kLzssWindowSize];
            out += char(c);
            ring[r] = c;
            r = (r + 1) % vesk::kLzssWindowSize;
        }
    }
    return out;
}

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto decoder = std::make_unique<vesk::LzssDecoder>();
    const std::string expected = RingDecode(data, size);

    decoder->Reset();
    vesk::StringSink whole;
    Check(decoder->Feed(data, size, whole));
    Check(decoder->Finish(whole));
    Check(whole.bytes == expected);
    Check(decoder->OutputCount() == expected.size());

    // Pieces of a length taken from the input itself (1..32), the last one shorter.
    std::size_t piece = size ? data[0] % 32 + 1 : 1;
    decoder->Reset();
    vesk::StringSink pieces;
    for (std::size_t at = 0; at < size; at += piece) {
        Check(decoder->Feed(data + at, piece < size - at ? piece : size - at, pieces));
    }
    Check(decoder->Finish(pieces));
    Check(pieces.bytes == expected);
    return 0;
}
