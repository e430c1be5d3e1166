// Fuzzes the block index of solid sets: any bytes are either refused with a reason or read as an
// index whose blocks lie in stream order without sharing a byte, whose decoded bytes fit a stream
// position, which writes back to the very same bytes, and whose lookup finds a file only in the
// block that holds all of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "container/SolidBlocks.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vesk;
    const std::size_t claimed = ClaimedBlockIndexSize(data, size);
    BlockIndex index;
    std::string why;
    if (!DecodeBlockIndex(data, size, index, why)) {
        Check(!why.empty());
        return 0;
    }
    Check(claimed == size);
    Check(EncodeBlockIndex(index) == std::vector<std::uint8_t>(data, data + size));
    std::uint64_t end = 0;
    for (std::size_t b = 0; b < index.blocks.size(); ++b) {
        const SolidBlock& block = index.blocks[b];
        Check(block.offset >= end && block.stored > 0 && block.decoded > 0);
        end = std::uint64_t(block.offset) + block.stored;
        // A file of the whole block, and one a byte longer.
        Check(index.BlockOf(index.starts[b], block.decoded) == long(b));
        const long next = index.BlockOf(index.starts[b], block.decoded + 1);
        Check(next == -1);
    }
    Check(index.DecodedTotal() <= 0x7FFFFFFFu);
    Check(index.BlockOf(std::uint32_t(index.DecodedTotal()), 1) == -1);
    return 0;
}
