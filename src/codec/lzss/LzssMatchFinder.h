// Exact longest-match search over the LZSS window, for the encoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/lzss/LzssFormat.h"

namespace vesk {

// Walks the input one position at a time and tells, for each, the longest earlier string (3 to
// 18 bytes) that a reference can copy: from the bytes already passed, at most 4096 back, or from
// the 4078 spaces a fresh window starts with. Never from the window's last 18 positions, which the
// engine does not reset between bodies.
//
// The search is exact. Strings of the window are kept in binary trees sorted by their first 18
// bytes, one tree per hash of the first three bytes; a new position becomes the root of its tree
// and the old tree is split around it on the way down (as LZMA's bt finders do). So every node is
// newer than the nodes below it, a node too old for the window ends the walk, and the longest
// match, which sorts next to the new string, lies on the walk's path.
//
// Tables are allocated once; a new stream only moves the position counter past the old entries.
class LzssMatchFinder {
public:
    // `firstPosition` starts the counter of window positions elsewhere than at 0, for tests of
    // the move the counter makes when it reaches kRebaseAt.
    explicit LzssMatchFinder(std::uint32_t firstPosition = 0);
    LzssMatchFinder(const LzssMatchFinder&) = delete;
    LzssMatchFinder& operator=(const LzssMatchFinder&) = delete;

    // Begins a stream with a fresh window. `data` holds the first `available` bytes of the input:
    // all of it, or at least kStartData bytes when more follow. For the whole-input Find, `data`
    // must stay valid while Find is called.
    void Start(const std::uint8_t* data, std::size_t available);

    // The longest matches for the next `count` input positions (fewer at the end of the data),
    // which then join the window: the length of each (0 when no match reaches 3 bytes) and how
    // far back it starts (1..4096). Every position must pass through here, in order, also those
    // a chosen reference covers. Reads the input given to Start as a whole.
    void Find(std::size_t count, std::uint8_t* lengths, std::uint16_t* distances);

    // The same for input held in pieces: `cur` is the byte at Position(), readable from
    // kMaxDistance bytes before it (or from the input's start) to `available` bytes on, which
    // are all the bytes left, or at least `count` + kLookahead. So a caller may keep only a
    // sliding part of the input in memory.
    void FindAt(const std::uint8_t* cur, std::size_t count, std::size_t available,
                std::uint8_t* lengths, std::uint16_t* distances);

    // The input position Find looks at next.
    std::size_t Position() const { return next_; }

    static constexpr unsigned kMaxDistance = kLzssWindowSize;
    // Bytes the search reads past a position: a whole match and the word compares beyond it.
    static constexpr std::size_t kLookahead = kLzssMaxMatch + 32;
    // Input bytes Start wants when more follow: the window's first positions and their matches.
    static constexpr std::size_t kStartData = kLzssWindowSize + kLzssMaxMatch;
    // Where the position counter is moved down, keeping the window, so that any amount of data
    // can pass through one finder.
    static constexpr std::uint32_t kRebaseAt = 0xEFF00000u;

private:
    static constexpr unsigned kHashBits = 15;
    static constexpr std::uint32_t kSlots = 2 * kLzssWindowSize;  // tree nodes kept, a power of 2
    // Positions kept in front of the data in startBuffer_: the initial spaces.
    static constexpr std::size_t kSpaces = kLzssFirstWritePos;
    // Data positions below this may match into the spaces; they read startBuffer_.
    static constexpr std::size_t kStartPositions = kLzssWindowSize;

    template <bool kWide>
    void InsertRange(const std::uint8_t* cur, std::size_t count, std::size_t remaining,
                     std::uint8_t* lengths, std::uint16_t* distances);
    void Rebase();

    std::vector<std::uint32_t> head_;  // newest position per hash; stale entries are too old
    std::vector<std::uint32_t> tree_;  // per slot: smaller and larger subtree
    std::uint32_t pos_ = 0;            // tree position of the next input byte
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t next_ = 0;
    // The spaces of the fresh window followed by the first bytes of the data, so that matches
    // from the window's start read one contiguous buffer.
    std::vector<std::uint8_t> startBuffer_;
};

}  // namespace vesk
