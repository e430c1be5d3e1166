// Decoder of the LZSS stream format described in LzssFormat.h, fed in pieces of any size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "codec/BodyDecoder.h"
#include "codec/ByteSink.h"
#include "codec/lzss/LzssFormat.h"

namespace vesk {

// The window is kept as the last 4096 output bytes of a linear buffer rather than as a ring, so a
// reference is a plain backwards copy; ring position p maps to the distance (r - p) mod 4096.
// Positions 4078..4095 of a fresh window hold 0 (well-formed streams write them before reading).
// All memory is inside the object: decoding allocates nothing.
class LzssDecoder final : public BodyDecoder {
public:
    LzssDecoder();
    LzssDecoder(const LzssDecoder&) = delete;
    LzssDecoder& operator=(const LzssDecoder&) = delete;

    // Starts a new body: fresh window, write position 4078, no pending group.
    void Reset() override;

    // Decodes `size` more stream bytes. Output goes to `sink` in blocks of up to kFlushSize
    // bytes; the tail end stays buffered until Finish. False when the sink refused bytes.
    bool Feed(const std::uint8_t* data, std::size_t size, ByteSink& sink) override;

    // Writes what is still buffered. A reference cut after its first byte is dropped.
    bool Finish(ByteSink& sink);

    // Bytes produced since Reset.
    std::uint64_t OutputCount() const override { return produced_; }

    // As a BodyDecoder: Flush is Finish. A stream has no length and no end marker, so wherever
    // its stored bytes end it is complete, and no stream is damaged.
    bool Flush(ByteSink& sink) override { return Finish(sink); }
    bool Complete() override { return true; }
    bool Damaged() const override { return false; }
    const std::string& Problem() const override { return noProblem_; }

    static constexpr std::size_t kFlushSize = 32768;

private:
    static constexpr std::size_t kHistory = kLzssWindowSize;
    static constexpr std::size_t kGroupMax = 8 * kLzssMaxMatch;  // most a group can produce
    static constexpr std::size_t kBufferSize = kHistory + kFlushSize + kGroupMax + kLzssMaxMatch;

    bool FlushIfFull(ByteSink& sink);
    void CopyReference(unsigned b1, unsigned b2);

    std::uint8_t buffer_[kBufferSize];
    std::size_t pos_ = kHistory;  // next output byte; everything before it is window history
    unsigned ring_ = kLzssFirstWritePos;  // the ring write position r
    unsigned flags_ = 0;                  // remaining flag bits with a marker bit 0x100 above them
    int pendingByte_ = -1;  // first byte of a reference whose second byte has not arrived
    std::uint64_t produced_ = 0;
    const std::string noProblem_;
};

}  // namespace vesk
