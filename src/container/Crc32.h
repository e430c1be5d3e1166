// CRC-32 (the polynomial of zlib, PNG and ZIP), the checksum the container's checksum block uses.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

// Computed incrementally: Update with the bytes in order, in pieces of any size.
class Crc32 {
public:
    void Update(const std::uint8_t* data, std::size_t size);
    // As if `size` zero bytes were fed.
    void UpdateZeros(std::size_t size);
    std::uint32_t Value() const { return ~state_; }

    // The checksum of one piece of memory.
    static std::uint32_t Of(const std::uint8_t* data, std::size_t size);

private:
    std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace vesk
