// Byte-level encoding of the container tail and the volume naming rule.
#include "container/ContainerFormat.h"

#include <cstring>

namespace vesk {
namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void WriteU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

ContainerTail DecodeTail(const std::uint8_t (&bytes)[kTailSize]) {
    ContainerTail tail;
    std::memcpy(tail.setIdentity, bytes, kIdentitySize);
    const std::uint8_t* words = bytes + kIdentitySize;
    tail.projectOffset = ReadU32(words);
    tail.projectSize = ReadU32(words + 4);
    tail.volumeCounter = ReadU32(words + 8);
    tail.volumeNumber = ReadU32(words + 12);
    return tail;
}

void EncodeTail(const ContainerTail& tail, std::uint8_t (&bytes)[kTailSize]) {
    std::memcpy(bytes, tail.setIdentity, kIdentitySize);
    std::uint8_t* words = bytes + kIdentitySize;
    WriteU32(words, tail.projectOffset);
    WriteU32(words + 4, tail.projectSize);
    WriteU32(words + 8, tail.volumeCounter);
    WriteU32(words + 12, tail.volumeNumber);
}

std::string IdentityOf(const ContainerTail& tail) {
    const void* nul = std::memchr(tail.setIdentity, 0, kIdentitySize);
    std::size_t length =
        nul ? std::size_t(static_cast<const char*>(nul) - tail.setIdentity) : kMaxIdentityLength;
    if (length > kMaxIdentityLength) length = kMaxIdentityLength;
    return std::string(tail.setIdentity, length);
}

bool SetIdentityText(ContainerTail& tail, const std::string& identity) {
    if (identity.size() > kMaxIdentityLength) return false;
    std::memset(tail.setIdentity, 0, kIdentitySize);
    std::memcpy(tail.setIdentity, identity.data(), identity.size());
    return true;
}

std::string VolumeFileName(int volumeNumber) {
    return "Setup" + std::to_string(volumeNumber) + ".Cab";
}

std::string VolumePath(const std::string& location, int volumeNumber) {
    if (location.empty()) return VolumeFileName(volumeNumber);
    if (IsSeparator(location.back())) return location + VolumeFileName(volumeNumber);
    // Keep the separator style of the location (forward slashes only in native host paths).
    bool slashes = location.find('/') != std::string::npos &&
                   location.find('\\') == std::string::npos;
    return location + (slashes ? "/" : "\\") + VolumeFileName(volumeNumber);
}

}  // namespace vesk
