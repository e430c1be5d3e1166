// The block index of solid sets.
#include "container/SolidBlocks.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "container/Crc32.h"
#include "platform/LittleEndian.h"

namespace vesk {
namespace {

constexpr std::uint64_t kMostDecoded = std::uint64_t(std::numeric_limits<std::int32_t>::max());

}  // namespace

void BlockIndex::AddBlock(const SolidBlock& block) {
    starts.push_back(std::uint32_t(DecodedTotal()));
    blocks.push_back(block);
}

std::uint64_t BlockIndex::DecodedTotal() const {
    return blocks.empty() ? 0 : std::uint64_t(starts.back()) + blocks.back().decoded;
}

long BlockIndex::BlockOf(std::uint32_t position, std::uint32_t size) const {
    const auto after = std::upper_bound(starts.begin(), starts.end(), position);
    if (after == starts.begin()) return -1;
    const std::size_t i = std::size_t(after - starts.begin()) - 1;
    const std::uint64_t end = std::uint64_t(starts[i]) + blocks[i].decoded;
    return std::uint64_t(position) + size <= end ? long(i) : -1;
}

std::size_t BlockIndexSize(std::size_t blockCount) {
    return kBlockIndexHead + kBlockRecordSize * blockCount + 4;
}

std::vector<std::uint8_t> EncodeBlockIndex(const BlockIndex& index) {
    std::vector<std::uint8_t> bytes(BlockIndexSize(index.blocks.size()), 0);
    std::memcpy(bytes.data(), kBlockIndexMagic, sizeof kBlockIndexMagic);
    Put32(&bytes[8], std::uint32_t(bytes.size()));
    Put32(&bytes[12], std::uint32_t(index.blocks.size()));
    std::uint8_t* at = &bytes[kBlockIndexHead];
    for (const SolidBlock& block : index.blocks) {
        Put32(at, block.offset);
        Put32(at + 4, block.stored);
        Put32(at + 8, block.decoded);
        Put32(at + 12, std::uint32_t(block.filter));
        Put32(at + 16, block.crc);
        at += kBlockRecordSize;
    }
    Put32(at, Crc32::Of(bytes.data(), bytes.size() - 4));
    return bytes;
}

std::size_t ClaimedBlockIndexSize(const std::uint8_t* head, std::size_t size) {
    if (size < kBlockIndexHead || std::memcmp(head, kBlockIndexMagic, sizeof kBlockIndexMagic))
        return 0;
    const std::uint32_t count = Get32(head + 12);
    if (count > kMaxSolidBlocks || Get32(head + 8) != BlockIndexSize(count)) return 0;
    return BlockIndexSize(count);
}

bool DecodeBlockIndex(const std::uint8_t* bytes, std::size_t size, BlockIndex& index,
                      std::string& why) {
    index = BlockIndex();
    const std::size_t claimed = ClaimedBlockIndexSize(bytes, size);
    if (claimed == 0 || claimed != size) {
        why = "its block index has no valid header";
        return false;
    }
    if (Crc32::Of(bytes, size - 4) != Get32(bytes + size - 4)) {
        why = "its block index's checksum differs";
        return false;
    }
    const std::uint32_t count = Get32(bytes + 12);
    const std::uint8_t* at = bytes + kBlockIndexHead;
    std::uint64_t streamEnd = 0;
    for (std::uint32_t i = 0; i < count; ++i, at += kBlockRecordSize) {
        SolidBlock block;
        block.offset = Get32(at);
        block.stored = Get32(at + 4);
        block.decoded = Get32(at + 8);
        const std::uint32_t filter = Get32(at + 12);
        block.crc = Get32(at + 16);
        const std::string which = "block " + std::to_string(i);
        if (block.stored == 0 || block.decoded == 0) {
            why = which + " of its block index is empty";
            return false;
        }
        if (filter != std::uint32_t(BlockFilter::None)) {
            why = which + " uses filter " + std::to_string(filter) +
                  ", which this engine does not know";
            return false;
        }
        if (block.offset < streamEnd || std::uint64_t(block.offset) + block.stored > kMostDecoded) {
            why = which + " of its block index overlaps another or lies beyond the data stream";
            return false;
        }
        if (index.DecodedTotal() + block.decoded > kMostDecoded) {
            why = "its blocks decode to more than a stream position can name";
            return false;
        }
        streamEnd = std::uint64_t(block.offset) + block.stored;
        index.AddBlock(block);
    }
    return true;
}

}  // namespace vesk
