// Encoder of LZMA bodies (LzmaFormat.h) over the LZMA SDK's LzmaEnc, single-threaded.
#pragma once

#include <cstdint>
#include <string>

#include "codec/ByteSink.h"
#include "codec/ByteSource.h"

namespace vesk {

// The dictionary a set gets when no body is larger: what the engine then allocates, once.
constexpr std::uint32_t kDefaultLzmaDictionary = 8u << 20;

// The dictionary for a set whose largest body is `largest` bytes: the smallest size of the form
// 2^n or 3 * 2^n (at least 64 KiB) that holds it, at most `most`. A larger dictionary would
// find nothing more, and costs the engine memory.
std::uint32_t LzmaDictionaryFor(std::uint64_t largest, std::uint32_t most = kDefaultLzmaDictionary);

// Every body written with one encoder names the same dictionary in its header, so the engine
// allocates its dictionary once per set. A body is encoded with a dictionary reduced to its own
// length (the header names the set's, which decodes it as well): a small file costs the encoder
// little memory and no time to clear a large match finder.
class LzmaBodyEncoder {
public:
    explicit LzmaBodyEncoder(std::uint32_t dictionary = kDefaultLzmaDictionary)
        : dictionary_(dictionary) {}

    // Encodes all that `source` gives, `length` bytes (written into the header), as one body into
    // `sink`. False when the source or the sink failed (each knows why), or the encoder did (see
    // LastError).
    bool Encode(ByteSource& source, std::uint64_t length, ByteSink& sink);

    std::uint32_t Dictionary() const { return dictionary_; }
    std::uint64_t BytesOut() const { return bytesOut_; }
    const std::string& LastError() const { return error_; }

private:
    std::uint32_t dictionary_;
    std::uint64_t bytesOut_ = 0;
    std::string error_;
};

}  // namespace vesk
