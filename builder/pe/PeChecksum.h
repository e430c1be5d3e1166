// The checksum of a PE file (the optional header's CheckSum), computed as the file streams by.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

// The sum of the file's 16-bit little-endian words with end-around carry, the CheckSum field
// itself taken as zero, plus the file's length: what the system's CheckSumMappedFile gives.
class PeChecksum {
public:
    // `fieldOffset`: where the CheckSum field lies in the file.
    explicit PeChecksum(std::uint64_t fieldOffset) : field_(fieldOffset) {}

    // The file's next bytes.
    void Add(const std::uint8_t* data, std::size_t size);
    std::uint32_t Value() const;

private:
    std::uint64_t field_;
    std::uint64_t position_ = 0;
    std::uint32_t sum_ = 0;
    int lowByte_ = -1;  // the first byte of a word whose second has not come yet
};

}  // namespace vesk
