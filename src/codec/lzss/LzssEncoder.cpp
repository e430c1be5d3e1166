// LZSS encoding: optimal parsing by a blockwise shortest-path search, and a greedy reference.
#include "codec/lzss/LzssEncoder.h"

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

void LzssEncoder::OpenGroup() {
    if (bit_ != 0x100) return;
    flag_ = at_++;
    (*out_)[flag_] = 0;
    bit_ = 1;
}

void LzssEncoder::Literal(std::uint8_t byte) {
    OpenGroup();
    (*out_)[flag_] |= std::uint8_t(bit_);
    (*out_)[at_++] = byte;
    bit_ <<= 1;
}

// `length` bytes starting `distance` bytes before input position `position`, addressed by their
// position in the decoder's ring (which starts writing at 4078).
void LzssEncoder::Reference(std::size_t position, unsigned distance, unsigned length) {
    OpenGroup();
    unsigned ring = unsigned(kLzssFirstWritePos + position - distance) & kRingMask;
    (*out_)[at_++] = std::uint8_t(ring);
    (*out_)[at_++] = std::uint8_t((ring >> 4 & 0xF0) | (length - kLzssMinMatch));
    bit_ <<= 1;
}

// Room for the tokens of `positions` input bytes: at most one literal each, a flag byte per eight.
void LzssEncoder::Reserve(std::size_t positions) {
    std::size_t needed = at_ + positions + positions / 8 + 2;
    if (out_->size() < needed) out_->resize(std::max(needed, out_->size() + out_->size() / 2));
}

void LzssEncoder::SetBlockSize(std::size_t positions) {
    blockSize_ = std::max<std::size_t>(positions, 1);
}

void LzssEncoder::Prepare(LzssParse parse) {
    parse_ = parse;
    std::size_t needed = (atEnd_ ? std::min(size_, 2 * blockSize_) : 2 * blockSize_) + kReach + 1;
    if (bits_.size() < needed) {
        bits_.resize(needed);
        longest_.resize(needed);
        distance_.resize(needed);
    }
    started_ = done_ = false;
    bit_ = 0x100;
    greedyNext_ = base_ = 0;
    ResetSearch();
}

// A fresh search from base_: the path to it costs nothing, no later position is reached yet.
void LzssEncoder::ResetSearch() {
    bits_[0] = 0;
    std::fill(bits_.begin() + 1, bits_.begin() + kReach, kUnreached);
}

void LzssEncoder::Encode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                         LzssParse parse) {
    if (size == 0) return;
    window_ = data;
    windowStart_ = 0;
    size_ = size;
    atEnd_ = true;
    Prepare(parse);
    out_ = &out;
    at_ = out.size();
    while (!done_) Step();
    out.resize(at_);
    out_ = nullptr;
    window_ = nullptr;
}

void LzssEncoder::Begin(ByteSink& sink, LzssParse parse) {
    sink_ = &sink;
    sinkFailed_ = false;
    bytesIn_ = bytesOut_ = 0;
    windowStart_ = size_ = 0;
    atEnd_ = false;
    Prepare(parse);
    input_.clear();
    // The sliding input: what the search still reads, a block and the lookahead past it.
    input_.reserve(2 * std::max(blockSize_, LzssMatchFinder::kStartData) + kLzssWindowSize +
                   2 * LzssMatchFinder::kLookahead);
    pending_.clear();
    out_ = &pending_;
    at_ = 0;
}

bool LzssEncoder::ReadyForStep() const {
    if (done_) return false;
    if (atEnd_) return true;
    std::size_t from = started_ ? finder_.Position() : 0;
    return size_ >= LzssMatchFinder::kStartData &&
           size_ - from >= blockSize_ + LzssMatchFinder::kLookahead;
}

// Forgets the input bytes before the oldest one the search or the writer may still read.
void LzssEncoder::DropConsumedInput() {
    if (!started_) return;
    std::size_t keep = parse_ == LzssParse::Greedy ? greedyNext_ : base_;
    std::size_t position = finder_.Position();
    keep = std::min(keep, position > kLzssWindowSize ? position - kLzssWindowSize : 0);
    if (keep <= windowStart_) return;
    input_.erase(input_.begin(), input_.begin() + std::ptrdiff_t(keep - windowStart_));
    windowStart_ = keep;
}

