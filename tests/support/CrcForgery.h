// What an attacker does to a volume guarded by CRC-32 only: changes bytes, then sets four
// other bytes so that the CRC comes out as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk::test {

// Rewrites bytes[at .. at + 3] so that the CRC-32 of bytes[from .. to) is `crc`. False when
// the range does not hold the four bytes.
bool ForgeCrc32(std::string& bytes, std::size_t from, std::size_t to, std::size_t at,
                std::uint32_t crc);

// The CRC-32 of bytes[from .. to).
std::uint32_t Crc32Of(const std::string& bytes, std::size_t from, std::size_t to);

}  // namespace vesk::test
