// Byte-level encoding of the container tail and the volume naming rule.
#include "container/ContainerFormat.h"

#include <algorithm>
#include <cstring>

#include "container/Crc32.h"
#include "platform/LittleEndian.h"

namespace vesk {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// PE header offsets: the new header's offset word in the DOS header, the optional header behind
// the signature and the file header, and in it the CheckSum and the data directories.
constexpr std::size_t kNewHeaderOffsetWord = 0x3C;
constexpr std::size_t kOptionalHeaderStart = 4 + 20;
constexpr std::size_t kOptionalSizeWord = 4 + 16;
constexpr std::size_t kChecksumInOptional = 64;
constexpr std::uint32_t kPe32Magic = 0x10B, kPe32PlusMagic = 0x20B;
constexpr std::size_t kSecurityDirectoryIndex = 4;

}  // namespace

ContainerTail DecodeTail(const std::uint8_t (&bytes)[kTailSize]) {
    ContainerTail tail;
    std::memcpy(tail.setIdentity, bytes, kIdentitySize);
    const std::uint8_t* words = bytes + kIdentitySize;
    tail.projectOffset = Get32(words);
    tail.projectSize = Get32(words + 4);
    tail.volumeCounter = Get32(words + 8);
    tail.volumeNumber = Get32(words + 12);
    return tail;
}

void EncodeTail(const ContainerTail& tail, std::uint8_t (&bytes)[kTailSize]) {
    std::memcpy(bytes, tail.setIdentity, kIdentitySize);
    std::uint8_t* words = bytes + kIdentitySize;
    Put32(words, tail.projectOffset);
    Put32(words + 4, tail.projectSize);
    Put32(words + 8, tail.volumeCounter);
    Put32(words + 12, tail.volumeNumber);
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

ImageSigningFields FindImageSigningFields(const std::uint8_t* head, std::size_t size) {
    ImageSigningFields fields;
    if (size > kImageHeaderProbe) size = kImageHeaderProbe;
    if (size < kNewHeaderOffsetWord + 4 || head[0] != 'M' || head[1] != 'Z') return fields;
    const std::size_t pe = Get32(head + kNewHeaderOffsetWord);
    if (pe > size || size - pe < kOptionalHeaderStart + 2 || std::memcmp(head + pe, "PE\0\0", 4)) {
        return fields;
    }
    const std::size_t optional = pe + kOptionalHeaderStart;
    const std::size_t optionalSize = Get16(head + pe + kOptionalSizeWord);
    const std::uint32_t magic = Get16(head + optional);
    std::size_t countWord = 0;
    if (magic == kPe32Magic) {
        countWord = 92;
    } else if (magic == kPe32PlusMagic) {
        countWord = 108;
    } else {
        return fields;
    }
    const std::size_t directories = countWord + 4;
    const std::size_t entry = directories + 8 * kSecurityDirectoryIndex;
    if (optionalSize < entry + 8 || size - optional < entry + 8) return fields;
    if (Get32(head + optional + countWord) <= kSecurityDirectoryIndex) return fields;
    fields.checksumField = std::int64_t(optional + kChecksumInOptional);
    fields.securityEntry = std::int64_t(optional + entry);
    fields.certificateOffset = Get32(head + optional + entry);
    fields.certificateSize = Get32(head + optional + entry + 4);
    return fields;
}

std::int64_t TailEndOf(const ImageSigningFields& fields, std::int64_t length) {
    if (fields.certificateSize != 0 && fields.certificateOffset >= kTailSize &&
        std::int64_t(fields.certificateOffset) <= length) {
        return fields.certificateOffset;
    }
    return length;
}

namespace {

constexpr std::size_t kCrcHeaderSize = 20;  // magic, block size, volume count, project CRC
constexpr std::size_t kCrcVolumeSize = 8;
constexpr std::size_t kShaHeaderSize = 20 + kSha256Size;  // ... volume and body counts, digest
constexpr std::size_t kShaVolumeSize = 4 + kSha256Size;
constexpr std::size_t kBodySize = 8;

bool IsMagic(const std::uint8_t* p, const char (&magic)[8]) {
    return std::memcmp(p, magic, sizeof magic) == 0;
}

bool AllZeros(const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] != 0) return false;
    }
    return true;
}

}  // namespace

std::size_t ChecksumBlockSize(ChecksumKind kind, std::size_t volumeCount, std::size_t bodyCount) {
    if (kind == ChecksumKind::Crc32) return kCrcHeaderSize + kCrcVolumeSize * volumeCount + 4;
    return kShaHeaderSize + kShaVolumeSize * volumeCount + kBodySize * bodyCount + 4;
}

