// The layout of the payload that the builder appends to the setup executable, and of the LZSS
// stream format every compressed body uses. The reader and the writer both build on this header.
//
// Setup executable (volume 1), from byte 0:
//
//   +----------------------+  0
//   | program image        |  the engine itself; also the first bytes of the data stream
//   +----------------------+
//   | file bodies          |  the FileEntry bodies in file-list order, LZSS or raw, contiguous
//   +----------------------+  ProjectOffset
//   | project section      |  the project XML as one LZSS stream, ProjectSize bytes
//   +----------------------+  length - 76
//   | ContainerTail        |  SetIdentity (60 bytes) + trailer (4 x u32 little-endian)
//   +----------------------+  length
//
// Further volumes "Setup2.Cab", "Setup3.Cab", ... hold the data stream on from where the previous
// volume stopped, followed by a ContainerTail whose SetIdentity matches the executable's.
//
// The data stream: a StreamPosition counts bytes from byte 0 of the setup executable through all
// volumes. Every volume but the last carries exactly DiskSize stream bytes starting at its byte 0:
//   volume number   = P / DiskSize + 1
//   offset in file  = P % DiskSize
// A body that reaches the end of a volume's share continues at byte 0 of the next volume.
//
// There is no directory in the payload: the trailer locates the project section, and the
// project's file list (one FileEntry text per file: "path,offset,size,kind,time") locates every
// body. Entry 0 is the language file; entries of kind K directly after it are start-up files.
//
// LZSS stream (every body except kind N, and the project section):
//   * groups of one flag byte followed by up to eight tokens; flag bits are read least
//     significant first, 1 = literal (one byte), 0 = reference (two bytes b1 b2);
//   * reference: window position = b1 | (b2 & 0xF0) << 4, length = (b2 & 0x0F) + 3 (3..18);
//   * a 4096-byte ring window, positions 0..4077 filled with spaces before each body, first
//     write position 4078; every output byte is also written to the ring, and a reference copies
//     byte by byte so that it may overlap the bytes it produces;
//   * no length field and no end marker: decoding stops when the body's stored size is consumed,
//     also inside a group or after the first byte of a reference (which is then dropped).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesk {

// --- Container tail -------------------------------------------------------------------------

constexpr std::size_t kIdentitySize = 60;
constexpr std::size_t kTrailerSize = 16;
constexpr std::size_t kTailSize = kIdentitySize + kTrailerSize;
constexpr std::size_t kMaxIdentityLength = kIdentitySize - 1;  // NUL-terminated
constexpr std::uint32_t kVolumeCounterValue = 2;  // what the builder writes; nothing rests on it

// The last 76 bytes of every volume file. All words are little-endian on disk; use
// DecodeTail/EncodeTail rather than copying the struct's bytes.
struct ContainerTail {
    char setIdentity[kIdentitySize];  // NUL-terminated text, NUL-padded
    std::uint32_t projectOffset;      // file offset of the project section in the executable
    std::uint32_t projectSize;        // compressed length of the project section
    std::uint32_t volumeCounter;      // written as 2
    std::uint32_t volumeNumber;       // 1 in the executable
};
static_assert(sizeof(ContainerTail) == kTailSize, "the container tail is 76 bytes on disk");

ContainerTail DecodeTail(const std::uint8_t (&bytes)[kTailSize]);
void EncodeTail(const ContainerTail& tail, std::uint8_t (&bytes)[kTailSize]);

// The identity as text: the bytes up to the first NUL (at most 59 of them).
std::string IdentityOf(const ContainerTail& tail);
// Fills the identity field; false when the text is longer than 59 bytes.
bool SetIdentityText(ContainerTail& tail, const std::string& identity);

// --- Volumes --------------------------------------------------------------------------------

constexpr int kFirstVolume = 1;

// "Setup" + number + ".Cab".
std::string VolumeFileName(int volumeNumber);

// The path of volume `volumeNumber` in `location`: a folder (with or without a trailing
// separator, a drive root such as "D:\" included). An empty location gives the bare file name.
std::string VolumePath(const std::string& location, int volumeNumber);

// --- LZSS stream ----------------------------------------------------------------------------

constexpr int kLzssWindowSize = 4096;
constexpr int kLzssMaxMatch = 18;
constexpr int kLzssMinMatch = 3;  // references carry (length - 3) in four bits
constexpr int kLzssFirstWritePos = kLzssWindowSize - kLzssMaxMatch;  // 4078
constexpr std::uint8_t kLzssFillByte = 0x20;

}  // namespace vesk
