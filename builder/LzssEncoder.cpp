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
// first, 1 for a literal.
class LzssEncoder::TokenWriter {
public:
    explicit TokenWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Literal(std::uint8_t byte) {
        OpenGroup();
        out_[flagAt_] |= std::uint8_t(bit_);
        out_.push_back(byte);
        bit_ <<= 1;
    }

    // `length` bytes starting `distance` bytes before input position `position`, addressed by
    // their position in the decoder's ring (which starts writing at 4078).
    void Reference(std::size_t position, unsigned distance, unsigned length) {
        OpenGroup();
        unsigned ring = unsigned(kLzssFirstWritePos + position - distance) & kRingMask;
        out_.push_back(std::uint8_t(ring));
        out_.push_back(std::uint8_t((ring >> 4 & 0xF0) | (length - kLzssMinMatch)));
        bit_ <<= 1;
    }

private:
    void OpenGroup() {
        if (bit_ != 0x100) return;
        flagAt_ = out_.size();
        out_.push_back(0);
        bit_ = 1;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t flagAt_ = 0;
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
    out.reserve(out.size() + size + size / 8 + 1);  // the most a stream can take: all literals
    TokenWriter writer(out);
    finder_.Start(data, size);
    if (parse == LzssParse::Greedy) {
        EncodeGreedy(writer);
    } else {
        EncodeOptimal(writer);
    }
    data_ = nullptr;
}

void LzssEncoder::EncodeGreedy(TokenWriter& writer) {
    while (finder_.Position() < size_) {
        std::size_t position = finder_.Position();
        unsigned distance = 0;
        unsigned length = finder_.Next(distance);
        if (length == 0) {
            writer.Literal(data_[position]);
            continue;
        }
        writer.Reference(position, distance, length);
        for (unsigned k = 1; k < length; ++k) finder_.Next(distance);  // the covered positions
    }
}

// Forward search: nodes_[k].bits is the cheapest known cost of the input up to position base_ + k.
// A position's cost is final once every earlier position has been expanded; its node then keeps
// the last token of one cheapest path to it (the shortest such token on ties, which makes the
// paths to neighbouring positions share their beginnings early).
void LzssEncoder::EncodeOptimal(TokenWriter& writer) {
    std::size_t needed = std::min(size_, 2 * blockSize_) + kReach + 1;
    if (nodes_.size() < needed) nodes_.resize(needed);
    base_ = 0;
    nodes_[0] = Node{0, 0, 0};
    for (std::size_t k = 1; k < kReach; ++k) nodes_[k].bits = kUnreached;

    std::size_t i = 0;
    while (i < size_) {
        std::size_t end = std::min(size_, i + blockSize_);
        for (; i < end; ++i) {
            Node* node = &nodes_[i - base_];
            node[kReach].bits = kUnreached;  // first reachable from here
            unsigned distance = 0;
            unsigned length = finder_.Next(distance);
            node->distance = std::uint16_t(distance);
            std::uint32_t bits = node->bits + kLiteralBits;
            if (bits <= node[1].bits) {
                node[1].bits = bits;
                node[1].step = 1;
            }
            bits = node->bits + kReferenceBits;
            for (unsigned l = kLzssMinMatch; l <= length; ++l) {
                if (bits <= node[l].bits) {
                    node[l].bits = bits;
                    node[l].step = std::uint8_t(l);
                }
            }
        }
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
            nodes_[0].bits = 0;
            for (std::size_t k = 1; k < kReach; ++k) nodes_[k].bits = kUnreached;
        }
    }
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
        for (std::size_t k = 0; k < count; ++k) {
            if (front[k] == newest) front[k] -= nodes_[newest - base_].step;
        }
    }
}

// Writes the best path from base_ to `to`, then makes `to` the new base, keeping the search
// state of the positions after it.
void LzssEncoder::Emit(TokenWriter& writer, std::size_t to) {
    path_.clear();
    for (std::size_t p = to; p > base_; p -= nodes_[p - base_].step) {
        path_.push_back(nodes_[p - base_].step);
    }
    std::size_t position = base_;
    for (auto step = path_.rbegin(); step != path_.rend(); ++step) {
        if (*step == 1) {
            writer.Literal(data_[position]);
        } else {
            writer.Reference(position, nodes_[position - base_].distance, *step);
        }
        position += *step;
    }
    if (to == size_) return;
    // Keep the nodes from `to` through the last one a token has reached.
    std::size_t keepEnd = std::min(finder_.Position() + kReach, size_ + 1) - base_;
    std::size_t from = to - base_;
    std::copy(nodes_.begin() + from, nodes_.begin() + keepEnd, nodes_.begin());
    std::uint32_t offset = nodes_[0].bits;
    for (std::size_t k = 0; k < keepEnd - from; ++k) {
        if (nodes_[k].bits != kUnreached) nodes_[k].bits -= offset;
    }
    base_ = to;
}

void LzssEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                LzssParse parse) {
    thread_local LzssEncoder encoder;
    encoder.Encode(data, size, out, parse);
}

}  // namespace vesk
