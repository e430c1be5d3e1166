// Where bytes to be encoded come from, pulled in pieces of the reader's choosing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Puts up to `capacity` next bytes into `buffer`; `got` is 0 at the end. False when the
    // bytes cannot be had (a read error, a stop request); the source knows why.
    virtual bool Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) = 0;
};

}  // namespace vesk
