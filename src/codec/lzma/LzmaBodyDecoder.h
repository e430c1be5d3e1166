// Decoder of one LZMA body of the layout in LzmaFormat.h, fed in pieces of any size, over
// the LZMA SDK's LzmaDec.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "codec/BodyDecoder.h"
#include "codec/ByteSink.h"
#include "codec/lzma/LzmaFormat.h"

namespace vesk {

// Memory: the SDK's state (a few KiB, probabilities bounded by kMaxLzmaLiteralBits) and one
// dictionary of the size a body's header names, at most kMaxLzmaDictionary. The dictionary is
// kept for the next body: the bodies of a set share their properties, so a set allocates once.
// Nothing else grows with a body: decoded bytes go to the sink straight from the dictionary.
class LzmaBodyDecoder final : public BodyDecoder {
public:
    LzmaBodyDecoder();
    ~LzmaBodyDecoder() override;
    LzmaBodyDecoder(const LzmaBodyDecoder&) = delete;
    LzmaBodyDecoder& operator=(const LzmaBodyDecoder&) = delete;

    // Starts a new body: its header comes first.
    void Reset() override;

    // Decodes `size` more body bytes; the decoded bytes go to `sink` as they come, in pieces of
    // at most the dictionary's size. False when the body is damaged (Damaged()), when the
    // dictionary cannot be allocated, or when the sink refused bytes (Problem() is then empty).
    // After a false every further call is false.
    bool Feed(const std::uint8_t* data, std::size_t size, ByteSink& sink) override;

    // As Feed, but hands over no more than up to OutputCount() `outputEnd` (a solid block's files
    // are taken one at a time): `used` says how many of the `size` bytes it took; the rest are to
    // come again with the next call. Bytes decoded past `outputEnd` wait in the dictionary for
    // the next call.
    bool FeedUpTo(const std::uint8_t* data, std::size_t size, std::size_t& used, ByteSink& sink,
                  std::uint64_t outputEnd);

    // Every byte of the body has been fed: false when it ended before its data did (damaged),
    // or an earlier Feed failed.
    bool Finish();

    bool Damaged() const override { return damaged_; }
    // What went wrong, in words ("its dictionary of ... bytes passes ..."); empty when nothing
    // did, or the sink refused bytes.
    const std::string& Problem() const override { return problem_; }
    // Whether bytes decoded past the last outputEnd wait to be handed over.
    bool Holding() const { return delivered_ < produced_; }
    // Bytes handed to the sinks.
    std::uint64_t OutputCount() const override { return delivered_; }
    // As a BodyDecoder: nothing is held back (Flush), and Complete is Finish.
    bool Flush(ByteSink&) override { return true; }
    bool Complete() override { return Finish(); }
    // The bytes of the dictionary held now; 0 before the first body's header.
    std::size_t DictionaryBytes() const;

private:
    struct State;

    bool Start();
    // Decodes until the input is used up or `outputEnd` bytes were produced; `size` is left
    // holding the bytes not taken.
    bool Decode(const std::uint8_t*& data, std::size_t& size, ByteSink& sink,
                std::uint64_t outputEnd);
    // Marks the body damaged, with the problem made of `why`'s parts; false.
    bool Damage(std::initializer_list<std::string_view> why);

    std::unique_ptr<State> state_;
    std::uint8_t header_[kLzmaHeaderSize];
    std::size_t headerFill_ = 0;
    std::uint64_t length_ = 0;     // of the file, from the header; kLzmaUnknownLength: end marker
    std::uint64_t produced_ = 0;   // decoded into the dictionary
    std::uint64_t delivered_ = 0;  // of them, handed to a sink
    bool finished_ = false;        // the data's end is reached
    bool failed_ = false;
    bool damaged_ = false;
    std::string problem_;
};

}  // namespace vesk
