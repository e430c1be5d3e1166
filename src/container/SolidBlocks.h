// The block index of a set whose bodies are solid (BodyMethod::LzmaSolid): where each block lies
// in the data stream, what it holds, and where a file's bytes lie among the blocks' decoded bytes.
// Layout and rules: ContainerFormat.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

constexpr char kBlockIndexMagic[8] = {'V', 'e', 's', 'k', 'B', 'l', 'k', 's'};
constexpr std::size_t kBlockIndexHead = 16;   // magic, size, block count
constexpr std::size_t kBlockRecordSize = 20;  // per block
// More blocks than a project of kMaxProjectText bytes can fill; bounds what a reader takes in.
constexpr std::uint32_t kMaxSolidBlocks = 1u << 16;

// How a block's decoded bytes were changed before they were compressed.
enum class BlockFilter : std::uint32_t {
    None = 0,
};

struct SolidBlock {
    std::uint32_t offset = 0;   // StreamPosition of its body (an LZMA body, LzmaFormat.h)
    std::uint32_t stored = 0;   // bytes of the body in the stream
    std::uint32_t decoded = 0;  // bytes it decodes to: its files' bytes, one after the other
    BlockFilter filter = BlockFilter::None;
    std::uint32_t crc = 0;  // CRC-32 of the decoded bytes
};

struct BlockIndex {
    std::vector<SolidBlock> blocks;  // in stream order
    // Where each block's decoded bytes begin among all of them: start[i] = the sum of the decoded
    // sizes before block i. Filled by DecodeBlockIndex and AddBlock.
    std::vector<std::uint32_t> starts;

    // Appends a block behind the others (the builder).
    void AddBlock(const SolidBlock& block);
    // The block whose decoded bytes hold [position, position + size); -1 when none holds all of
    // them (a file never spans two blocks).
    long BlockOf(std::uint32_t position, std::uint32_t size) const;
    std::uint64_t DecodedTotal() const;
};

std::size_t BlockIndexSize(std::size_t blockCount);
std::vector<std::uint8_t> EncodeBlockIndex(const BlockIndex& index);

// The number of bytes an index whose first kBlockIndexHead bytes are `head` claims to take (0 when
// they are no index header, or claim more blocks than kMaxSolidBlocks).
std::size_t ClaimedBlockIndexSize(const std::uint8_t* head, std::size_t size);

// Reads an index of exactly `size` bytes. False, with the reason in `why`, for anything but a
// well-formed one: its CRC, a block that is empty or of a filter this engine does not know,
// blocks out of stream order or sharing bytes, more decoded bytes than a stream position holds.
bool DecodeBlockIndex(const std::uint8_t* bytes, std::size_t size, BlockIndex& index,
                      std::string& why);

}  // namespace vesk
