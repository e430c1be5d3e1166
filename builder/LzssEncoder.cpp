// LZSS encoding: optimal parsing by a blockwise shortest-path search, and a greedy reference.
#include "LzssEncoder.h"

#include <algorithm>
#include <limits>

namespace vesk {
namespace {

constexpr std::uint32_t kLiteralBits = 9;     // flag bit + byte
constexpr std::uint32_t kReferenceBits = 17;  // flag bit + two bytes
constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();
constexpr unsigned kRingMask = kLzssWindowSize - 1;
constexpr std::size_t kReach = kLzssMaxMatch;  // how far past a position its tokens reach

}  // namespace

// Packs tokens into groups of a flag byte and up to eight tokens, flag bits least significant
// first, 1 for a literal. Writes into room made beforehand for the longest possible stream.
class LzssEncoder::TokenWriter {
public:
    explicit TokenWriter(std::uint8_t* out) : start_(out), at_(out) {}

    void Literal(std::uint8_t byte) {
        OpenGroup();
        *flag_ |= std::uint8_t(bit_);
        *at_++ = byte;
        bit_ <<= 1;
    }

    // `length` bytes starting `distance` bytes before input position `position`, addressed by
    // their position in the decoder's ring (which starts writing at 4078).
    void Reference(std::size_t position, unsigned distance, unsigned length) {
        OpenGroup();
        unsigned ring = unsigned(kLzssFirstWritePos + position - distance) & kRingMask;
        *at_++ = std::uint8_t(ring);
        *at_++ = std::uint8_t((ring >> 4 & 0xF0) | (length - kLzssMinMatch));
        bit_ <<= 1;
    }

    std::size_t Written() const { return std::size_t(at_ - start_); }

private:
    void OpenGroup() {
        if (bit_ != 0x100) return;
        flag_ = at_++;
        *flag_ = 0;
        bit_ = 1;
    }

    std::uint8_t* const start_;
    std::uint8_t* at_;
    std::uint8_t* flag_ = nullptr;
    unsigned bit_ = 0x100;  // flag bit of the next token; 0x100: a new group starts
};

void LzssEncoder::SetBlockSize(std::size_t positions) {
    blockSize_ = std::max<std::size_t>(positions, 1);
}

void LzssEncoder::Encode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                         LzssParse parse) {
    if (size == 0) return;
    data_ = data;
    size_ = size;
    std::size_t needed = std::min(size_, 2 * blockSize_) + kReach + 1;
    if (bits_.size() < needed) {
        bits_.resize(needed);
        longest_.resize(needed);
        distance_.resize(needed);
    }
    std::size_t before = out.size();
    out.resize(before + size + (size + 7) / 8);  // the most a stream can take: all literals
    TokenWriter writer(out.data() + before);
    finder_.Start(data, size);
    if (parse == LzssParse::Greedy) {
        EncodeGreedy(writer);
    } else {
        EncodeOptimal(writer);
    }
    out.resize(before + writer.Written());
    data_ = nullptr;
}

void LzssEncoder::EncodeGreedy(TokenWriter& writer) {
    std::size_t position = 0;
    while (finder_.Position() < size_) {
        std::size_t start = finder_.Position();
        std::size_t count = std::min(blockSize_, size_ - start);
        finder_.Find(count, longest_.data(), distance_.data());
        // A reference may reach into the next block; `position` then starts there.
        while (position < start + count) {
            std::size_t k = position - start;
            if (longest_[k] == 0) {
                writer.Literal(data_[position++]);
            } else {
                writer.Reference(position, distance_[k], longest_[k]);
                position += longest_[k];
            }
        }
    }
}