std::vector<std::uint8_t> EncodeChecksumBlock(const ChecksumBlock& block) {
    const bool sha = block.kind == ChecksumKind::Sha256;
    std::vector<std::uint8_t> bytes(
        ChecksumBlockSize(block.kind, block.volumes.size(), sha ? block.bodies.size() : 0));
    std::memcpy(bytes.data(), sha ? kShaMagic : kCrcMagic, 8);
    Put32(&bytes[8], std::uint32_t(bytes.size()));
    Put32(&bytes[12], std::uint32_t(block.volumes.size()));
    std::size_t at = 0;
    if (sha) {
        Put32(&bytes[16], std::uint32_t(block.bodies.size()));
        std::memcpy(&bytes[20], block.projectSha256.data(), kSha256Size);
        at = kShaHeaderSize;
    } else {
        Put32(&bytes[16], block.projectCrc);
        at = kCrcHeaderSize;
    }
    for (const VolumeChecksum& volume : block.volumes) {
        Put32(&bytes[at], volume.streamBytes);
        if (sha) {
            std::memcpy(&bytes[at + 4], volume.sha256.data(), kSha256Size);
        } else {
            Put32(&bytes[at + 4], volume.crc);
        }
        at += sha ? kShaVolumeSize : kCrcVolumeSize;
    }
    if (sha) {
        std::vector<RecordedBody> bodies = block.bodies;
        std::sort(bodies.begin(), bodies.end(),
                  [](const RecordedBody& a, const RecordedBody& b) { return a.offset < b.offset; });
        for (const RecordedBody& body : bodies) {
            Put32(&bytes[at], body.offset);
            Put32(&bytes[at + 4], body.length);
            at += kBodySize;
        }
    }
    Put32(&bytes[at], Crc32::Of(bytes.data(), at));
    return bytes;
}

std::size_t ClaimedBlockSize(const std::uint8_t (&head)[kBlockHeaderProbe]) {
    const std::uint32_t size = Get32(head + 8), volumes = Get32(head + 12);
    if (volumes == 0 || volumes > kMaxChecksumVolumes) return 0;
    if (IsMagic(head, kCrcMagic)) {
        return size == ChecksumBlockSize(ChecksumKind::Crc32, volumes, 0) ? size : 0;
    }
    const std::uint32_t bodies = Get32(head + 16);
    if (!IsMagic(head, kShaMagic) || bodies > kMaxRecordedBodies) return 0;
    return size == ChecksumBlockSize(ChecksumKind::Sha256, volumes, bodies) ? size : 0;
}

ChecksumGap DecodeChecksumGap(const std::uint8_t* gap, std::size_t size, ChecksumBlock& block) {
    if (size < sizeof kCrcMagic || (!IsMagic(gap, kCrcMagic) && !IsMagic(gap, kShaMagic))) {
        return ChecksumGap::Absent;
    }
    if (size < kBlockHeaderProbe) return ChecksumGap::Damaged;
    std::uint8_t head[kBlockHeaderProbe];
    std::memcpy(head, gap, sizeof head);
    const std::size_t blockSize = ClaimedBlockSize(head);
    if (blockSize == 0 || blockSize > size || size - blockSize >= kVolumeAlignment ||
        !AllZeros(gap + blockSize, size - blockSize)) {
        return ChecksumGap::Damaged;
    }
    const std::size_t crcAt = blockSize - 4;
    if (Get32(gap + crcAt) != Crc32::Of(gap, crcAt)) return ChecksumGap::Damaged;
    const bool sha = IsMagic(gap, kShaMagic);
    block = ChecksumBlock();
    block.kind = sha ? ChecksumKind::Sha256 : ChecksumKind::Crc32;
    block.volumes.assign(Get32(gap + 12), VolumeChecksum{});
    std::size_t at = sha ? kShaHeaderSize : kCrcHeaderSize;
    if (sha) {
        std::memcpy(block.projectSha256.data(), gap + 20, kSha256Size);
    } else {
        block.projectCrc = Get32(gap + 16);
    }
    for (VolumeChecksum& volume : block.volumes) {
        volume.streamBytes = Get32(gap + at);
        if (sha) {
            std::memcpy(volume.sha256.data(), gap + at + 4, kSha256Size);
        } else {
            volume.crc = Get32(gap + at + 4);
        }
        at += sha ? kShaVolumeSize : kCrcVolumeSize;
    }
    if (!sha) return ChecksumGap::Present;
    block.bodies.resize(Get32(gap + 16));
    for (std::size_t i = 0; i < block.bodies.size(); ++i, at += kBodySize) {
        block.bodies[i] = {Get32(gap + at), Get32(gap + at + 4)};
        if (i > 0 && block.bodies[i].offset <= block.bodies[i - 1].offset) {
            return ChecksumGap::Damaged;
        }
    }
    return ChecksumGap::Present;
}

const RecordedBody* FindRecordedBody(const ChecksumBlock& block, std::uint32_t offset) {
    auto found = std::lower_bound(
        block.bodies.begin(), block.bodies.end(), offset,
        [](const RecordedBody& body, std::uint32_t value) { return body.offset < value; });
    return found != block.bodies.end() && found->offset == offset ? &*found : nullptr;
}

std::string VolumeFileName(int volumeNumber) {
    return "Setup" + std::to_string(volumeNumber) + ".Cab";
}

std::string VolumePath(const std::string& location, int volumeNumber) {
    if (location.empty()) return VolumeFileName(volumeNumber);
    if (IsSeparator(location.back())) return location + VolumeFileName(volumeNumber);
    // Keep the separator style of the location (forward slashes only in native host paths).
    bool slashes =
        location.find('/') != std::string::npos && location.find('\\') == std::string::npos;
    return location + (slashes ? "/" : "\\") + VolumeFileName(volumeNumber);
}

}  // namespace vesk
