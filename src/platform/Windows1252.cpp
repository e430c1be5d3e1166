// The 32 characters code page 1252 puts where Latin-1 has control codes.
#include "platform/Windows1252.h"

namespace vesk {
namespace {

constexpr unsigned char kFirst = 0x80;
constexpr unsigned char kLast = 0x9F;

constexpr std::uint16_t kHighControls[kLast - kFirst + 1] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98..9F
};

}  // namespace

std::uint32_t Windows1252HighControl(unsigned char byte) {
    if (byte < kFirst || byte > kLast) return 0;
    return kHighControls[byte - kFirst];
}

}  // namespace vesk
