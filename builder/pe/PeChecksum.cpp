// PE checksum: a 16-bit one's-complement style sum folded as it goes.
#include "builder/pe/PeChecksum.h"

namespace vesk {

void PeChecksum::Add(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i, ++position_) {
        unsigned byte = position_ - field_ < 4 ? 0 : data[i];
        if (lowByte_ < 0) {
            lowByte_ = int(byte);
            continue;
        }
        sum_ += std::uint32_t(lowByte_) | std::uint32_t(byte) << 8;
        sum_ = (sum_ & 0xFFFF) + (sum_ >> 16);
        lowByte_ = -1;
    }
}

std::uint32_t PeChecksum::Value() const {
    std::uint32_t sum = sum_;
    if (lowByte_ >= 0) {
        sum += std::uint32_t(lowByte_);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return sum + std::uint32_t(position_);
}

}  // namespace vesk
