// Binary-tree match finder over the 4096-byte LZSS window.
#include "LzssMatchFinder.h"

#include <algorithm>
#include <cstring>

namespace vesk {
namespace {

constexpr std::uint32_t kEmpty = 0;  // always further back than the window
// Before the position counter gets near the top of its range, it is moved down (Rebase).
constexpr std::uint32_t kRebaseAt = 0xF0000000u;
// The newest string of the initial spaces that has 18 spaces; older ones are the same string.
constexpr std::size_t kFirstSpaceString = kLzssFirstWritePos - kLzssMaxMatch;

inline std::uint32_t Hash3(const std::uint8_t* p) {
    std::uint32_t v = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    return (v * 0x9E3779B1u) >> (32 - 15);
}

}  // namespace

LzssMatchFinder::LzssMatchFinder()
    : head_(std::size_t(1) << kHashBits, kEmpty),
      tree_(2 * std::size_t(kSlots), kEmpty),
      startBuffer_(kSpaces + kStartData, kLzssFillByte) {
    static_assert(kHashBits == 15, "Hash3 yields 15 bits");
    static_assert((kSlots & (kSlots - 1)) == 0 && kSlots > kMaxDistance,
                  "slots outlive the window");
}

void LzssMatchFinder::Start(const std::uint8_t* data, std::size_t size) {
    data_ = data;
    size_ = size;
    next_ = 0;
    if (pos_ >= kRebaseAt) Rebase();
    pos_ += kSlots;  // every entry of an earlier stream is now out of reach
    std::size_t head = std::min(size, kStartData);
    if (head > 0) std::memcpy(startBuffer_.data() + kSpaces, data, head);
    // The strings that start in the initial spaces; those before kFirstSpaceString equal it.
    unsigned ignored = 0;
    for (std::size_t p = kFirstSpaceString; p < kSpaces; ++p) {
        std::size_t limit = std::min<std::size_t>(kLzssMaxMatch, kSpaces + size - p);
        Insert(startBuffer_.data() + p, unsigned(limit), ignored);
    }
}

unsigned LzssMatchFinder::Next(unsigned& distance) {
    std::size_t i = next_++;
    const std::uint8_t* cur = i < kStartPositions ? startBuffer_.data() + kSpaces + i : data_ + i;
    std::size_t limit = std::min<std::size_t>(kLzssMaxMatch, size_ - i);
    if (pos_ >= kRebaseAt) Rebase();
    return Insert(cur, unsigned(limit), distance);
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

// Finds the longest match of `cur` (at most `limit` bytes) and makes it the root of its tree.
unsigned LzssMatchFinder::Insert(const std::uint8_t* cur, unsigned limit, unsigned& distance) {
    const std::uint32_t pos = pos_++;
    // Too near the end to start a reference; no later position can match it either.
    if (limit < unsigned(kLzssMinMatch)) return 0;
    std::uint32_t& root = head_[Hash3(cur)];
    std::uint32_t candidate = root;
    root = pos;
    std::uint32_t* smaller = &tree_[2 * (pos & (kSlots - 1))];  // where the next smaller node goes
    std::uint32_t* larger = smaller + 1;
    unsigned smallerLength = 0, largerLength = 0;  // bytes shared with the bounds so far
    unsigned best = 0;
    for (;;) {
        std::uint32_t delta = pos - candidate;
        if (delta > kMaxDistance) {
            *smaller = *larger = kEmpty;  // the rest of the tree is older still
            break;
        }
        std::uint32_t* pair = &tree_[2 * (candidate & (kSlots - 1))];
        const std::uint8_t* match = cur - delta;
        unsigned length = std::min(smallerLength, largerLength);
        if (match[length] == cur[length]) {
            while (++length < limit && match[length] == cur[length]) {
            }
            if (length > best) {
                best = length;
                distance = delta;
            }
            if (length == limit) {
                // The same string: the new node replaces the old one, taking its subtrees.
                *smaller = pair[0];
                *larger = pair[1];
                break;
            }
        }
        if (match[length] < cur[length]) {
            *smaller = candidate;
            smaller = pair + 1;
            candidate = *smaller;
            smallerLength = length;
        } else {
            *larger = candidate;
            larger = pair;
            candidate = *larger;
            largerLength = length;
        }
    }
    return best >= unsigned(kLzssMinMatch) ? best : 0;
}

}  // namespace vesk