// Forward search: bits_[k] is the cheapest known cost of the input up to position base_ + k. A
// position's cost is final once every earlier position has been expanded. Only costs are kept
// during the search; the tokens of a cheapest path are found again when it is written (Step).
//
// Every reference costs the same, so an offer from a later position can only improve the
// positions past those an earlier, no dearer offer reached: `cover` tracks the furthest such
// reach, and most positions inside a long match expand one or two positions instead of sixteen.
void LzssEncoder::EncodeOptimal(TokenWriter& writer) {
    base_ = 0;
    bits_[0] = 0;
    std::fill(bits_.begin() + 1, bits_.begin() + kReach, kUnreached);

    std::size_t i = 0;
    while (i < size_) {
        std::size_t end = std::min(size_, i + blockSize_);
        finder_.Find(end - i, &longest_[i - base_], &distance_[i - base_]);
        std::uint32_t* const bits = bits_.data();
        // Positions base_ + k for k up to coverEnd cost at most coverBits.
        std::uint32_t coverBits = kUnreached;
        std::size_t coverEnd = 0;
        for (std::size_t k = i - base_, last = end - base_; k < last; ++k) {
            bits[k + kReach] = kUnreached;  // first reachable from here
            bits[k + 1] = std::min(bits[k + 1], bits[k] + kLiteralBits);
            unsigned length = longest_[k];
            if (length == 0) continue;
            std::uint32_t reference = bits[k] + kReferenceBits;
            std::size_t first = k + kLzssMinMatch, reach = k + length;
            if (reference >= coverBits) {
                first = std::max(first, coverEnd + 1);
                if (reach > coverEnd) coverEnd = reach, coverBits = reference;
            } else {
                coverEnd = reach, coverBits = reference;
            }
            for (std::size_t j = first; j <= reach; ++j) bits[j] = std::min(bits[j], reference);
        }
        i = end;
        if (i == size_) {
            Emit(writer, size_);
            break;
        }
        // Every path past `end` goes through one of the last kReach positions up to `end`; the
        // best paths to those share their tokens up to their meeting point. When they do not
        // meet within a block (rare, as in long ties), write the best path to `end` and start
        // afresh from there, at the price of at most the token that would have crossed it.
        std::size_t meet = MeetingPoint(end);
        bool forced = end - meet > blockSize_;
        Emit(writer, forced ? end : meet);
        if (forced) {
            bits_[0] = 0;
            std::fill(bits_.begin() + 1, bits_.begin() + kReach, kUnreached);
        }
    }
}

// The length of the last token of a cheapest path to position base_ + k (k > 0, cost final): a
// literal when one does, else the shortest reference that does. Preferring the latest start
// makes the paths to neighbouring positions share their beginnings early.
unsigned LzssEncoder::Step(std::size_t k) const {
    if (bits_[k - 1] + kLiteralBits == bits_[k]) return 1;
    std::size_t longest = std::min<std::size_t>(kReach, k);
    for (std::size_t l = kLzssMinMatch; l <= longest; ++l) {
        if (longest_[k - l] >= l && bits_[k - l] + kReferenceBits == bits_[k]) return unsigned(l);
    }
    return 1;  // not reached: some token gave bits_[k] its value
}

std::size_t LzssEncoder::MeetingPoint(std::size_t end) const {
    std::size_t front[kReach];
    std::size_t count = 0;
    std::size_t first = std::max(base_, end + 1 >= kReach ? end + 1 - kReach : 0);
    for (std::size_t p = first; p <= end; ++p) front[count++] = p;
    for (;;) {
        std::size_t newest = *std::max_element(front, front + count);
        std::size_t oldest = *std::min_element(front, front + count);
        if (newest == oldest) return newest;
        std::size_t previous = newest - Step(newest - base_);
        for (std::size_t k = 0; k < count; ++k) {
            if (front[k] == newest) front[k] = previous;
        }
    }
}

// Writes a cheapest path from base_ to `to`, then makes `to` the new base, keeping the search
// state of the positions after it.
void LzssEncoder::Emit(TokenWriter& writer, std::size_t to) {
    path_.clear();
    for (std::size_t k = to - base_; k > 0;) {
        unsigned step = Step(k);
        path_.push_back(std::uint8_t(step));
        k -= step;
    }
    std::size_t position = base_;
    for (auto step = path_.rbegin(); step != path_.rend(); ++step) {
        if (*step == 1) {
            writer.Literal(data_[position]);
        } else {
            writer.Reference(position, distance_[position - base_], *step);
        }
        position += *step;
    }
    if (to == size_) return;
    // Keep the state from `to` through the last position a token has reached.
    std::size_t keepEnd = std::min(finder_.Position() + kReach, size_ + 1) - base_;
    std::size_t from = to - base_;
    std::uint32_t offset = bits_[from];
    for (std::size_t k = from; k < keepEnd; ++k) {
        bits_[k - from] = bits_[k] == kUnreached ? kUnreached : bits_[k] - offset;
    }
    std::copy(longest_.begin() + from, longest_.begin() + keepEnd, longest_.begin());
    std::copy(distance_.begin() + from, distance_.begin() + keepEnd, distance_.begin());
    base_ = to;
}

void LzssEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                LzssParse parse) {
    thread_local LzssEncoder encoder;
    encoder.Encode(data, size, out, parse);
}

}  // namespace vesk
