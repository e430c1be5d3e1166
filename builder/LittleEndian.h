// Little-endian fields in byte strings, for the Windows file formats the builder writes (PE
// images, resources, icons). Readers check bounds themselves before they call these.
#pragma once

#include <cstdint>
#include <string>

namespace vesk {

inline std::uint16_t Get16(const std::string& bytes, std::size_t at) {
    return std::uint16_t(static_cast<unsigned char>(bytes[at]) |
                         static_cast<unsigned char>(bytes[at + 1]) << 8);
}

inline std::uint32_t Get32(const std::string& bytes, std::size_t at) {
    return std::uint32_t(Get16(bytes, at)) | std::uint32_t(Get16(bytes, at + 2)) << 16;
}

inline void Put16(std::string& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8 & 0xFF);
}

inline void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

inline void Append16(std::string& bytes, std::uint32_t value) {
    bytes.append(2, '\0');
    Put16(bytes, bytes.size() - 2, value);
}

inline void Append32(std::string& bytes, std::uint32_t value) {
    bytes.append(4, '\0');
    Put32(bytes, bytes.size() - 4, value);
}

// `value` rounded up to a multiple of `alignment` (a power of two).
inline std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

}  // namespace vesk
