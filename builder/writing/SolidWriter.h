// Solid blocks of a set whose bodies are LZMA-SOLID: the files of a block read one after the
// other into one LZMA body, blocks encoded on several threads at once, appended in order.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "builder/writing/BodyWriter.h"
#include "builder/writing/ContainerWriter.h"
#include "container/SolidBlocks.h"

namespace vesk {

// A block's files, in the order their bytes follow each other.
struct SolidMember {
    std::string target;  // named in messages
    BodySource source;
};
using SolidBlockFiles = std::vector<SolidMember>;

// The bytes of a block before it is closed (the builder cuts a product into at least as many
// blocks as it has threads, down to kSmallestSolidBlock), and the largest dictionary a block
// gets. A block's
// dictionary is the smallest 2^n or 3 * 2^n holding its bytes, up to kSolidDictionary: the
// engine allocates that much, once per block size.
constexpr std::uint64_t kSolidBlockSize = 48u << 20;
// A product with less to compress than this per thread is cut into fewer blocks.
constexpr std::uint64_t kSmallestSolidBlock = 8u << 20;
constexpr std::uint32_t kSolidDictionary = 32u << 20;

class SolidWriter {
public:
    // `threads` blocks are encoded at once (each with its own encoder and body in memory).
    SolidWriter(ContainerWriter& container, std::int64_t streamLimit, const std::atomic<bool>* stop,
                unsigned threads);

    // Encodes `blocks` and appends them to the container in their order; `positions` gets, per
    // block, each file's first byte among all blocks' decoded bytes. False with LastError.
    bool Write(const std::vector<SolidBlockFiles>& blocks,
               std::vector<std::vector<std::uint32_t>>& positions);

    const BlockIndex& Index() const { return index_; }
    // The largest dictionary a block named, and the most memory the encoders took at once.
    std::uint32_t LargestDictionary() const { return largestDictionary_; }
    bool Stopped() const { return stopped_; }
    const std::string& LastError() const { return error_; }

    // The dictionary of a block of `bytes` bytes.
    static std::uint32_t DictionaryFor(std::uint64_t bytes);

private:
    struct Encoded;
    bool Append(const SolidBlockFiles& files, Encoded& encoded,
                std::vector<std::uint32_t>& positions);

    ContainerWriter& container_;
    std::int64_t limit_;
    const std::atomic<bool>* stop_;
    unsigned threads_;
    BlockIndex index_;
    std::uint32_t largestDictionary_ = 0;
    bool stopped_ = false;
    std::string error_;
};

}  // namespace vesk
