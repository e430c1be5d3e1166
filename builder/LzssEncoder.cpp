// Placeholder: literal-only stream until the parsing encoder lands.
#include "LzssEncoder.h"

namespace vesk {

void LzssEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    for (std::size_t i = 0; i < size; i += 8) {
        out.push_back(0xFF);
        for (std::size_t k = i; k < size && k < i + 8; ++k) out.push_back(data[k]);
    }
}

}  // namespace vesk
