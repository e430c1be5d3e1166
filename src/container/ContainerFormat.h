// The layout of the payload that the builder appends to the setup executable; the formats of
// the compressed bodies are the codecs' (codec/). The reader and the writer both build on this
// header.
//
// Setup executable (volume 1), from byte 0:
//
//   +----------------------+  0
//   | program image        |  the engine itself; also the first bytes of the data stream
//   +----------------------+
//   | file bodies          |  the FileEntry bodies in file-list order, LZSS or raw, contiguous
//   +----------------------+  ProjectOffset
//   | project section      |  the project XML as one LZSS stream, ProjectSize bytes
//   +----------------------+  ProjectOffset + ProjectSize
//   | block index          |  only in a set whose bodies are solid (below)
//   +----------------------+
//   | checksum block       |  optional (below); then 0..7 zero bytes, so that the tail ends at a
//   |                      |  multiple of 8 and a signing tool appends without padding
//   +----------------------+  tail end - 76
//   | ContainerTail        |  SetIdentity (60 bytes) + trailer (4 x u32 little-endian)
//   +----------------------+  tail end: the file's length, or in a signed setup the start of
//   | certificate table    |  the certificate table that the PE security directory points at
//   +----------------------+  length
//
// Further volumes "Setup2.Cab", "Setup3.Cab", ... hold the data stream on from where the previous
// volume stopped, followed by a ContainerTail whose SetIdentity matches the executable's. They are
// no programs and are never signed: the checksum block in the executable binds them to it.
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
// The non-empty bodies of one set never share a stream byte.
//
// Checksum block, between the project section and the tail (all words u32 little-endian). An
// engine that does not know its magic passes over it: nothing else points into that gap. What
// the builder writes (the signature of a signed Setup.exe covers it, and so binds the unsigned
// volumes and the project to the publisher):
//   0   "VeskSha2"                    8 bytes
//   8   block size in bytes           56 + 36 x volume count + 8 x body count (padding not counted)
//   12  volume count N
//   16  body count M
//   20  SHA-256 of the project section, and of the block index behind it when there is one
//       (32 bytes)
//   52  per volume 1..N: its stream bytes (u32), then the SHA-256 of them (32 bytes)
//   52 + 36N  per body, in ascending stream position: its StreamPosition (u32), then the number
//       of bytes it decodes to (u32); every body of size > 0 of the file list, and no other
//   end - 4  CRC-32 of the block's bytes before it
// The language file is a body of the data stream: its volume's digest covers it. A body decodes
// to exactly its recorded number of bytes (a raw body: its size); one that gives more or fewer,
// and a body of the file list that is not recorded, is damage.
//
// Earlier builders wrote CRC-32 only, which guards against damage and mix-ups but not against
// a volume changed on purpose (its CRC forged back); such a block is still read:
//   0   "VeskSums"                    8 bytes
//   8   block size in bytes           24 + 8 x volume count
//   12  volume count N
//   16  CRC-32 of the project section
//   20  per volume 1..N: its stream bytes (u32), then the CRC-32 of them (u32)
//   20 + 8N  CRC-32 of the block's bytes before it
//
// Either block is followed by fewer than 8 zero bytes. Volume 1's stream bytes are checksummed
// with the two places a signing tool rewrites in the program image taken as zeros: the optional
// header's CheckSum and the security directory entry (Authenticode leaves them out too). A
// volume N >= 2 must also carry N as its tail's VolumeNumber and exactly its stream bytes before
// its tail; it is verified over the handle it is then read through, which shuts out writers. A
// gap that starts with neither magic (empty in the builders before the block, or whatever
// another producer puts there) is passed over and the set read unchecked.
//
// LZSS stream: codec/lzss/LzssFormat.h. A stream yields at most 8.5 bytes per stream byte;
// the project section and the language file are refused when they decode to more than their
// bounds below.
//
// Body method: the file bodies of a set (every entry but kind N, the language file included) are
// all LZSS streams, all LZMA bodies, or all in solid blocks, as the project's CompressType of
// task 2401 says: absent or empty or "LZSS" for LZSS, "LZMA" for LZMA, "LZMA-SOLID" for solid
// blocks (compared ignoring case); any other value makes the set damaged. The project section is
// always LZSS: it says which method the bodies use.
//
// LZMA body: codec/lzma/LzmaFormat.h.
//
// Solid blocks (LZMA-SOLID). The files' bytes, one file after the other, are cut into blocks at
// file boundaries; each block is one LZMA body in the data stream (the .lzma layout, its length
// the block's decoded bytes). All blocks' decoded bytes, block after block, form the *decoded
// stream*: an entry of any kind but N with size > 0 names in its offset field its first byte in
// the decoded stream and in its size field its length in bytes, and lies inside one block. An
// entry of kind N is a raw body of the data stream as in every set; an empty file (size 0) names
// a position of the data stream and reads nothing. The builder writes the entries in the order of
// the decoded stream (raw and empty ones between the blocks, where their bodies lie), so that an
// install decodes each block once, from its start, as it writes the block's files in order. The
// blocks are bodies of the data stream as any other: the checksum block records each with its
// decoded length, and no body shares a byte with another.
//
// Block index, right behind the project section (all words u32 little-endian). A set whose
// method is LZMA-SOLID without one is damaged; an index that is not well-formed is damage:
//   0   "VeskBlks"                    8 bytes
//   8   index size in bytes           20 + 20 x block count
//   12  block count B                 at most kMaxSolidBlocks
//   16  per block 0..B-1, in stream order: its StreamPosition, its stored bytes, its decoded
//       bytes (neither 0), its filter (0: none; any other is unknown, and damage), the CRC-32 of
//       its decoded bytes; no two blocks share a byte and the decoded stream stays below 2^31
//   end - 4  CRC-32 of the index's bytes before it
// A block whose LZMA data the decoder rejects, that ends before its decoded bytes or has bytes
// after its data, or whose decoded bytes' CRC-32 differs, is damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/lzma/LzmaFormat.h"
#include "codec/lzss/LzssFormat.h"
#include "container/Sha256.h"

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

