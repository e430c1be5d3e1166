// Forging a CRC-32 by linear algebra: the CRC of a fixed-length message is affine in its bits,
// so the 32 bits of a 4-byte patch that give any wanted CRC solve a 32 x 32 system over GF(2).
#include "support/CrcForgery.h"

#include <cstdint>
#include <utility>

#include "container/Crc32.h"

namespace vesk::test {

std::uint32_t Crc32Of(const std::string& bytes, std::size_t from, std::size_t to) {
    return Crc32::Of(reinterpret_cast<const std::uint8_t*>(bytes.data()) + from, to - from);
}

bool ForgeCrc32(std::string& bytes, std::size_t from, std::size_t to, std::size_t at,
                std::uint32_t crc) {
    if (from > at || at + 4 > to || to > bytes.size()) return false;
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = 0;
    const std::uint32_t base = Crc32Of(bytes, from, to);
    // Column k: how flipping patch bit k changes the CRC.
    std::uint32_t columns[32];
    for (int k = 0; k < 32; ++k) {
        bytes[at + std::size_t(k / 8)] = char(1 << (k % 8));
        columns[k] = Crc32Of(bytes, from, to) ^ base;
        bytes[at + std::size_t(k / 8)] = 0;
    }
    // Gaussian elimination: row r holds CRC bit r of every column, and the wanted change of
    // that bit as bit 32.
    const std::uint32_t change = crc ^ base;
    std::uint64_t rows[32];
    for (int r = 0; r < 32; ++r) {
        rows[r] = std::uint64_t((change >> r) & 1u) << 32;
        for (int k = 0; k < 32; ++k) rows[r] |= std::uint64_t((columns[k] >> r) & 1u) << k;
    }
    int pivotColumn[32];
    int rank = 0;
    for (int k = 0; k < 32 && rank < 32; ++k) {
        int pivot = rank;
        while (pivot < 32 && !((rows[pivot] >> k) & 1u)) ++pivot;
        if (pivot == 32) continue;
        std::swap(rows[pivot], rows[rank]);
        for (int r = 0; r < 32; ++r) {
            if (r != rank && ((rows[r] >> k) & 1u)) rows[r] ^= rows[rank];
        }
        pivotColumn[rank++] = k;
    }
    std::uint32_t solution = 0;
    for (int r = 0; r < rank; ++r)
        solution |= std::uint32_t((rows[r] >> 32) & 1u) << pivotColumn[r];
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char(solution >> (8 * i));
    return Crc32Of(bytes, from, to) == crc;
}

}  // namespace vesk::test
