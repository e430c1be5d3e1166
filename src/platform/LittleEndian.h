// Little-endian fields in bytes: the one reader and writer of the container, the Windows file
// formats (PE images, resources, icons, bitmaps) and the LZMA header. Callers check bounds
// before they call these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

inline std::uint16_t Get16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

inline std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline std::uint64_t Get64(const std::uint8_t* p) {
    return std::uint64_t(Get32(p)) | std::uint64_t(Get32(p + 4)) << 32;
}

inline void Put16(std::uint8_t* p, std::uint32_t value) {
    p[0] = std::uint8_t(value);
    p[1] = std::uint8_t(value >> 8);
}

inline void Put32(std::uint8_t* p, std::uint32_t value) {
    Put16(p, value & 0xFFFF);
    Put16(p + 2, value >> 16);
}

inline void Put64(std::uint8_t* p, std::uint64_t value) {
    Put32(p, std::uint32_t(value));
    Put32(p + 4, std::uint32_t(value >> 32));
}

// The same at index `at` of a byte string.
inline std::uint16_t Get16(const std::string& bytes, std::size_t at) {
    return Get16(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
}

inline std::uint32_t Get32(const std::string& bytes, std::size_t at) {
    return Get32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
}

inline void Put16(std::string& bytes, std::size_t at, std::uint32_t value) {
    Put16(reinterpret_cast<std::uint8_t*>(&bytes[at]), value);
}

inline void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    Put32(reinterpret_cast<std::uint8_t*>(&bytes[at]), value);
}

inline void Append16(std::string& bytes, std::uint32_t value) {
    bytes.append(2, '\0');
    Put16(bytes, bytes.size() - 2, value);
}

inline void Append32(std::string& bytes, std::uint32_t value) {
    bytes.append(4, '\0');
    Put32(bytes, bytes.size() - 4, value);
}

// `value` rounded up to a multiple of `alignment` (a power of two), for the sections and
// resource entries these fields describe.
inline std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

}  // namespace vesk
