// LZSS decoding with a fast path for whole groups and a byte-at-a-time path for the edges.
#include "codec/lzss/LzssDecoder.h"

#include <cstring>

namespace vesk {
namespace {

constexpr unsigned kRingMask = kLzssWindowSize - 1;
constexpr unsigned kGroupMarker = 0x100;  // set while flag bits of the current group remain
constexpr std::size_t kWholeGroupInput = 1 + 8 * 2;

}  // namespace

LzssDecoder::LzssDecoder() {
    Reset();
}

void LzssDecoder::Reset() {
    // The history in front of the first output byte plays the fresh window: the ring positions
    // 4078..4095 come first (distance 4096..4079 from r = 4078), then 0..4077 (spaces).
    constexpr std::size_t kUnwritten = kLzssWindowSize - kLzssFirstWritePos;
    std::memset(buffer_, 0, kUnwritten);
    std::memset(buffer_ + kUnwritten, kLzssFillByte, kHistory - kUnwritten);
    pos_ = kHistory;
    ring_ = kLzssFirstWritePos;
    flags_ = 0;
    pendingByte_ = -1;
    produced_ = 0;
}

inline void LzssDecoder::CopyReference(unsigned b1, unsigned b2) {
    unsigned windowPos = b1 | (b2 & 0xF0) << 4;
    unsigned length = (b2 & 0x0F) + kLzssMinMatch;
    unsigned distance = (ring_ - windowPos) & kRingMask;
    if (distance == 0) distance = kLzssWindowSize;  // the oldest byte, about to be overwritten
    std::uint8_t* out = buffer_ + pos_;
    const std::uint8_t* from = out - distance;
    if (distance >= unsigned(kLzssMaxMatch)) {
        std::memcpy(out, from, kLzssMaxMatch);  // the slack behind pos_ takes the extra bytes
    } else {
        for (unsigned k = 0; k < length; ++k) out[k] = from[k];
    }
    pos_ += length;
    ring_ = (ring_ + length) & kRingMask;
    produced_ += length;
}

bool LzssDecoder::FlushIfFull(ByteSink& sink) {
    if (pos_ < kHistory + kFlushSize) return true;
    bool ok = sink.Write(buffer_ + kHistory, pos_ - kHistory);
    std::memmove(buffer_, buffer_ + pos_ - kHistory, kHistory);
    pos_ = kHistory;
    return ok;
}

bool LzssDecoder::Feed(const std::uint8_t* data, std::size_t size, ByteSink& sink) {
    const std::uint8_t* in = data;
    const std::uint8_t* const end = data + size;
    while (in < end) {
        if (!(flags_ & kGroupMarker) && pendingByte_ < 0 &&
            std::size_t(end - in) >= kWholeGroupInput) {
            // A whole group is at hand: no bounds checks inside.
            unsigned flags = *in++;
            for (int token = 0; token < 8; ++token, flags >>= 1) {
                if (flags & 1) {
                    buffer_[pos_++] = *in++;
                    ring_ = (ring_ + 1) & kRingMask;
                    ++produced_;
                } else {
                    CopyReference(in[0], in[1]);
                    in += 2;
                }
            }
            if (!FlushIfFull(sink)) return false;
            continue;
        }
        // One step at a time near the end of the input.
        if (!(flags_ & kGroupMarker)) {
            flags_ = *in++ | 0xFF00u;
            continue;
        }
        if (flags_ & 1) {
            buffer_[pos_++] = *in++;
            ring_ = (ring_ + 1) & kRingMask;
            ++produced_;
        } else if (pendingByte_ < 0) {
            pendingByte_ = *in++;
            continue;  // the token is not complete yet
        } else {
            CopyReference(unsigned(pendingByte_), *in++);
            pendingByte_ = -1;
        }
        flags_ >>= 1;
        if (!FlushIfFull(sink)) return false;
    }
    return true;
}

bool LzssDecoder::Finish(ByteSink& sink) {
    pendingByte_ = -1;
    bool ok = pos_ == kHistory || sink.Write(buffer_ + kHistory, pos_ - kHistory);
    std::memmove(buffer_, buffer_ + pos_ - kHistory, kHistory);
    pos_ = kHistory;
    return ok;
}

}  // namespace vesk
