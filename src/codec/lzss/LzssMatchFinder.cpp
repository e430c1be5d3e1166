// Binary-tree match finder over the 4096-byte LZSS window.
#include "codec/lzss/LzssMatchFinder.h"

#include <algorithm>
#include <cstring>

namespace vesk {
namespace {

constexpr std::uint32_t kEmpty = 0;  // always further back than the window
// Positions found between two looks at the counter's range.
constexpr std::size_t kBatch = std::size_t(1) << 20;

// The newest string of the initial spaces that has 18 spaces; older ones are the same string.
constexpr std::size_t kFirstSpaceString = kLzssFirstWritePos - kLzssMaxMatch;

// Bytes that InsertRange may read past a position when it compares eight at a time.
constexpr std::size_t kWordReach = 32;

// How many of the bytes from `from` on are equal in `a` and `b`, up to `limit`. Compares eight
// bytes at a time, so it may read up to eight bytes past `limit`.
inline unsigned CommonLength(const std::uint8_t* a, const std::uint8_t* b, unsigned from,
                             unsigned limit) {
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (unsigned length = from; length < limit; length += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y) return std::min(limit, length + unsigned(__builtin_ctzll(x ^ y)) / 8);
    }
    return limit;
#else
    while (from < limit && a[from] == b[from]) ++from;
    return from;
#endif
}

inline unsigned CommonLengthNearEnd(const std::uint8_t* a, const std::uint8_t* b, unsigned from,
                                    unsigned limit) {
    while (from < limit && a[from] == b[from]) ++from;
    return from;
}

// The first three bytes, mixed so that the top bits depend on all of them.
inline std::uint32_t Mix3(const std::uint8_t* p) {
    std::uint32_t v = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    return v * 0x9E3779B1u;
}

}  // namespace

LzssMatchFinder::LzssMatchFinder(std::uint32_t firstPosition)
    : head_(std::size_t(1) << kHashBits, kEmpty),
      tree_(2 * std::size_t(kSlots), kEmpty),
      pos_(firstPosition),
      startBuffer_(kSpaces + kStartData + kWordReach, kLzssFillByte) {
    static_assert((kSlots & (kSlots - 1)) == 0 && kSlots > kMaxDistance,
                  "slots outlive the window");
    static_assert(std::uint64_t(kRebaseAt) + kBatch + kSlots + kSpaces < std::uint64_t(1) << 32,
                  "a stream start or a batch begun below kRebaseAt cannot wrap the counter");
}

void LzssMatchFinder::Start(const std::uint8_t* data, std::size_t available) {
    data_ = data;
    size_ = available;
    next_ = 0;
    if (pos_ >= kRebaseAt) Rebase();
    pos_ += kSlots;  // every entry of an earlier stream is now out of reach
    std::size_t head = std::min(available, kStartData);
    if (head > 0) std::memcpy(startBuffer_.data() + kSpaces, data, head);
    // The strings that start in the initial spaces; those before kFirstSpaceString equal it.
    InsertRange<true>(startBuffer_.data() + kFirstSpaceString, kSpaces - kFirstSpaceString,
                      kSpaces - kFirstSpaceString + available, nullptr, nullptr);
}

void LzssMatchFinder::Rebase() {
    // Keeps the slot of every position (the shift is a multiple of kSlots) and every distance
    // inside the window; entries that fall below the shift become empty.
    std::uint32_t shift = (pos_ - 2 * kSlots) & ~(kSlots - 1);
    auto lower = [shift](std::uint32_t& e) { e = e > shift ? e - shift : kEmpty; };
    std::for_each(head_.begin(), head_.end(), lower);
    std::for_each(tree_.begin(), tree_.end(), lower);
    pos_ -= shift;
}

