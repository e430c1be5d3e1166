// Encoder for the LZSS stream format of ContainerFormat.h (host side only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "LzssMatchFinder.h"

namespace vesk {

enum class LzssParse {
    Optimal,  // the smallest stream the format allows
    Greedy,   // the longest match at every step (the classic encoder's choice); for comparison
};

// Writes streams that decode with a fresh window (a new body). Optimal parsing: every literal
// costs 9 bits and every reference 17, whatever its length, so knowing the longest match at each
// position is enough for a shortest-path search over token boundaries. The search runs forward in
// blocks; at a block's end the tokens up to the point where the best paths to all the positions
// a later token could start from meet are final, so the blocks lose nothing as long as those
// paths meet within a block (they meet within a few hundred positions on real data).
//
// Keep one encoder for many streams: its tables and work arrays are allocated once and grow to
// at most a few megabytes, whatever the input's size.
class LzssEncoder {
public:
    LzssEncoder() = default;
    LzssEncoder(const LzssEncoder&) = delete;
    LzssEncoder& operator=(const LzssEncoder&) = delete;

    // Appends the stream of `data` to `out`.
    void Encode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                LzssParse parse = LzssParse::Optimal);

    // Positions searched before the tokens found so far are written out (default 256 Ki). Tests
    // use tiny blocks to exercise the hand-over; those also cost size where the best paths do not
    // meet within a block.
    void SetBlockSize(std::size_t positions);

private:
    class TokenWriter;

    void EncodeGreedy(TokenWriter& writer);
    void EncodeOptimal(TokenWriter& writer);
    unsigned Step(std::size_t k) const;
    std::size_t MeetingPoint(std::size_t end) const;
    void Emit(TokenWriter& writer, std::size_t to);

    LzssMatchFinder finder_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t blockSize_ = std::size_t(1) << 18;
    // The search state of the positions from base_ on; index k belongs to position base_ + k.
    std::vector<std::uint32_t> bits_;      // cost of the cheapest known path from base_ to here
    std::vector<std::uint8_t> longest_;    // longest match starting here (0: none)
    std::vector<std::uint16_t> distance_;  // and its distance
    std::size_t base_ = 0;
    std::vector<std::uint8_t> path_;  // token lengths of the part being written, last first
};

// Appends the stream of `data` to `out`, with an encoder kept per thread.
void LzssEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                LzssParse parse = LzssParse::Optimal);

}  // namespace vesk
