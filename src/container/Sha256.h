// SHA-256 (FIPS 180-4), the digest that binds a signed setup's volumes and project section to it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vesk {

constexpr std::size_t kSha256Size = 32;
using Sha256Digest = std::array<std::uint8_t, kSha256Size>;

// Computed incrementally: Update with the bytes in order, in pieces of any size, then Final once.
// Small rather than fast: it lives in every setup, and hashing reads the setup at disk speed.
class Sha256 {
public:
    Sha256();
    void Update(const std::uint8_t* data, std::size_t size);
    // As if `size` zero bytes were fed.
    void UpdateZeros(std::size_t size);
    // The digest of everything fed; the object is spent afterwards.
    Sha256Digest Final();

    // The digest of one piece of memory.
    static Sha256Digest Of(const std::uint8_t* data, std::size_t size);

private:
    void Compress(const std::uint8_t* block);

    std::uint32_t state_[8];
    std::uint8_t block_[64];
    std::size_t fill_ = 0;
    std::uint64_t length_ = 0;  // bytes fed
};

}  // namespace vesk
