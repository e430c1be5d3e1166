// Encoder for the LZSS stream format of LzssFormat.h (host side only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/ByteSink.h"
#include "codec/lzss/LzssMatchFinder.h"

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
// at most a few megabytes, whatever the input's size. The input may come whole (Encode) or in
// pieces (Begin, Feed, Finish); both give the same bytes, and in pieces the encoder holds only a
// sliding part of the input and of the output, so memory stays flat in the input's size.
class LzssEncoder {
public:
    LzssEncoder() = default;
    LzssEncoder(const LzssEncoder&) = delete;
    LzssEncoder& operator=(const LzssEncoder&) = delete;

    // Appends the stream of `data` to `out`.
    void Encode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                LzssParse parse = LzssParse::Optimal);

    // Starts a stream whose bytes go to `sink` (which must outlive Finish) as they become final,
    // in whole groups of a flag byte and its tokens.
    void Begin(ByteSink& sink, LzssParse parse = LzssParse::Optimal);
    // Encodes `size` more input bytes; false once the sink has refused bytes.
    bool Feed(const std::uint8_t* data, std::size_t size);
    // Ends the input and writes the rest of the stream; false when the sink refused bytes.
    bool Finish();
    // Input bytes fed and stream bytes handed to the sink since Begin.
    std::uint64_t BytesIn() const { return bytesIn_; }
    std::uint64_t BytesOut() const { return bytesOut_; }

    // Positions searched before the tokens found so far are written out (default 256 Ki). Tests
    // use tiny blocks to exercise the hand-over; those also cost size where the best paths do not
    // meet within a block.
    void SetBlockSize(std::size_t positions);

private:
    void Prepare(LzssParse parse);
    void Step();
    void GreedyStep();
    void OptimalStep();
    void ResetSearch();
    unsigned StepLength(std::size_t k) const;
    std::size_t MeetingPoint(std::size_t end) const;
    void Emit(std::size_t to);
    const std::uint8_t* At(std::size_t position) const {
        return window_ + (position - windowStart_);
    }
    bool ReadyForStep() const;
    void DropConsumedInput();
    bool Flush(bool everything);

    // The token writer: groups of a flag byte and up to eight tokens, flag bits least significant
    // first, 1 for a literal, appended to *out_ from index at_.
    void Reserve(std::size_t positions);
    void Literal(std::uint8_t byte);
    void Reference(std::size_t position, unsigned distance, unsigned length);
    void OpenGroup();

    LzssMatchFinder finder_;
    LzssParse parse_ = LzssParse::Optimal;
    std::size_t blockSize_ = std::size_t(1) << 18;
    // The input: the bytes of positions windowStart_ ... size_ - 1 lie at window_; atEnd_ when
    // size_ is the input's end.
    const std::uint8_t* window_ = nullptr;
    std::size_t windowStart_ = 0;
    std::size_t size_ = 0;
    bool atEnd_ = false;
    bool started_ = false;  // the finder has begun
    bool done_ = false;     // every position is written
    // The search state of the positions from base_ on; index k belongs to position base_ + k.
    std::vector<std::uint32_t> bits_;      // cost of the cheapest known path from base_ to here
    std::vector<std::uint8_t> longest_;    // longest match starting here (0: none)
    std::vector<std::uint16_t> distance_;  // and its distance
    std::size_t base_ = 0;
    std::size_t greedyNext_ = 0;      // the next position the greedy parse writes
    std::vector<std::uint8_t> path_;  // token lengths of the part being written, last first
    // Output.
    std::vector<std::uint8_t>* out_ = nullptr;
    std::size_t at_ = 0;
    std::size_t flag_ = 0;
    unsigned bit_ = 0x100;  // flag bit of the next token; 0x100: a new group starts
    // Streaming: the sliding input, the output not yet handed on, and the sink.
    std::vector<std::uint8_t> input_;
    std::vector<std::uint8_t> pending_;
    ByteSink* sink_ = nullptr;
    bool sinkFailed_ = false;
    std::uint64_t bytesIn_ = 0, bytesOut_ = 0;
};

// Appends the stream of `data` to `out`, with an encoder kept per thread.
void LzssEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                LzssParse parse = LzssParse::Optimal);

}  // namespace vesk