// For `count` consecutive positions from `cur`, of which `remaining` bytes are left in the data
// (the limit of their matches): finds each one's longest match, stores its length (0 when below
// 3) and distance when `lengths` is given, and makes it the root of its tree.
// kWide: kWordReach bytes from every position on may be read.
template <bool kWide>
void LzssMatchFinder::InsertRange(const std::uint8_t* cur, std::size_t count, std::size_t remaining,
                                  std::uint8_t* lengths, std::uint16_t* distances) {
    std::uint32_t* const tree = tree_.data();
    std::uint32_t* const head = head_.data();
    for (std::size_t k = 0; k < count; ++k, ++cur, --remaining) {
        const std::uint32_t pos = pos_++;
        unsigned limit = unsigned(std::min<std::size_t>(kLzssMaxMatch, remaining));
        unsigned best = 0, bestDistance = 0;
        // Too near the end to start a reference: no later position can match it either.
        if (limit >= unsigned(kLzssMinMatch)) {
            std::uint32_t& root = head[Mix3(cur) >> (32 - kHashBits)];
            std::uint32_t candidate = root;
            root = pos;
            std::uint32_t* smaller = &tree[2 * (pos & (kSlots - 1))];  // next smaller node's link
            std::uint32_t* larger = smaller + 1;
            unsigned smallerLength = 0, largerLength = 0;  // bytes shared with the bounds so far
            for (;;) {
                std::uint32_t delta = pos - candidate;
                if (delta > kMaxDistance) {
                    *smaller = *larger = kEmpty;  // the rest of the tree is older still
                    break;
                }
                std::uint32_t* pair = &tree[2 * (candidate & (kSlots - 1))];
                const std::uint8_t* match = cur - delta;
                // Every string between the two bounds shares the shorter bound's bytes.
                unsigned from = std::min(smallerLength, largerLength);
                unsigned length = kWide ? CommonLength(cur, match, from, limit)
                                        : CommonLengthNearEnd(cur, match, from, limit);
                if (length > best) {
                    best = length;
                    bestDistance = delta;
                }
                if (length == limit) {
                    // The same string: the new node replaces the old one, taking its subtrees.
                    *smaller = pair[0];
                    *larger = pair[1];
                    break;
                }
                bool below = match[length] < cur[length];
                *(below ? smaller : larger) = candidate;
                smaller = below ? pair + 1 : smaller;
                larger = below ? larger : pair;
                smallerLength = below ? length : smallerLength;
                largerLength = below ? largerLength : length;
                candidate = pair[below ? 1 : 0];
            }
        }
        if (lengths) {
            lengths[k] = std::uint8_t(best >= unsigned(kLzssMinMatch) ? best : 0);
            distances[k] = std::uint16_t(bestDistance);
        }
    }
}

void LzssMatchFinder::Find(std::size_t count, std::uint8_t* lengths, std::uint16_t* distances) {
    FindAt(data_ + next_, count, size_ - next_, lengths, distances);
}

void LzssMatchFinder::FindAt(const std::uint8_t* cur, std::size_t count, std::size_t available,
                             std::uint8_t* lengths, std::uint16_t* distances) {
    static_assert(kLookahead >= kLzssMaxMatch + kWordReach, "the lookahead covers the reads");
    count = std::min(count, available);
    const std::size_t first = next_;
    const std::size_t last = first + available;  // one past the last byte readable
    while (count > 0) {
        // Positions advance by at most kBatch between two looks at the counter's range.
        std::size_t batch = std::min<std::size_t>(count, kBatch);
        if (pos_ >= kRebaseAt) Rebase();
        std::size_t i = next_, end = next_ + batch;
        // Near the start the window still holds spaces: the start buffer has them in front.
        if (i < kStartPositions) {
            std::size_t n = std::min(end, kStartPositions) - i;
            InsertRange<true>(startBuffer_.data() + kSpaces + i, n, last - i, lengths, distances);
            i += n, lengths += n, distances += n;
        }
        // Far from the end, eight-byte compares may read past the match.
        std::size_t wideEnd = available >= kWordReach ? std::min(end, last - kWordReach + 1) : 0;
        if (i < wideEnd) {
            std::size_t n = wideEnd - i;
            InsertRange<true>(cur + (i - first), n, last - i, lengths, distances);
            i += n, lengths += n, distances += n;
        }
        InsertRange<false>(cur + (i - first), end - i, last - i, lengths, distances);
        lengths += end - i, distances += end - i;
        next_ = end;
        count -= batch;
    }
}

}  // namespace vesk