bool LzssEncoder::Feed(const std::uint8_t* data, std::size_t size) {
    bytesIn_ += size;
    while (size > 0 && !sinkFailed_) {
        DropConsumedInput();
        std::size_t take = std::min(size, input_.capacity() - input_.size());
        input_.insert(input_.end(), data, data + take);
        data += take;
        size -= take;
        window_ = input_.data();
        size_ = windowStart_ + input_.size();
        while (ReadyForStep()) Step();
        Flush(false);
    }
    return !sinkFailed_;
}

bool LzssEncoder::Finish() {
    atEnd_ = true;
    window_ = input_.data();
    if (size_ > 0) {
        while (!done_) Step();
    }
    Flush(true);
    sink_ = nullptr;
    out_ = nullptr;
    return !sinkFailed_;
}

// Hands the finished groups to the sink; the group still open stays until its tokens are known.
bool LzssEncoder::Flush(bool everything) {
    std::size_t upto = everything || bit_ == 0x100 ? at_ : flag_;
    if (upto == 0 || sinkFailed_) return !sinkFailed_;
    if (!sink_->Write(pending_.data(), upto)) sinkFailed_ = true;
    bytesOut_ += upto;
    std::copy(pending_.begin() + std::ptrdiff_t(upto), pending_.begin() + std::ptrdiff_t(at_),
              pending_.begin());
    at_ -= upto;
    flag_ -= std::min(flag_, upto);
    return !sinkFailed_;
}

void LzssEncoder::Step() {
    if (!started_) {
        finder_.Start(At(0), size_);
        started_ = true;
    }
    if (parse_ == LzssParse::Greedy) {
        GreedyStep();
    } else {
        OptimalStep();
    }
}

void LzssEncoder::GreedyStep() {
    std::size_t start = finder_.Position();
    std::size_t count = std::min(blockSize_, size_ - start);
    finder_.FindAt(At(start), count, size_ - start, longest_.data(), distance_.data());
    Reserve(count + kReach);
    // A reference may reach into the next block; greedyNext_ then starts there.
    while (greedyNext_ < start + count) {
        std::size_t k = greedyNext_ - start;
        if (longest_[k] == 0) {
            Literal(*At(greedyNext_++));
        } else {
            Reference(greedyNext_, distance_[k], longest_[k]);
            greedyNext_ += longest_[k];
        }
    }
    done_ = atEnd_ && finder_.Position() == size_;
}

// Forward search: bits_[k] is the cheapest known cost of the input up to position base_ + k. A
// position's cost is final once every earlier position has been expanded. Only costs are kept
// during the search; the tokens of a cheapest path are found again when it is written (StepLength).
//
// Every reference costs the same, so an offer from a later position can only improve the
// positions past those an earlier, no dearer offer reached: `cover` tracks the furthest such
// reach, and most positions inside a long match expand one or two positions instead of sixteen.
void LzssEncoder::OptimalStep() {
    std::size_t i = finder_.Position();
    std::size_t end = std::min(size_, i + blockSize_);
    finder_.FindAt(At(i), end - i, size_ - i, &longest_[i - base_], &distance_[i - base_]);
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
    if (atEnd_ && end == size_) {
        Emit(size_);
        done_ = true;
        return;
    }
    // Every path past `end` goes through one of the last kReach positions up to `end`; the
    // best paths to those share their tokens up to their meeting point. When they do not
    // meet within a block (rare, as in long ties), write the best path to `end` and start
    // afresh from there, at the price of at most the token that would have crossed it.
    std::size_t meet = MeetingPoint(end);
    bool forced = end - meet > blockSize_;
    Emit(forced ? end : meet);
    if (forced) ResetSearch();
}

// The length of the last token of a cheapest path to position base_ + k (k > 0, cost final): a
// literal when one does, else the shortest reference that does. Preferring the latest start
// makes the paths to neighbouring positions share their beginnings early.
unsigned LzssEncoder::StepLength(std::size_t k) const {
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
        std::size_t previous = newest - StepLength(newest - base_);
        for (std::size_t k = 0; k < count; ++k) {
            if (front[k] == newest) front[k] = previous;
        }
    }
}

// Writes a cheapest path from base_ to `to`, then makes `to` the new base, keeping the search
// state of the positions after it.
void LzssEncoder::Emit(std::size_t to) {
    path_.clear();
    for (std::size_t k = to - base_; k > 0;) {
        unsigned step = StepLength(k);
        path_.push_back(std::uint8_t(step));
        k -= step;
    }
    std::size_t position = base_;
    Reserve(to - base_);
    for (auto step = path_.rbegin(); step != path_.rend(); ++step) {
        if (*step == 1) {
            Literal(*At(position));
        } else {
            Reference(position, distance_[position - base_], *step);
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