// --- Signed setups --------------------------------------------------------------------------

// How many bytes from the start of volume 1 are read to find its PE headers.
constexpr std::size_t kImageHeaderProbe = 4096;

// The places in a PE image that a signing tool rewrites, and the certificate table it appends.
struct ImageSigningFields {
    std::int64_t checksumField = -1;      // file offset of the optional header's CheckSum (4 bytes)
    std::int64_t securityEntry = -1;      // file offset of the security directory entry (8 bytes)
    std::uint32_t certificateOffset = 0;  // the entry's words: file offset of the table ...
    std::uint32_t certificateSize = 0;    // ... and its size; 0 when the image is not signed
};

// Finds the fields in the first bytes of a file (up to kImageHeaderProbe of them); offsets stay
// -1 for bytes that are no PE image, or whose headers lie beyond `size`.
ImageSigningFields FindImageSigningFields(const std::uint8_t* head, std::size_t size);

// Where the tail of a file of `length` bytes ends: at the certificate table when the security
// directory names one that lies inside the file behind room for a tail, else at the end.
std::int64_t TailEndOf(const ImageSigningFields& fields, std::int64_t length);

// --- Checksum block -------------------------------------------------------------------------

enum class ChecksumKind {
    Crc32,   // "VeskSums": earlier builders
    Sha256,  // "VeskSha2": what the builder writes
};

constexpr char kCrcMagic[8] = {'V', 'e', 's', 'k', 'S', 'u', 'm', 's'};
constexpr char kShaMagic[8] = {'V', 'e', 's', 'k', 'S', 'h', 'a', '2'};
constexpr std::size_t kVolumeAlignment = 8;  // volume 1's tail ends at a multiple of this
// More volumes than any set needs, and more bodies than a project of kMaxProjectText bytes can
// list; they bound the block the reader takes in.
constexpr std::uint32_t kMaxChecksumVolumes = 65536;
constexpr std::uint32_t kMaxRecordedBodies = 1u << 20;

struct VolumeChecksum {
    std::uint32_t streamBytes = 0;
    std::uint32_t crc = 0;  // ChecksumKind::Crc32
    Sha256Digest sha256{};  // ChecksumKind::Sha256
};

// A body of the data stream and the number of bytes it decodes to.
struct RecordedBody {
    std::uint32_t offset = 0;  // StreamPosition
    std::uint32_t length = 0;
};

struct ChecksumBlock {
    ChecksumKind kind = ChecksumKind::Sha256;
    std::uint32_t projectCrc = 0;
    Sha256Digest projectSha256{};
    std::vector<VolumeChecksum> volumes;  // volume 1 first
    std::vector<RecordedBody> bodies;     // Sha256 only; ascending offsets
};

std::size_t ChecksumBlockSize(ChecksumKind kind, std::size_t volumeCount, std::size_t bodyCount);

// The block of `block.kind`; the bodies are written in ascending order of their offsets.
std::vector<std::uint8_t> EncodeChecksumBlock(const ChecksumBlock& block);

// What lies in the gap between the project section and the tail.
enum class ChecksumGap {
    Absent,   // neither magic at its start: a setup built without checksums
    Present,  // a well-formed block followed by fewer than 8 zero bytes
    Damaged,  // a magic, then anything else (for the bodies: two with one offset, too)
};
ChecksumGap DecodeChecksumGap(const std::uint8_t* gap, std::size_t size, ChecksumBlock& block);

// The number of bytes a block whose first kBlockHeaderProbe bytes are `head` claims to take,
// so that a reader takes in no more; 0 when they are no block header.
constexpr std::size_t kBlockHeaderProbe = 20;
std::size_t ClaimedBlockSize(const std::uint8_t (&head)[kBlockHeaderProbe]);

// The recorded body at `offset`; null when there is none.
const RecordedBody* FindRecordedBody(const ChecksumBlock& block, std::uint32_t offset);

// --- Bounds ---------------------------------------------------------------------------------

// The most bytes the project XML and the language file may decode to. Far above any real
// project (a file-list entry takes about a hundred bytes) and language file, and low enough that
// the engine's 32-bit address space holds the project model built from them.
constexpr std::uint64_t kMaxProjectText = 32u << 20;
constexpr std::uint64_t kMaxLanguageFile = 4u << 20;

}  // namespace vesk
