// CRC-32 four bytes at a time ("slicing by four"). The 4 KB of tables are made when the program
// starts rather than stored in it: every setup carries the engine.
#include "container/Crc32.h"

#include "platform/LittleEndian.h"

namespace vesk {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;  // reflected 0x04C11DB7

struct Tables {
    Tables() {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? kPolynomial ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (std::uint32_t n = 0; n < 256; ++n) {
            for (int k = 1; k < 4; ++k) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
        }
    }
    std::uint32_t t[4][256];
};

Tables gTables;  // not const, which would store it in the file

}  // namespace

void Crc32::Update(const std::uint8_t* data, std::size_t size) {
    const auto& t = gTables.t;
    std::uint32_t c = state_;
    while (size >= 4) {
        c ^= Get32(data);
        c = t[3][c & 0xFF] ^ t[2][(c >> 8) & 0xFF] ^ t[1][(c >> 16) & 0xFF] ^ t[0][c >> 24];
        data += 4;
        size -= 4;
    }
    while (size-- > 0) c = (c >> 8) ^ t[0][(c ^ *data++) & 0xFF];
    state_ = c;
}

void Crc32::UpdateZeros(std::size_t size) {
    static const std::uint8_t kZeros[64] = {};
    while (size > 0) {
        const std::size_t piece = size < sizeof kZeros ? size : sizeof kZeros;
        Update(kZeros, piece);
        size -= piece;
    }
}

std::uint32_t Crc32::Of(const std::uint8_t* data, std::size_t size) {
    Crc32 crc;
    crc.Update(data, size);
    return crc.Value();
}

}  // namespace vesk
